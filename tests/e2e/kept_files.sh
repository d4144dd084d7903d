# What the game keeps, when it cannot: a settings and a records file that are
# not what they should be are each named in one line on stderr, kept beside
# as NAME.bad, and the game plays on with the defaults, saving anew on F6. A
# folder it may not write gets one line however often it tries, the file in
# it stays as it was, and the game plays on. The game runs as a user who may
# not write the folder: as root, which writes anywhere, the user nobody.
source "$(dirname "$0")/lib/kivo.bash"
settings=$XDG_CONFIG_HOME/kivo/settings.json
records=$XDG_DATA_HOME/kivo/records.json

echo "-- a torn settings file and records of random bytes"
mkdir -p "$(dirname "$settings")" "$(dirname "$records")"
printf '{"version": 1, "quality": "lo' > "$settings"
head -c 5000 /dev/urandom > "$records"
cp "$records" "$WORK/random"
start_kivo /dev/null . --window=320x280
focus_window || fail "no window"
poll 60 layouts_at_least 2 || fail "the game did not play on"
for file in "$settings" "$records"; do
  [ "$(grep -c "^kivo: $file: " "$WORK/stderr")" -eq 1 ] || fail "not one line for $file: $(cat "$WORK/stderr")"
  [ -f "$file.bad" ] && [ ! -e "$file" ] || fail "$file was not set aside"
done
cmp -s "$records.bad" "$WORK/random" || fail "the records set aside are not the file as it was"
xdo key F6
poll 10 test -f "$settings" || fail "F6 saved no settings"
jq -e '.version == 1 and .quality == "full"' "$settings" >/dev/null || fail "F6 saved $(cat "$settings")"
quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"

echo "-- a folder it may not write"
cp "$settings" "$WORK/saved"
chmod 0555 "$(dirname "$settings")"
as_player=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 0755 "$WORK"
  chmod -R a+rX "$WORK/home"
  export XDG_CACHE_HOME=$WORK/cache  # Mesa's shader cache, where nobody may write
  mkdir -p "$XDG_CACHE_HOME" && chmod 0777 "$XDG_CACHE_HOME"
  as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
(exec "${as_player[@]}" "$KIVO" --window=320x280 < /dev/null > "$WORK/stdout" 2> "$WORK/stderr") &
KIVO_PID=$!
focus_window || fail "no window"
poll 60 layouts_at_least 2 || fail "the game did not play"
xdo key F6
frames_pass || fail "no frame after F6"
xdo key F6
frames_pass && frames_pass || fail "no frame after F6"
quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
[ "$(grep -c "cannot save $settings: Permission denied" "$WORK/stderr")" -eq 1 ] ||
  fail "not one line for the folder it may not write: $(cat "$WORK/stderr")"
cmp -s "$settings" "$WORK/saved" || fail "the settings file changed"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
