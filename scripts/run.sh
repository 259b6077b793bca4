#!/usr/bin/env bash
# Installs what is missing, builds the optimised programs and runs the main
# job in the terminal. Extra arguments go to veltrane-cli instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

if [ $# -eq 0 ]; then
  set -- run
fi
exec build/release/bin/veltrane-cli "$@"
