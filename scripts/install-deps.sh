#!/usr/bin/env bash
# Installs every system package the project needs to build, test and run
# (Debian 12 / Ubuntu 22.04 or newer). Safe to run again.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PKGS=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6printsupport6 libqt6svg6 qt6-translations-l10n
  libgl1-mesa-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  xvfb xauth fonts-dejavu-core poppler-utils
  dpkg-dev fakeroot file appstream
  clang libclang-rt-dev
  libqt6sql6-sqlite libqt6sql6-psql postgresql lintian
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
