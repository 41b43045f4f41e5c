#!/usr/bin/env bash
# make fuzz: builds the fuzz preset, then runs every libFuzzer harness in turn (never two at once)
# for FUZZ_SECONDS (default 60) each from its seeds, the corpus growing in
# build/fuzz/campaign/<target>/. Prints the executions per harness and in total; exits non-zero
# when any harness reports a finding.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "FUZZ_SECONDS must be a whole number of seconds above 0, not '$seconds'"; exit 2
fi
mkdir -p build
if ! cmake --preset fuzz >build/configure-fuzz.log 2>&1; then
  cat build/configure-fuzz.log; echo "fuzz: configure failed"; exit 1
fi
cmake --build --preset fuzz || { echo "fuzz: build failed"; exit 1; }

started=$SECONDS
total=0
harnesses=0
findings=0
for harness in build/fuzz/bin/*_fuzz; do
  target=$(basename "$harness" _fuzz)
  harnesses=$((harnesses + 1))
  if report=$(tests/fuzz/run-target.sh "$harness" "$seconds" "tests/fuzz/corpus/$target" \
              "build/fuzz/campaign/$target"); then
    echo "$report"
    total=$((total + $(sed -E 's/^[^:]*: ([0-9]+) executions.*/\1/' <<<"$report")))
  else
    echo "$report"
    findings=$((findings + 1))
  fi
done
echo "fuzz: $total executions in total over $harnesses harnesses in $((SECONDS - started)) s," \
     "$findings with a finding"
[ "$findings" -eq 0 ]
