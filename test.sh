#!/usr/bin/env bash
# Installs what KIVO needs, builds it twice and runs every test each time:
# a Release build, then a build with AddressSanitizer and
# UndefinedBehaviorSanitizer. All tests run on a virtual screen (Xvfb).
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh

jobs=$(nproc)
# -noreset: an X server resets when its last client goes, and a test that
# connects during the reset (the next one starting as the previous ends) is
# refused; GLFW then fails to initialise.
screen=(xvfb-run -a -s "-screen 0 1920x1440x24 -noreset")

echo "== Release build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs" >/dev/null
"${screen[@]}" ctest --test-dir build --output-on-failure

echo "== Sanitizer build and tests"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVO_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs" >/dev/null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"${screen[@]}" ctest --test-dir build-sanitize --output-on-failure
