#!/usr/bin/env bash
# Installs the Debian packages KIVO needs, and says which:
#
#   ./setup.sh game      what building and playing the game needs
#   ./setup.sh package   that, and what building and checking its Debian package needs
#   ./setup.sh [all]     everything: the tests, benchmarks and asset tool too
#
# Idempotent: when everything is there already it prints nothing and returns.
set -euo pipefail

game=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev
  libsdl2-dev libsdl2-mixer-dev nlohmann-json3-dev
  libgl1-mesa-dri xvfb xauth
  help2man
)
package=(dpkg-dev file lintian appstream desktop-file-utils)
tests=(
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev fonts-dejavu-core libsndfile1-dev
  xdotool imagemagick x11-utils openbox mesa-utils jq
  clang libclang-rt-14-dev
)
case ${1:-all} in
  game) wanted=("${game[@]}") ;;
  package) wanted=("${game[@]}" "${package[@]}") ;;
  all) wanted=("${game[@]}" "${package[@]}" "${tests[@]}") ;;
  *) echo "usage: ./setup.sh [game|package|all]" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
echo "== installing ${#missing[@]} Debian packages and what they need: ${missing[*]}"
start=$SECONDS
$SUDO apt-get update -qq
# Unpacking without a sync after every file: a failed install is simply run again.
# Each package is named as it is set up.
$SUDO apt-get install -y -qq --no-install-recommends -o Dpkg::Options::=--force-unsafe-io "${missing[@]}" 2>&1 |
  awk '/^Setting up / { sub(/:.*/, "", $3); printf "%s ", $3; fflush() } /^E: / { print; fflush() }'
echo
echo "== installed in $((SECONDS - start)) s"
