#!/usr/bin/env bash
# Installs what KIVO needs, builds it and starts the game from the repository
# root (the game reads its assets relative to the working directory).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib.bash
release_build kivo
if [ -z "${DISPLAY:-}" ]; then
  echo "No display found: running KIVO on a virtual screen (Xvfb); the console dialogue still works."
  on_screen "./$build/kivo"
  exit
fi
exec "./$build/kivo"
