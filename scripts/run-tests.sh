#!/usr/bin/env bash
# Builds and runs every test. The Windows build and its tests under Wine are the long path; beside
# them, at the lowest priority, go the host logic tests (with sanitizers), a short run of each fuzz
# harness and the 32-bit program's build: they take the CPU the Windows build leaves and most of it
# while the Windows tests run (those mostly wait for windows and the meter).
# Ends with one summary line; exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
tally=build/test-tally
: >"$tally"

# Adds one line to the tally: "<passed> <failed>".
count() { echo "$1 $2" >>"$tally"; }

configure() {
  cmake --preset "$1" >"build/configure-$1.log" 2>&1 && return 0
  cat "build/configure-$1.log"; echo "$1: configure failed"; return 1
}

build() {
  cmake --build --preset "$1" || { echo "$1: build failed"; return 1; }
}

configure_and_build() { configure "$1" && build "$1"; }

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
  if configure windows &&
     cmake --build --preset windows --target torvex CH341DLL >build/build-windows.log 2>&1; then
    count 1 0
  else
    cat build/build-windows.log 2>/dev/null; echo "windows: the 32-bit program does not build"; count 0 1
  fi
}

# The host tests, the fuzz runs and the 32-bit build, at the lowest priority so that they take
# only what the Windows build and tests leave. Their output goes to logs, shown at the end.
build_beside() {
  renice -n 19 "$BASHPID" >/dev/null
  run_preset host >build/host-beside.log 2>&1
  run_preset fuzz >build/fuzz-beside.log 2>&1
  [ "$wine_preset" = windows ] || build_program >>build/fuzz-beside.log 2>&1
}

# Shows what went on beside: the test logs, and any build error.
show_beside() {
  local preset
  for preset in host fuzz; do
    if [ -f "build/ctest-$preset.log" ]; then cat "build/ctest-$preset.log"; fi
    grep -v '^\[' "build/$preset-beside.log" | grep -iE 'error|failed|does not build' || true
  done
}

# Brings both Wine slots of the Windows tests up (their ctest fixture then finds them running), or
# takes them down.
wine_slots() {
  local slot
  for slot in 0 1; do
    TORVEX_WINE_SLOT=$slot tests/wine/wine-env.sh "$1" "build/$wine_preset" </dev/null >/dev/null 2>&1
  done
}

rm -f build/ctest-*.log
wine_preset=$(scripts/wine-preset.sh)
build_beside &
beside=$!
if configure "$wine_preset"; then
  # A new Wine prefix takes about 20 s, mostly waiting: it is made while the build runs.
  wine_slots up &
  wine_up=$!
  if build "$wine_preset"; then
    wait "$wine_up"
    run_ctest "$wine_preset"
    cat "build/ctest-$wine_preset.log"
  else
    wait "$wine_up"
    wine_slots down
    count 0 1
  fi
else
  count 0 1
fi
wait "$beside"
show_beside
read -r passed failed < <(awk '{p += $1; f += $2} END {print p + 0, f + 0}' "$tally")
echo "summary: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
