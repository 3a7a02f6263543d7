#!/usr/bin/env bash
# Sets up, builds and runs Vantrim: run.sh mainfolder wanted_dir
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target Vantrim >/dev/null
exec build/native/Vantrim "$@"
