#!/usr/bin/env bash
# Installs what KIVO needs, builds it twice and runs every test each time:
# a Release build, then a build with AddressSanitizer and
# UndefinedBehaviorSanitizer. All tests run on a virtual screen (Xvfb).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib.bash

echo "== Release build and tests"
release_build
on_screen ctest --test-dir "$build" --output-on-failure

echo "== Sanitizer build and tests"
sanitizer_build
on_screen ctest --test-dir build-sanitize --output-on-failure
