#!/usr/bin/env bash
# Sets up, builds and runs every test: the native suite, then the Windows suite under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh windows

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j "$(nproc)"

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize -j "$(nproc)"

echo "== Windows: Vantrim.exe, 32-bit, system DLLs only"
cmake --preset windows >/dev/null
cmake --build --preset windows
tools/check-exe.sh build/windows/Vantrim.exe

echo "== installation and packages"
tools/check-packaging.sh

# Wine runs 32-bit programs only where the kernel runs 32-bit host programs; some virtual machines
# do not. There the same sources are built for 64-bit Windows and tested under 64-bit Wine.
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
if WINEPREFIX="$PWD/build/windows/wineprefix" timeout 300 wine build/windows/Vantrim.exe 2>/dev/null \
    | grep -q '^usage: Vantrim mainfolder wanted_dir'; then
  echo "== Windows tests under Wine, 32-bit"
  ctest --preset windows -j "$(nproc)"
else
  echo "== This machine cannot run 32-bit programs: Windows tests under Wine as a 64-bit build"
  cmake --preset windows64 >/dev/null
  cmake --build --preset windows64
  ctest --preset windows64 -j "$(nproc)"
fi
