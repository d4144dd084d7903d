# After a fatal start-up error the console pause waits for a fresh Enter: the
# Enter that ended the dialogue's answer does not count, and the game ends
# with status 255 once a new one comes. The console is a FIFO held open, as a
# terminal would be; a pipe would end at once and could not tell a wait.
source "$(dirname "$0")/lib/kivo.bash"

game="$WORK/game"
copy_game "$game"
rm "$game/Shader/normals2.frag"
mkfifo "$WORK/console"
start_kivo "$WORK/console" "$game"
exec 3> "$WORK/console"
printf 'x\n' >&3

poll 60 grep -q "Press Enter to continue . . ." "$WORK/stdout" || fail "no console pause"
grep -qxF "Failed to open File" "$WORK/stderr" || fail "no message for the missing shader"
sleep 3  # the wait itself is what is tested
kill -0 "$KIVO_PID" 2>/dev/null || fail "the pause did not wait for Enter"
printf '\n' >&3
wait_exit 10
exec 3>&-
[ "$KIVO_STATUS" -eq 255 ] || fail "status $KIVO_STATUS, expected 255"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
