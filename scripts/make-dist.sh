#!/usr/bin/env bash
# Builds the two packages a Windows user downloads (see package/CMakeLists.txt) and puts them,
# alone, into dist/: torvex-<version>-win32.zip and torvex-<version>-setup.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target dist >/dev/null
rm -rf dist
mkdir -p dist
version=$(sed -n 's/^#define TORVEX_VERSION_TEXT "\(.*\)"$/\1/p' build/windows/generated/res/version.h)
cp "build/windows/dist/torvex-$version-win32.zip" "build/windows/dist/torvex-$version-setup.exe" dist/
ls -l dist
