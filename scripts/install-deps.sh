#!/usr/bin/env bash
# Installs what building and testing Torvex needs, with apt, when it is missing.
# Idempotent: says nothing and returns at once when everything is present.
set -euo pipefail

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# clang-14 with libclang-rt-14-dev (the libFuzzer and sanitizer runtimes, only recommended by the
# compiler) builds the fuzz harnesses.
# Both MinGW-w64 compilers: the 32-bit build is the program handed out, the 64-bit one is what the
# tests run under 64-bit Wine (wine64), which works also where the kernel runs no 32-bit code.
# wine32 serves TORVEX_WINE_PRESET=windows on machines that can run 32-bit programs.
PACKAGES=(cmake make ninja-build g++ googletest libgtest-dev clang-14 libclang-rt-14-dev
          g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine wine64 wine32:i386 xvfb python3 nsis)

missing=()
for p in "${PACKAGES[@]}"; do have_pkg "$p" || missing+=("$p"); done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "install-deps: installing ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
