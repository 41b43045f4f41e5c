#!/usr/bin/env bash
# Builds Torvex and runs it under Wine with the virtual meter (one idle bridge), on the current
# display or on a virtual one when there is none, and prints what the meter receives until Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
preset=$("$root/scripts/wine-preset.sh")
build="$root/build/$preset"
env_sh="$root/tests/wine/wine-env.sh"

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target torvex CH341DLL default_skin >/dev/null

run="$build/run"
mkdir -p "$run"
cp "$build/bin/torvex.exe" "$build/bin/CH341DLL.DLL" "$run/"
rm -rf "$run/skin" && cp -r "$build/bin/skin" "$run/skin"
cp "$root/scripts/run-scenario.ini" "$run/vmeter.ini"
: >"$run/meter.log"

"$env_sh" up "$build"
cleanup() {
  trap - INT TERM EXIT
  [ -n "${watcher:-}" ] && kill "$watcher" 2>/dev/null
  "$env_sh" exec "$build" wine taskkill /f /im torvex.exe </dev/null >/dev/null 2>&1 || true
  "$env_sh" down "$build"
  echo
  echo "Torvex stopped."
}
trap cleanup INT TERM EXIT

echo "Torvex runs under Wine (display ${DISPLAY:-virtual}). Ctrl-C ends it."
echo "The scenario is $run/vmeter.ini: edit it to change the temperature or unplug the meter."
(cd "$run" && "$env_sh" run "$build" torvex.exe) &
python3 "$root/scripts/watch-meter-log.py" "$run/meter.log" &
watcher=$!
wait %1 || true
