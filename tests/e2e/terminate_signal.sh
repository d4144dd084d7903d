# A running game still ends on SIGTERM (the audio library must not swallow it).
source "$(dirname "$0")/lib/kivo.bash"

# The dummy driver lets audio start even without a sound card.
export SDL_AUDIODRIVER=dummy
start_kivo "x"
wait_window
kill -TERM "$KIVO_PID"
wait_exit 30
[ "$KIVO_STATUS" -ne 0 ] || fail "SIGTERM did not end the game"
echo "ok"
