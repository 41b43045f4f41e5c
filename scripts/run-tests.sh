#!/usr/bin/env bash
# Builds and runs every test: the host logic tests (with sanitizers), then the Windows build and
# its tests under Wine; while those run (they mostly wait for windows and the meter), a short run
# of each fuzz harness and the 32-bit program's build go on beside them at the lowest priority.
# Ends with one summary line; exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
tally=build/test-tally
: >"$tally"

# Adds one line to the tally: "<passed> <failed>".
count() { echo "$1 $2" >>"$tally"; }

configure_and_build() {
  local preset=$1
  if ! cmake --preset "$preset" >"build/configure-$preset.log" 2>&1; then
    cat "build/configure-$preset.log"; echo "$preset: configure failed"; return 1
  fi
  cmake --build --preset "$preset" || { echo "$preset: build failed"; return 1; }
}

run_ctest() {
  local preset=$1 log="build/ctest-$1.log" line
  ctest --preset "$preset" >"$log" 2>&1
  local status=$?
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then count 0 1; return 1; fi
  local fails total
  fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  count $((total - fails)) "$fails"
  [ "$status" -eq 0 ] && [ "$fails" -eq 0 ]
}

run_preset() {
  if configure_and_build "$1"; then run_ctest "$1"; else count 0 1; fi
}

# The shipped program is the 32-bit one: it must build, warnings and all, even where the tests run
# the 64-bit build.
build_program() {
  if cmake --preset windows >build/configure-windows.log 2>&1 &&
     cmake --build --preset windows --target torvex CH341DLL >build/build-windows.log 2>&1; then
    count 1 0
  else
    cat build/build-windows.log; echo "windows: the 32-bit program does not build"; count 0 1
  fi
}

# The fuzz runs and the 32-bit build, at the lowest priority so that they take only what the
# Windows tests leave. Their output goes to logs, shown at the end.
build_beside() {
  renice -n 19 "$BASHPID" >/dev/null
  run_preset fuzz >build/fuzz-beside.log 2>&1
  [ "$wine_preset" = windows ] || build_program >>build/fuzz-beside.log 2>&1
}

rm -f build/ctest-*.log
wine_preset=$(scripts/wine-preset.sh)
run_preset host
cat build/ctest-host.log
if configure_and_build "$wine_preset"; then
  build_beside &
  beside=$!
  run_ctest "$wine_preset"
  cat "build/ctest-$wine_preset.log"
  wait "$beside"
  if [ -f build/ctest-fuzz.log ]; then cat build/ctest-fuzz.log; fi
  grep -v '^\[' build/fuzz-beside.log | grep -iE 'error|failed|does not build' || true
else
  count 0 1
fi
read -r passed failed < <(awk '{p += $1; f += $2} END {print p + 0, f + 0}' "$tally")
echo "summary: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
