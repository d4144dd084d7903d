# The pointer stays in the game window, and the view holds through what a
# desktop does to the game: minimised for a while with the pointer moved
# elsewhere (the game sleeps meanwhile), which pauses the run, and P goes on.
KIVO_SCREEN_SIZE=800x600  # a small window draws quickly
source "$(dirname "$0")/lib/kivo.bash"

start_window_manager
start_kivo "x"
focus_window || fail "no window titled KIVO"
poll 60 layouts_at_least 2 || fail "the first frame did not restart the run"
frames_pass || fail "no frame drawn"

echo "-- the pointer is held in the window"
xdo mousemove 0 0
read -r x y w h < <(client_box)
read -r px py < <(xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')
(( px >= x && px < x + w && py >= y && py < y + h )) || fail "the pointer left the window for ($px, $py)"
frames_pass || fail "no frame drawn"
window_shot "$WORK/before.png"

echo "-- minimised, the pointer moved elsewhere meanwhile"
xdo windowminimize "$WINDOW_ID"
poll 10 is_minimised || fail "the window was not minimised"
xdo mousemove 100 100
poll 10 sleeping || fail "minimised, the game goes on using the CPU"
xdo windowactivate --sync "$WINDOW_ID"
play_on
frames_pass || fail "no frame after the window came back"
window_shot "$WORK/after.png"
held_still "back from minimised" "$WORK/before.png" "$WORK/after.png"

quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
