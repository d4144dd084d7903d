# A missing shader file stops the game at start-up with its message on stderr
# and status 255, and the console pause returns at end of input.
source "$(dirname "$0")/lib/kivo.bash"

game="$WORK/game"
copy_game "$game"
rm "$game/Shader/normals2.frag"

start_kivo "" "$game"
wait_exit 120
[ "$KIVO_STATUS" -eq 255 ] || fail "status $KIVO_STATUS, expected 255"
grep -qxF "Failed to open File" "$WORK/stderr" || fail "stderr lacks the open failure"
grep -q "Press Enter" "$WORK/stdout" || fail "no console pause"
echo "ok"
