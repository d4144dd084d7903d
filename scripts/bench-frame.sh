#!/usr/bin/env bash
# Frame benchmark: builds the Release kivo_frame_bench and runs the real game
# frame at the game's window size (1600x1400, one sample a pixel, the scene
# 4x multisampled off-screen) on a virtual screen, with two floors (clear +
# swap) measured in the same run: of the game's window, and of a 1600x1400
# window with 4x multisampling, the yardstick of every earlier figure.
#
#   scripts/bench-frame.sh [kivo_frame_bench options]
#
# Options are passed on and override the defaults (--size 1600x1400, 300
# warm-up and 300 measured frames, --quality full), e.g. --blur for the
# motion-blur path, --isolate for a per-pass breakdown or --quality auto.
# The report names the quality level it ran at and, with auto, the frames
# around each change of level. KIVO_BUILD_DIR picks the
# build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.bash
release_build kivo_frame_bench
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
on_screen "$build/bench/kivo_frame_bench" --size 1600x1400 "$@"
