# F1's lab overlay, F7's debug views and F12's screenshots in the real game:
# the overlay's panel darkens the window's top and F1 again takes it away;
# each picture a new PNG of the window in the pictures folder, named on
# stderr; the shadow-map view grey, the cycle back to the colours; a folder
# that cannot be written is one line, and the game plays on.
KIVO_SCREEN_SIZE=800x600  # a small window draws quickly
source "$(dirname "$0")/lib/kivo.bash"

pictures=$HOME/Pictures/kivo
start_kivo "x"
focus_window || fail "no window titled KIVO"
poll 60 layouts_at_least 2 || fail "the first frame did not restart the run"
frames_pass || fail "no frame drawn"

# shot: F12, and the path of the new file its line on stderr names.
shot() {
  local before
  before=$(grep -c 'screenshot saved: ' "$WORK/stderr" || true)
  xdo key F12
  poll 30 bash -c "[ \$(grep -c 'screenshot saved: ' '$WORK/stderr') -gt $before ]" || fail "no screenshot line"
  grep 'screenshot saved: ' "$WORK/stderr" | tail -n 1 | sed 's/.*screenshot saved: //'
}
# saturation FILE: the mean colour saturation (0 .. 1) of the picture's middle.
saturation() { convert "$1" -gravity center -crop 60%x40%+0+0 -colorspace HSL -channel G -separate -format '%[fx:mean]' info:; }

echo "-- F12: the window as a new PNG in the pictures folder"
plain=$(shot)
[ "$(dirname "$plain")" = "$pictures" ] || fail "screenshot in $plain"
read -r _ _ w h < <(client_box)
[ "$(identify -format '%m %wx%h' "$plain")" = "PNG ${w}x${h}" ] || fail "$(identify "$plain") for a ${w}x${h} window"
awk "BEGIN {exit !($(saturation "$plain") > 0.05)}" || fail "the plain picture has no colour"

echo "-- F7: the shadow map, grey, named; four more presses and the colours are back"
xdo key F7
shadow=$(shot)
[ "$shadow" != "$plain" ] || fail "a screenshot written over another"
awk "BEGIN {exit !($(saturation "$shadow") < 0.01)}" || fail "the shadow-map view is not grey"
for _ in 1 2 3 4; do xdo key F7; done
again=$(shot)
awk "BEGIN {exit !($(saturation "$again") > 0.05)}" || fail "the views did not cycle back to off"
[ "$(ls "$pictures" | wc -l)" -eq 3 ] || fail "$(ls "$pictures")"

echo "-- F1: the lab overlay's panel over the top of the window; F1 again hides it"
# panel_light SHOT: the mean brightness of where the panel lies, the top left.
panel_light() { convert "$1" -crop 75%x30%+6+6 +repage -format '%[fx:mean]' info:; }
window_shot "$WORK/before.png"
xdo key F1
frames_pass && frames_pass || fail "no frame after F1"
window_shot "$WORK/overlay.png"
xdo key F1
frames_pass && frames_pass || fail "no frame after F1 again"
window_shot "$WORK/after.png"
read -r before overlay after < <(echo "$(panel_light "$WORK/before.png") $(panel_light "$WORK/overlay.png") $(panel_light "$WORK/after.png")")
echo "panel brightness: before $before, shown $overlay, hidden $after"
awk "BEGIN {exit !($overlay < 0.7 * $before)}" || fail "F1 showed no panel"
awk "BEGIN {exit !($after > 0.9 * $before && $after < 1.1 * $before)}" || fail "F1 again left the panel"

echo "-- a pictures folder that cannot be written: one line, and the game plays on"
rm -rf "$HOME/Pictures" && echo x > "$HOME/Pictures"
xdo key F12
poll 30 grep -q "no screenshot: cannot write in $pictures" "$WORK/stderr" || fail "no line for the unwritable folder"
frames_pass || fail "no frame after the failed screenshot"

quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
[ "$(grep -c 'screenshot' "$WORK/stderr")" -eq 4 ] || fail "$(grep screenshot "$WORK/stderr")"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
