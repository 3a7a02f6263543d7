#!/usr/bin/env bash
# Installs, as Debian packages, whatever the build is missing.
#   setup.sh          what the native build and its tests need
#   setup.sh windows  that, and the cross compilers and Wine for the Windows build and its tests
set -euo pipefail

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

packages=(cmake ninja-build g++ googletest libgtest-dev dpkg-dev groff-base man-db time)
if [ "${1:-}" = windows ]; then
  packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 binutils-mingw-w64-i686)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
