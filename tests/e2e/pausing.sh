# The pause in the real window. P shows "PAUSED" over the dimmed picture,
# with the settings screen below, which starts from the kept settings and
# whose changes apply at once and are saved; P goes on. The focus given to
# another window pauses too, and the game waits for P when it comes back.
# What stands still meanwhile is the play tests' to check.
KIVO_SCREEN_SIZE=1024x768
source "$(dirname "$0")/lib/kivo.bash"
settings=$XDG_CONFIG_HOME/kivo/settings.json
mkdir -p "$(dirname "$settings")"
echo '{"version": 1, "musicVolume": 50}' > "$settings"  # as a player left it

start_kivo /dev/null . --window=640x560 --quality=low
focus_window || fail "no window"
poll 60 layouts_at_least 2 || fail "the game did not run"
frames_pass || fail "no frame drawn"

echo "-- P"
xdo key p
poll 20 paused_on_screen || fail "P did not pause"

echo "-- the settings screen: down to the music volume, kept at 50, one step left, then right twice"
xdo key Down Down Down Left
poll 10 bash -c "jq -e '.musicVolume == 40' '$settings' >/dev/null 2>&1" || fail "the music volume was not saved at 40"
xdo key Right Right
poll 10 bash -c "jq -e '.musicVolume == 60' '$settings' >/dev/null 2>&1" || fail "the music volume did not go up to 60"
xdo key Up Up Up Right  # the quality, from this start's low round to auto
poll 10 bash -c "jq -e '.quality == \"auto\"' '$settings' >/dev/null 2>&1" || fail "the quality was not saved"

echo "-- P again"
play_on

echo "-- the focus given to another window"
xmessage -geometry 200x80+700+0 "other" &
other=$!
other_window=$(xdotool search --sync --onlyvisible --class Xmessage | head -n 1)
xdo windowfocus --sync "$other_window"
poll 20 paused_on_screen || fail "the game did not pause without the focus"
xdo windowfocus --sync "$WINDOW_ID"
sleep 1
paused_on_screen || fail "back in focus, the game went on without P"
play_on
kill "$other"

quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
