# Long frames. A long frame cannot carry the cat through a slab: with W held
# from the start, the game is stopped for three seconds (SIGSTOP, SIGCONT);
# its next frame carries the cat 30 units, through the slab 20 units ahead,
# and the run restarts in the frame after. Without following the cat's way,
# the cat would walk on to the next slab and restart more than a second
# later. And no key press is lost: Escape pressed and let go while the game
# stands still ends it once it goes on. It runs on a screen of its own, so a
# frame of its small window takes milliseconds.
KIVO_SCREEN_SIZE=320x240
source "$(dirname "$0")/lib/kivo.bash"

start_kivo "n 0"
focus_window || fail "no window"
poll 60 layouts_at_least 2 || fail "the first frame did not restart the run"
xdo keydown w
sleep 0.5  # about 5 units walked, the slab at z -220 still ahead
kill -STOP "$KIVO_PID"
sleep 3
kill -CONT "$KIVO_PID"
resumed=${EPOCHREALTIME/./}
poll 10 layouts_at_least 3 || fail "the run did not restart"
restarted=${EPOCHREALTIME/./}
xdo keyup w
elapsed=$(( (restarted - resumed) / 1000 ))
echo "restarted ${elapsed} ms after resuming"
[ "$elapsed" -lt 1000 ] || fail "restarted ${elapsed} ms after resuming: at a later slab"

kill -STOP "$KIVO_PID"
xdo key --delay 150 Escape  # down and up again, both while the game stands still
kill -CONT "$KIVO_PID"
wait_exit 10
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
