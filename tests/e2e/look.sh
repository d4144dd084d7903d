# The mouse look as the player set it: --sensitivity scales the turn per
# pixel and --invert-y turns it upside down. 600 pixels up at the default
# sensitivity, and 300 pixels down with --invert-y --sensitivity=2, both
# look up as far; 300 pixels up at the default look up half as far.
KIVO_SCREEN_SIZE=1024x768
source "$(dirname "$0")/lib/kivo.bash"

# view_after OPTIONS... -- PIXELS: the picture once the pointer moved PIXELS
# up (down when negative) in a game started with OPTIONS, into $WORK/view.png.
view_after() {
  local options=()
  while [ "$1" != -- ]; do options+=("$1"); shift; done
  start_kivo /dev/null . --window=640x560 --quality=low "${options[@]}"
  focus_window || fail "no window"
  poll 60 layouts_at_least 2 || fail "the game did not run"
  frames_pass || fail "no frame drawn"
  pitch "$2"
  frames_pass && frames_pass || fail "no frame after the turn"
  window_shot "$WORK/view.png"
  quit_with_escape
  [ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
}

view_after -- 600
mv "$WORK/view.png" "$WORK/up.png"
view_after --invert-y --sensitivity=2 -- -300
mv "$WORK/view.png" "$WORK/inverted.png"
view_after -- 300
mv "$WORK/view.png" "$WORK/half.png"
same=$(view_change "$WORK/up.png" "$WORK/inverted.png")
half=$(view_change "$WORK/up.png" "$WORK/half.png")
echo "view change: inverted and doubled $same, half as far $half"
awk -v s="$same" -v h="$half" 'BEGIN { exit !(s < 0.03 && h > 0.06) }' ||
  fail "the turns do not match (inverted and doubled: $same, half as far: $half)"

echo "-- the pointer crossing into the window at its left edge"
start_kivo /dev/null . --window=640x560 --quality=low
focus_window || fail "no window"
poll 60 layouts_at_least 2 || fail "the game did not run"
frames_pass && frames_pass || fail "no frame drawn"
window_shot "$WORK/before.png"
"$X_EVENT" enter "$WINDOW_ID" 0 280
frames_pass && frames_pass || fail "no frame after the crossing"
window_shot "$WORK/after.png"
held_still "the crossing" "$WORK/before.png" "$WORK/after.png"
quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
