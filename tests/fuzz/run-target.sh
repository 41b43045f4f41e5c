#!/usr/bin/env bash
# Runs one libFuzzer harness for SECONDS from its checked-in seeds and prints its executions:
#   run-target.sh HARNESS SECONDS SEED_DIR WORK_DIR
# New inputs go to WORK_DIR/corpus (SEED_DIR is never written). Any finding (a crash, a
# sanitizer report, a broken invariant, a leak, a timeout, running out of memory) fails the run;
# the input is kept in WORK_DIR (crash-*, leak-*, timeout-*, oom-*) and the log in WORK_DIR/fuzz.log.
set -uo pipefail
harness=$1 seconds=$2 seeds=$3 work=$4
name=$(basename "$harness")
mkdir -p "$work/corpus"
"$harness" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/" "$work/corpus" "$seeds" >"$work/fuzz.log" 2>&1
status=$?
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log" | tail -1)
if [ "$status" -ne 0 ]; then
  tail -n 60 "$work/fuzz.log"
  echo "$name: finding (exit $status); input and log in $work"
  exit 1
fi
echo "$name: ${executions:-0} executions in $seconds s ($(( ${executions:-0} / seconds ))/s)"
