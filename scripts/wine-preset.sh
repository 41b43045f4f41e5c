#!/usr/bin/env bash
# Prints the CMake preset whose Windows programs the tests, `make run`, the benchmarks and the soak
# run under Wine. By default the 64-bit build (`windows64`): it runs under 64-bit Wine on every
# x86_64 machine, also where the kernel runs no 32-bit code. TORVEX_WINE_PRESET=windows runs the
# 32-bit build instead, on a machine that can run 32-bit programs.
echo "${TORVEX_WINE_PRESET:-windows64}"
