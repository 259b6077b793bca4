#!/usr/bin/env bash
# Installs every package Veltrane needs to build and test on Debian 12.
# Safe to run again: it only installs what is missing. Needs root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkgconf git
  qt6-base-dev qt6-svg-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libfmt-dev libsqlite3-dev sqlite3
  libpci-dev pci.ids
  fonts-dejavu-core xvfb xauth
  clang-14 libclang-rt-14-dev clang-format binutils python3 python3-jsonschema
  dpkg-dev desktop-file-utils appstream lintian groff-base man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: missing packages: ${missing[*]}" >&2
    echo "install-deps: run this script as root to install them" >&2
    exit 1
  fi
  as_root=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
