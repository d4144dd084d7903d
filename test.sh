#!/usr/bin/env bash
# Installs what KIVO needs, builds it twice and runs its tests on a virtual
# screen (Xvfb), saying as it goes what it does and where the logs are:
#
#   1. the Release build: the logic and GL tests, the committed assets against
#      the asset tool, the frame benchmark's smoke run, the game killed while
#      it saves, and the Debian package built and checked by Debian's own tools;
#   2. the build with AddressSanitizer and UndefinedBehaviorSanitizer: the
#      logic and GL tests again, and the real game driven end to end;
#   3. the fuzz targets, a few seconds each (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib.bash
start=$SECONDS

release_build
echo "== Release tests"
on_screen ctest --test-dir "$build" --output-on-failure -j2 -LE e2e

sanitizer_build
echo "== sanitizer tests"
on_screen ctest --test-dir build-sanitize --output-on-failure -j2 -LE 'package|durability'

scripts/fuzz.sh 5

echo "== every test passed, in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
