#!/usr/bin/env bash
# Soak: a sanitizer build of kivo plays for several minutes on a virtual screen,
# driven by real X input: runs into slabs (restarts and new coin layouts),
# sprints with motion blur, presses every hotkey, turns the mouse. Its resident
# memory is sampled throughout. Passes when the game ends with status 0 on
# Escape, no sanitizer reports anything of ours, and memory stays flat.
#
#   scripts/soak.sh [MINUTES]     (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-5}

if [ -z "${SOAK_INNER:-}" ]; then
  ./setup.sh
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVO_SANITIZE=ON >/dev/null
  cmake --build build-sanitize -j"$(nproc)" --target kivo >/dev/null
  SOAK_INNER=1 exec xvfb-run -a -s "-screen 0 1920x1440x24" "$0" "$minutes"
fi

out=$(mktemp -d)
# A small quarantine keeps ASan's own bookkeeping from looking like growth.
export ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1
export SDL_AUDIODRIVER=dummy

echo "x" | ./build-sanitize/kivo > "$out/stdout" 2> "$out/stderr" &
pid=$!
for _ in $(seq 1 300); do
  win=$(xdotool search --onlyvisible --name '^KIVO$' 2>/dev/null | head -n 1) && [ -n "$win" ] && break
  sleep 0.2
done
[ -n "${win:-}" ] || { echo "soak: no window"; exit 1; }
xdotool windowfocus --sync "$win"

rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
samples=()
end=$((SECONDS + minutes * 60))
round=0
while [ $SECONDS -lt $end ]; do
  round=$((round + 1))
  case $((round % 4)) in
    0) xdotool keydown w; sleep 3; xdotool keyup w ;;                                   # into a slab
    1) xdotool keydown w keydown space; sleep 2; xdotool keyup space keyup w ;;         # sprint, blur
    2) for k in F2 F3 F3 F4 F5 F8 F9 3 4 1 2 F9 F8 F5 F4 F2; do xdotool key "$k"; sleep 0.3; done ;;
    3) xdotool mousemove_relative -- 40 0; xdotool keydown w; sleep 1.5; xdotool keyup w
       xdotool mousemove_relative -- -40 0 ;;
  esac
  xdotool key Return
  samples+=("$(rss)")
done

xdotool keydown Escape; sleep 2; xdotool keyup Escape
set +e; wait $pid; status=$?; set -e

restarts=$(grep -c "^COIN 0 " "$out/stdout" || true)
coins=$(grep -c "^Goodies Collected" "$out/stdout" || true)
echo "soak: $minutes min, $round rounds, $restarts coin layouts, $coins coins collected, exit status $status"
echo "soak: resident KiB per round: ${samples[*]}"

n=${#samples[@]}
third=$((n / 3))
first=$(printf '%s\n' "${samples[@]:third:third}" | sort -n | sed -n "$(( (third + 1) / 2 ))p")
last=$(printf '%s\n' "${samples[@]:$((n - third)):third}" | sort -n | sed -n "$(( (third + 1) / 2 ))p")
echo "soak: median resident size, second third ${first} KiB, last third ${last} KiB"

failed=0
[ "$status" -eq 0 ] || { echo "soak: FAIL exit status $status"; failed=1; }
if grep -qE "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$out/stderr"; then
  echo "soak: FAIL sanitizer report:"; grep -A20 -E "ERROR|runtime error" "$out/stderr" | head -60; failed=1
fi
if [ -n "$first" ] && [ -n "$last" ] && [ "$last" -gt $((first + first / 20)) ]; then
  echo "soak: FAIL resident size grew more than 5% between the second and last third"; failed=1
fi
rm -rf "$out"
[ $failed -eq 0 ] && echo "soak: clean"
exit $failed
