#!/usr/bin/env bash
# Installs every Debian package that building, testing and the asset tool need.
# Idempotent: when everything is already there it prints nothing and returns.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev
  libsdl2-dev libsdl2-mixer-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev fonts-dejavu-core libsndfile1-dev
  xvfb xauth xdotool imagemagick x11-utils openbox
  dpkg-dev file
  libgl1-mesa-dri mesa-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
