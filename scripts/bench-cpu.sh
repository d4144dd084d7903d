#!/usr/bin/env bash
# CPU benchmark suite: builds the Release kivo_cpu_bench and runs it. The
# scene objects need a GL context to exist, so it runs on a virtual screen,
# though nothing is drawn.
#
#   scripts/bench-cpu.sh [Google Benchmark flags]
#
# KIVO_BUILD_DIR picks the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.bash
release_build kivo_cpu_bench
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
on_screen "$build/bench/kivo_cpu_bench" "$@"
