#!/usr/bin/env bash
# Builds and runs every test: the host logic tests (with sanitizers), a short run of each fuzz
# harness, then the Windows build and its tests under Wine. Ends with one summary line; exits
# non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."

passed=0
failed=0
status=0

run_preset() {
  local preset=$1 log="build/ctest-$1.log"
  mkdir -p build
  if ! cmake --preset "$preset" >"build/configure-$preset.log" 2>&1; then
    cat "build/configure-$preset.log"; echo "$preset: configure failed"; status=1; failed=$((failed + 1)); return
  fi
  if ! cmake --build --preset "$preset"; then
    echo "$preset: build failed"; status=1; failed=$((failed + 1)); return
  fi
  ctest --preset "$preset" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  local line total fails
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then status=1; failed=$((failed + 1)); return; fi
  fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - fails))
  failed=$((failed + fails))
}

# The shipped program is the 32-bit one: it must build, warnings and all, even where the tests run
# the 64-bit build.
build_program() {
  if cmake --preset windows >build/configure-windows.log 2>&1 &&
     cmake --build --preset windows --target torvex CH341DLL; then
    passed=$((passed + 1))
  else
    echo "windows: the 32-bit program does not build"; status=1; failed=$((failed + 1))
  fi
}

wine_preset=$(scripts/wine-preset.sh)
run_preset host
run_preset fuzz
run_preset "$wine_preset"
[ "$wine_preset" = windows ] || build_program
echo "summary: $passed passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
