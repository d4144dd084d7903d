#!/usr/bin/env bash
# Soak: a sanitizer build of kivo plays for several minutes on a virtual screen,
# driven by real X input: runs into slabs (restarts and new coin layouts),
# flies to coins it reads from the game's console, sprints with motion blur,
# presses every hotkey, turns the mouse. Its resident memory is sampled
# throughout. Passes when the game ends with status 0 on Escape, no sanitizer
# reports anything of ours, and memory stays flat.
#
#   scripts/soak.sh [MINUTES]     (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-5}

source scripts/lib.bash
if [ -z "${SOAK_INNER:-}" ]; then
  sanitizer_build kivo kivo_soak_aim
  SOAK_INNER=1 on_screen "$0" "$minutes"
  exit
fi

out=$(mktemp -d)
private_home "$out/home"
sanitizer_environment
# A small quarantine keeps ASan's own bookkeeping from looking like growth.
export ASAN_OPTIONS=$ASAN_OPTIONS:quarantine_size_mb=16
export SDL_AUDIODRIVER=dummy

echo "x" | ./build-sanitize/bin/kivo > "$out/stdout" 2> "$out/stderr" &
pid=$!
focus_window || { echo "soak: no window"; exit 1; }
win=$WINDOW_ID

rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }

# turn AXIS RADIANS: moves the pointer as far as the turn takes at the look's
# $turn_per_pixel radians a pixel (a yaw to the left and a pitch upwards are
# moves left and up), in steps of at most 100 pixels.
turn() {
  local axis=$1 angle=$2 pixels step
  pixels=$(awk -v a="$angle" -v s="$turn_per_pixel" 'BEGIN { printf "%d", -a / s + (a < 0 ? 0.5 : -0.5) }')
  while [ "$pixels" -ne 0 ]; do
    step=$(( pixels > 100 ? 100 : pixels < -100 ? -100 : pixels ))
    if [ "$axis" = yaw ]; then xdotool mousemove_relative -- "$step" 0; else xdotool mousemove_relative -- 0 "$step"; fi
    pixels=$(( pixels - step ))
  done
}

# Sprints the cat down the street with Enter held until the run starts over:
# at this frame rate it may step past every slab, and then the finish line's
# end screen takes the Enter. Lets go of all three keys as soon as the game
# prints the new layout: it reads keys once a frame, after drawing, so the
# release is seen before the cat can take another step from the start.
restart_at_start() {
  local layouts
  layouts=$(grep -c '^COIN 0 ' "$out/stdout" || true)
  xdotool keydown w keydown space keydown Return
  for _ in $(seq 1 3000); do
    [ "$(grep -c '^COIN 0 ' "$out/stdout" || true)" -gt "$layouts" ] && break
    sleep 0.01
  done
  xdotool keyup w keyup space keyup Return
}

# Flies the cat from the start to the nearest reachable coin, if there is one.
# Turn and flight are seen in wireframe (F3): its frames are several times
# shorter, so a turn's error of up to a frame at either end stays small.
fetch_coin() {
  local target yaw pitch distance seconds before
  restart_at_start
  target=$(./build-sanitize/bench/kivo_soak_aim < "$out/stdout") || true
  [ -n "$target" ] || return 0
  read -r yaw pitch distance seconds turn_per_pixel <<< "$target"
  aimed=$((aimed + 1))
  before=$(grep -c '^Goodies Collected' "$out/stdout" || true)
  xdotool key F3
  sleep 1.5  # the last filled frame, still slow, goes by
  turn yaw "$yaw"
  turn pitch "$pitch"
  xdotool keydown w
  sleep "$(awk -v s="$seconds" 'BEGIN { printf "%.2f", s + 0.4 }')"
  xdotool keyup w
  xdotool key F3
  echo "soak: flight to a coin $distance units away (yaw $yaw, pitch $pitch):" \
       "$(( $(grep -c '^Goodies Collected' "$out/stdout" || true) - before )) collected"
}

samples=()
end=$((SECONDS + minutes * 60))
round=0
aimed=0
while [ $SECONDS -lt $end ]; do
  round=$((round + 1))
  case $((round % 5)) in
    0) xdotool keydown w; sleep 3; xdotool keyup w ;;                                   # into a slab
    1) fetch_coin ;;                                                                    # from the start
    2) xdotool keydown w keydown space; sleep 2; xdotool keyup space keyup w ;;         # sprint, blur
    3) for k in F2 F3 F3 F4 F5 F8 F9 3 4 1 2 F9 F8 F5 F4 F2; do xdotool key "$k"; sleep 0.3; done ;;
    4) xdotool mousemove_relative -- 40 0; xdotool keydown w; sleep 1.5; xdotool keyup w
       xdotool mousemove_relative -- -40 0 ;;
  esac
  xdotool key Return
  samples+=("$(rss)")
done

escape_until_gone $pid || true
set +e; wait $pid; status=$?; set -e

restarts=$(grep -c "^COIN 0 " "$out/stdout" || true)
coins=$(grep -c "^Goodies Collected" "$out/stdout" || true)
echo "soak: $minutes min, $round rounds, $restarts coin layouts, $aimed flights at a coin, $coins coins collected, exit status $status"
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
