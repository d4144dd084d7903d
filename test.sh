#!/usr/bin/env bash
# Installs what KIVO needs, builds it three times and runs its tests on a
# virtual screen (Xvfb), saying as it goes what it does and where the logs are:
#
#   1. the Release build: the logic and GL tests, the committed assets against
#      the asset tool, the frame benchmark's smoke run, the game killed while
#      it saves;
#   2. the Debian package, built from the game alone and checked by Debian's
#      own tools: a stage of its own, since it builds the game again and may
#      install packages, which would slow the kill test beside it;
#   3. the build with AddressSanitizer and UndefinedBehaviorSanitizer, compiled
#      file by file so that a missing include shows (the Release build's
#      unity build would hide it): the logic and GL tests again, and the real
#      game driven end to end; it builds only what these tests run;
#   4. the fuzz targets, a few seconds each (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib.bash
start=$SECONDS

release_build
echo "== Release tests"
on_screen ctest --test-dir "$build" --output-on-failure -j2 -LE 'e2e|package'

stage "the Debian package" ctest --test-dir "$build" --output-on-failure -L package

# Only what its tests run: the asset tool (compiled file by file there too)
# and the CPU benchmarks are built once, by the Release build.
sanitizer_build kivo changelog manpage kivo_base_tests kivo_tests kivo_gl_tests kivo_fault_tests kivo_fault_shim \
  kivo_x_event kivo_frame_bench
echo "== sanitizer tests"
on_screen ctest --test-dir build-sanitize --output-on-failure -j2 -LE 'package|durability'

scripts/fuzz.sh 5

echo "== every test passed, in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
