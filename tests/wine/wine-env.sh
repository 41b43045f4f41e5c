#!/usr/bin/env bash
# The private Wine environment of one build folder: its own prefix (never the user's ~/.wine),
# a virtual Wine desktop, and a virtual X display when none is given. TORVEX_WINE_SLOT=N (N > 0)
# picks a second, wholly separate environment of the same build (prefix, server and display), so
# that two tests that drive windows, focus and the mouse can run at once without meeting.
#
#   wine-env.sh up   BUILD_DIR             create the prefix on first use, start display and server
#   wine-env.sh down BUILD_DIR             stop the server (flushing the registry) and the display
#   wine-env.sh run  BUILD_DIR PROGRAM ... run a Windows program there; its exit code comes back
#   wine-env.sh exec BUILD_DIR CMD ...     run a host command with that environment set
set -u

action=$1
build_dir=$(readlink -f "$2")
shift 2

slot=${TORVEX_WINE_SLOT:-0}
first_state="$build_dir/wine"
state="$first_state"
[ "$slot" = 0 ] || state="$build_dir/wine-$slot"
mkdir -p "$state"
export WINEPREFIX="$state/prefix"
# The build's programs decide the prefix: 32-bit ones get a 32-bit Wine, 64-bit ones a 64-bit Wine
# started directly (Debian's `wine` script prefers the 32-bit loader whenever it is installed).
# The 64-bit loader is reached through a link of our own, so that Wine finds no 32-bit loader
# beside it: on a kernel without 32-bit support nothing in the prefix ever tries to start one.
if grep -qsx win64 "$build_dir/wine-arch"; then
  export WINEARCH=win64
  mkdir -p "$state/bin"
  ln -sfn /usr/lib/wine/wine64 "$state/bin/wine64"
  export WINELOADER="$state/bin/wine64"
  export WINESERVER=/usr/lib/wine/wineserver64
  wine() { "$WINELOADER" "$@"; }
  wineboot() { "$WINELOADER" wineboot "$@"; }
  wineserver() { "$WINESERVER" "$@"; }
  export -f wine wineboot wineserver
else
  export WINEARCH=win32
fi
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installers would ask questions.
export WINEDLLOVERRIDES="mscoree,mshtml="

display_alive() {
  [ -f "$state/display" ] && [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  if ! display_alive; then
    rm -f "$state/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" >/dev/null 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.05; done
  fi
  export DISPLAY=":$(cat "$state/display")"
}

use_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  if display_alive; then export DISPLAY=":$(cat "$state/display")"; return 0; fi
  start_display
  own_display=1
}

# Background Wine processes inherit the descriptors of the wine command that starts them, so no
# wine command here ever writes to a pipe it was given: a pipe would stay open until the server ends.
ensure_prefix() {
  (
    flock 9
    [ -f "$WINEPREFIX/.torvex-ready" ] && exit 0
    rm -rf "$WINEPREFIX"
    # A second slot copies the first one's finished prefix: far quicker than a second wineboot.
    if [ "$slot" != 0 ] && [ -f "$first_state/prefix/.torvex-ready" ]; then
      cp -a "$first_state/prefix" "$WINEPREFIX" && exit 0
      rm -rf "$WINEPREFIX"
    fi
    # Marked ready only once everything below has finished: a prefix left half made by a killed
    # run is made again next time.
    wineboot -i </dev/null >/dev/null 2>&1 || exit 1
    # One virtual desktop: windows close at once and a notification area exists.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f </dev/null >/dev/null 2>&1 || exit 1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f </dev/null >/dev/null 2>&1 || exit 1
    wineserver -w
    touch "$WINEPREFIX/.torvex-ready"
  ) 9>"$state/lock"
}

own_display=0
case "$action" in
  up)
    start_display
    ensure_prefix || { echo "the Wine prefix could not be made" >&2; exit 1; }
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  down)
    wineserver -k </dev/null >/dev/null 2>&1
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null; fi
    rm -f "$state/xvfb.pid" "$state/display"
    ;;
  run)
    use_display
    ensure_prefix
    out=$(mktemp "$state/run.XXXXXX")
    wine "$@" </dev/null >"$out" 2>&1
    rc=$?
    cat "$out"
    rm -f "$out"
    if [ "$own_display" = 1 ]; then wineserver -k >/dev/null 2>&1; kill "$(cat "$state/xvfb.pid")" 2>/dev/null; rm -f "$state/xvfb.pid" "$state/display"; fi
    exit $rc
    ;;
  exec)
    use_display
    ensure_prefix
    "$@"
    exit $?
    ;;
  *)
    echo "usage: wine-env.sh up|down|run|exec BUILD_DIR ..." >&2
    exit 2
    ;;
esac
