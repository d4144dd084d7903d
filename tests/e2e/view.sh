# The pointer stays in the game window, and the view holds through what a
# desktop does to the game: minimised for a while with the pointer moved
# elsewhere (the game sleeps meanwhile), and the focus given to another
# window with the pointer on it; either pauses the run, and P goes on. And
# the mouse look goes by the pixel: the same pointer move during a stall of
# one second and of five turns the view alike, so one move there and back
# comes back.
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

echo "-- focus on another window, the pointer on it"
xmessage -geometry 64x100+0+200 "other" &  # beside the game window
other=$!
other_window=$(xdotool search --sync --onlyvisible --class Xmessage | head -n 1)
xdo windowactivate --sync "$other_window"
xdo mousemove 30 250
poll 20 paused_on_screen || fail "the game did not pause when the other window took the focus"
xdo windowactivate --sync "$WINDOW_ID"
play_on
frames_pass || fail "no frame after the focus came back"
window_shot "$WORK/after.png"
held_still "back in focus" "$WORK/before.png" "$WORK/after.png"
kill "$other"

echo "-- the same pointer move in a stall of 1 s and one of 5 s"
window_shot "$WORK/before.png"
kill -STOP "$KIVO_PID"
xdo mousemove_relative -- 600 0
sleep 1
kill -CONT "$KIVO_PID"
frames_pass && frames_pass || fail "no frame after the first stall"
window_shot "$WORK/turned.png"
turned=$(view_change "$WORK/before.png" "$WORK/turned.png")
echo "600 pixels to the right: view change $turned"
awk -v c="$turned" 'BEGIN { exit !(c > 0.06) }' || fail "600 pixels to the right did not turn the view (change $turned)"
kill -STOP "$KIVO_PID"
xdo mousemove_relative -- -600 0
sleep 5
kill -CONT "$KIVO_PID"
frames_pass && frames_pass || fail "no frame after the second stall"
window_shot "$WORK/after.png"
held_still "600 pixels back" "$WORK/before.png" "$WORK/after.png"

quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
