#!/usr/bin/env bash
# Installs what KIVO needs, builds the game and starts it; its arguments go to
# the game (kivo --help lists them).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib.bash
game_build
if [ -z "${DISPLAY:-}" ]; then
  echo "No display found: running KIVO on a virtual screen (Xvfb); the console dialogue still works."
  on_screen ./build-game/bin/kivo "$@"
  exit
fi
exec ./build-game/bin/kivo "$@"
