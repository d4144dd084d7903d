#!/usr/bin/env bash
# Installs what KIVO needs, builds it and starts the game; its arguments go to
# the game (kivo --help lists them).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib.bash
release_build kivo
if [ -z "${DISPLAY:-}" ]; then
  echo "No display found: running KIVO on a virtual screen (Xvfb); the console dialogue still works."
  on_screen "./$build/kivo" "$@"
  exit
fi
exec "./$build/kivo" "$@"
