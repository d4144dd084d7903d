# F7's debug views and F12's screenshots in the real game: each picture a new
# PNG of the window in the pictures folder, named on stderr; the shadow-map
# view grey, the cycle back to the colours; a folder that cannot be written
# is one line, and the game plays on.
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
