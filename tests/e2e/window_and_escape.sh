# The dialogue's default answer opens a 1600x1400 window titled "KIVO";
# holding Escape ends the game with status 0.
source "$(dirname "$0")/lib/kivo.bash"

start_kivo "Y"
wait_window
geometry=$(xdo getwindowgeometry "$WINDOW_ID")
echo "$geometry" | grep -q "Geometry: 1600x1400" || fail "window is not 1600x1400: $geometry"
[ "$(xdo getwindowname "$WINDOW_ID")" = "KIVO" ] || fail "window title is not KIVO"

escape_until_exit
[ "$KIVO_STATUS" -eq 0 ] || fail "Escape ended with status $KIVO_STATUS, expected 0"
grep -q "Do you wanna play in fullscreen? y/n: " "$WORK/stdout" || fail "no dialogue on stdout"
echo "ok"
