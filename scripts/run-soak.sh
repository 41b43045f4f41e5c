#!/usr/bin/env bash
# Builds the Windows preset and runs the soak (tests/soak/) under Wine: torvex.exe under a
# hot-plug storm and a restless user, its handles, GDI and USER objects and memory sampled all
# along. SOAK_MINUTES (default 2), SOAK_CYCLES (plug cycles instead of minutes), SOAK_SEED. Then
# the end-to-end storm of 700 unanswered plug changes.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$(scripts/wine-preset.sh)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target all torvex_soak >/dev/null
env_sh=$PWD/tests/wine/wine-env.sh
build=$PWD/build/$preset
"$env_sh" up "$build"
trap '"$env_sh" down "$build"' EXIT
cd "$build/bin"
"$env_sh" run "$build" torvex_soak.exe
# make test runs a short hot-plug storm with nobody answering; here it runs long.
TORVEX_STORM_CHANGES=700 "$env_sh" run "$build" e2e_run_and_link_test.exe \
  --gtest_filter='*HotPlugStorm*'

