#!/usr/bin/env bash
# Fails when a folder includes a header of one it must not use. app uses everything; monitor uses
# meter and settings; meter, settings and skin use none of the others; every one of them may use
# log, the event log, which uses none; res holds only the resource ids; the virtual meter stands
# apart from the program it tests.
set -uo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [app]="app meter monitor settings skin res log"
  [monitor]="monitor meter settings log"
  [meter]="meter log"
  [settings]="settings res log"
  [skin]="skin log"
  [log]="log"
  [virtual-meter]="virtual-meter"
)

status=0
for dir in "${!allowed[@]}"; do
  while IFS=: read -r file target; do
    if [[ " ${allowed[$dir]} " != *" $target "* ]]; then
      echo "$file: $dir must not include $target/"
      status=1
    fi
  done < <(grep -rHoE '^#include "[^/"]+/' --include='*.h' --include='*.cpp' "$dir" |
           sed -E 's/:#include "([^/"]+)\/$/:\1/')
done
[ "$status" -eq 0 ] && echo "include direction: ok"
exit "$status"
