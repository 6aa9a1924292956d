#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test the player.
# Idempotent: when everything is already installed it does nothing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libmpv-dev libsqlite3-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpng-dev libdeflate-dev libspng-dev
  libtag1-dev libicu-dev libxcb1-dev
  fonts-noto-cjk
  dbus-daemon dbus-bin xvfb xauth xdotool
  dpkg-dev desktop-file-utils appstream
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
