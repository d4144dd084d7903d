# Saves that survive anything: the real game is killed (SIGKILL) at random
# moments while it saves its settings over and over, forty F6 presses at a
# time each changing the quality and saving it. After every kill the settings
# file must read as a whole file holding one of the values the game saved,
# and the next start must take it without a word. A kill that lands within a
# save, between the temporary file and the rename, leaves that file behind
# (the next save removes it): their count shows the kills hit the saves.
# Then kills in the very middle of a write: the fault shim, preloaded, kills
# the game halfway through its first write of the settings, and the file
# must be the one before it (a save that wrote over the file in place would
# leave half a file). Runs on a small screen of its own.
#
#   tests/durability.sh KIVO FAULT_SHIM [KILLS]     (KILLS: KIVO_KILLS, default 30)
KIVO_SCREEN_SIZE=320x240
source "$(dirname "$0")/e2e/lib/kivo.bash"
shim=$(realpath "${2:?usage: tests/durability.sh KIVO FAULT_SHIM [KILLS]}")
kills=${3:-${KIVO_KILLS:-30}}
settings=$XDG_CONFIG_HOME/kivo/settings.json

# settings_whole: the settings file reads as the game writes it.
settings_whole() {
  jq -e '.version == 1 and (.quality | IN("auto", "full", "balanced", "low")) and (.ghost | type) == "boolean"' \
    "$settings" > /dev/null 2>&1
}

within=0
for kill in $(seq "$kills"); do
  start_kivo /dev/null . --window=160x140 --quality=low
  focus_window || fail "kill $kill: no window"
  poll 60 layouts_at_least 2 || fail "kill $kill: the game did not run"
  grep -q "settings.json" "$WORK/stderr" && fail "kill $kill: the settings after the last kill: $(cat "$WORK/stderr")"
  xdotool key --delay 1 $(printf 'F6 %.0s' $(seq 40)) &
  sleep "0.$(printf '%03d' $((RANDOM % 300)))"
  kill -9 "$KIVO_PID"
  wait "$KIVO_PID" 2>/dev/null || true
  wait  # for xdotool
  [ -e "$(dirname "$settings")/.settings.json.$KIVO_PID.tmp" ] && within=$((within + 1))
  KIVO_PID=""
  [ ! -e "$settings" ] || settings_whole || fail "kill $kill: a torn settings file: $(head -c 300 "$settings")"
done
settings_whole || fail "no settings saved in $kills kills"
leftovers=$(find "$(dirname "$settings")" -name '.settings.json.*.tmp' | wc -l)
[ "$leftovers" -le 1 ] || fail "$leftovers temporary files left behind"
echo "$kills kills while saving, $within of them within a save: every settings file whole ($(jq -r .quality "$settings") at the end)"

for kill in 1 2 3; do
  cp "$settings" "$WORK/before"
  ASAN_OPTIONS=${ASAN_OPTIONS:-}:verify_asan_link_order=0 LD_PRELOAD=$shim KIVO_FAULT="write kill" start_kivo /dev/null . --window=160x140 --quality=low
  focus_window || fail "write kill $kill: no window"
  poll 60 layouts_at_least 2 || fail "write kill $kill: the game did not run"
  xdo key F6
  wait_exit 30
  [ "$KIVO_STATUS" -eq 137 ] || fail "write kill $kill: the game was not killed in the write (status $KIVO_STATUS)"
  cmp -s "$settings" "$WORK/before" || fail "write kill $kill: the settings changed: $(head -c 300 "$settings")"
done
echo "3 kills halfway through a write: the settings file before each stayed whole"
echo "ok"
