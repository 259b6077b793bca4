#!/usr/bin/env bash
# Builds the Debian package: configures and builds the release preset, then
# runs cpack in its build folder. Prints where the .deb is.
# Install it with: sudo apt-get install ./build/release/veltrane_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release
cmake --build --preset release -j"${VELTRANE_JOBS:-2}"
(cd build/release && cpack --config CPackConfig.cmake >/dev/null)

deb=$(ls -t build/release/veltrane_*.deb | head -n 1)
echo "package: $(pwd)/$deb"
