#!/usr/bin/env bash
# Fuzzes what reads outside data with libFuzzer: the settings parser, the
# records parser, and a model, a texture and a sound as the game loads them,
# each built with AddressSanitizer and UndefinedBehaviorSanitizer by Debian's
# clang in build-fuzz/, and run for SECONDS (default 60) on its committed
# seeds (tests/fuzz/corpus/TARGET) and regression inputs
# (tests/fuzz/regressions/TARGET). New inputs it finds go to a scratch
# folder; a crash, a hang or a sanitizer report fails the run and names the
# input to commit as a regression.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     (TARGET: settings records model texture sound)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.bash
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings records model texture sound)

./setup.sh
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
stage "configuring the fuzz build" cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVO_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags"
compile build-fuzz "${targets[@]/#/fuzz_}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
failed=0
for target in "${targets[@]}"; do
  mkdir -p "$scratch/$target"
  log=$scratch/$target.log
  inputs=(tests/fuzz/corpus/"$target")
  [ -d tests/fuzz/regressions/"$target" ] && inputs+=(tests/fuzz/regressions/"$target")
  if build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$scratch/$target-" "$scratch/$target" "${inputs[@]}" > "$log" 2>&1; then
    echo "== fuzz $target: $(awk '/number_of_executed_units/ { print $2 }' "$log") runs in $seconds s, nothing found"
  else
    failed=1
    tail -n 30 "$log"
    for found in "$scratch/$target"-*; do
      [ -e "$found" ] || continue
      mkdir -p build-fuzz/found
      cp "$found" build-fuzz/found/
      echo "== fuzz $target found $(basename "$found"): kept as build-fuzz/found/$(basename "$found");" \
           "fix it, then commit it to tests/fuzz/regressions/$target/"
    done
  fi
done
exit $failed
