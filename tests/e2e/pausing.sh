# The pause. P stops the run's clock and the world and shows "PAUSED" over
# the dimmed picture, with the settings screen below, which starts from the kept settings and whose changes apply at
# once and are saved; P goes on and the clock with it. The focus given to
# another window pauses too, and the game waits for P when it comes back.
KIVO_SCREEN_SIZE=1024x768
source "$(dirname "$0")/lib/kivo.bash"
settings=$XDG_CONFIG_HOME/kivo/settings.json
mkdir -p "$(dirname "$settings")"
echo '{"version": 1, "musicVolume": 50}' > "$settings"  # as a player left it

# time_text FILE: the HUD's "Time: " line of the 640x560 window, cut out.
time_text() { window_shot "$WORK/time.png"; convert "$WORK/time.png" -crop 180x22+6+502 +repage "$1"; }
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

start_kivo /dev/null . --window=640x560 --quality=low
focus_window || fail "no window"
poll 60 layouts_at_least 2 || fail "the game did not run"
frames_pass || fail "no frame drawn"

echo "-- P: the clock stands still"
xdo key p
poll 20 paused_on_screen || fail "P did not pause"
time_text "$WORK/before.png"
sleep 2
time_text "$WORK/after.png"
same_picture "$WORK/before.png" "$WORK/after.png" || fail "the clock ran on while paused"

echo "-- the settings screen: down to the music volume, kept at 50, one step left, then right twice"
xdo key Down Down Down Left
poll 10 bash -c "jq -e '.musicVolume == 40' '$settings' >/dev/null 2>&1" || fail "the music volume was not saved at 40"
xdo key Right Right
poll 10 bash -c "jq -e '.musicVolume == 60' '$settings' >/dev/null 2>&1" || fail "the music volume did not go up to 60"
xdo key Up Up Up Right  # the quality, from this start's low round to auto
poll 10 bash -c "jq -e '.quality == \"auto\"' '$settings' >/dev/null 2>&1" || fail "the quality was not saved"

echo "-- P again: the clock goes on"
xdo key p
frames_pass || fail "no frame after P"
time_text "$WORK/after.png"
! same_picture "$WORK/before.png" "$WORK/after.png" || fail "the clock did not go on"

echo "-- the focus given to another window"
xmessage -geometry 200x80+700+0 "other" &
other=$!
other_window=$(xdotool search --sync --onlyvisible --class Xmessage | head -n 1)
xdo windowfocus --sync "$other_window"
poll 20 paused_on_screen || fail "the game did not pause without the focus"
time_text "$WORK/before.png"
sleep 2
time_text "$WORK/after.png"
same_picture "$WORK/before.png" "$WORK/after.png" || fail "the clock ran on without the focus"
xdo windowfocus --sync "$WINDOW_ID"
sleep 1
paused_on_screen || fail "back in focus, the game went on without P"
play_on
kill "$other"

quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
