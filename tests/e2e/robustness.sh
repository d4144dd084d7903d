# The real game in a window, and bad input of every kind: each gets its clear
# answer and nothing crashes. Dialogue answers, broken textures and models,
# the window's close button and SIGTERM in the middle of play.
source "$(dirname "$0")/lib/kivo.bash"
[ -n "$X_EVENT" ] || fail "needs the X event helper as second argument"

# play_and_quit ANSWERS DIR SIZE: the game opens a SIZE window titled KIVO and
# ends with status 0 on Escape, without a sanitizer report.
play_and_quit() {
  start_kivo "$1" "$2"
  focus_window || fail "answers '$1': no window titled KIVO appeared"
  xdo getwindowgeometry "$WINDOW_ID" | grep -q "Geometry: $3" || fail "answers '$1': window is not $3"
  quit_with_escape
  [ "$KIVO_STATUS" -eq 0 ] || fail "answers '$1': status $KIVO_STATUS"
  no_sanitizer_report || fail "answers '$1': sanitizer report"
}

echo "-- dialogue: the default window and a mode from the screen's list"
play_and_quit "Y" . 1600x1400
grep -q "Do you wanna play in fullscreen? y/n: " "$WORK/stdout" || fail "no dialogue on stdout"
play_and_quit "n 0" . 1920x1440  # Xvfb reports one mode, the screen size
grep -q " 0: 1920x1440$" "$WORK/stdout" || fail "mode list does not show 0: 1920x1440"

echo "-- textures, font atlas, models, music and sounds: missing, empty, not what they claim, cut short, bytes flipped"
game="$WORK/game"
copy_game "$game"
# flip FILE: every 97th byte of FILE turned to 0xff.
flip() { perl -0777 -pi -e 's/(.{96})./$1\xff/gs' "$1"; }
for file in Textur/asphalt2.jpg Objekte/hausreihen_zusammen/hausreihe_wuerfel_alleCords.obj Audio/best.wav; do
  flip "$game/$file"
done
head -c 2000 Objekte/mouse/mouse_new.obj > "$game/Objekte/mouse/mouse_new.obj"
head -c 5000 Audio/finish.wav > "$game/Audio/finish.wav"
rm "$game/Textur/coin.jpg" "$game/Textur/font8.jpg" "$game/Objekte/coin/coin.obj"
echo "not music" > "$game/Audio/ffxiii.WAV"
rm "$game/Audio/coin.wav"
echo "not a sound" > "$game/Audio/hit.wav"
: > "$game/Textur/grass.jpg"
echo "not an image" > "$game/Textur/metall.jpg"
head -c 300 Textur/sterne.jpg > "$game/Textur/sterne.jpg"
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1 2\nl 2 3\n' > "$game/Objekte/grid/grid.obj"
printf 'v 0 0 0\nv 1 0 0\n' > "$game/Objekte/cat/sphere.obj"
echo "not a model" > "$game/Objekte/corridor/corridor.obj"
SDL_AUDIODRIVER=dummy play_and_quit "x" "$game" 1600x1400  # a device that can decode the music
# reported HEADLINE FILE: the run's stderr has HEADLINE on a line of its own,
# followed by the indented line with the path of FILE tried and the reason.
reported() { grep -A1 -xF "$1" "$WORK/stderr" | sed -n 2p | grep -q "^  /.*/$2: ."; }
for texture in coin font8 grass metall sterne; do
  [ "$(grep -cxF "Failed to load texture: Textur/$texture.jpg" "$WORK/stderr")" -eq 1 ] || fail "not one line for $texture.jpg"
  reported "Failed to load texture: Textur/$texture.jpg" "Textur/$texture.jpg" || fail "no reason for $texture.jpg"
done
reported "Failed to load music: Audio/ffxiii.WAV" "Audio/ffxiii.WAV" || fail "no report for the music"
for sound in coin hit finish; do
  [ "$(grep -cxF "Failed to load sound: Audio/$sound.wav" "$WORK/stderr")" -eq 1 ] || fail "not one line for $sound.wav"
  reported "Failed to load sound: Audio/$sound.wav" "Audio/$sound.wav" || fail "no reason for $sound.wav"
done
! grep -q "Failed to load sound: Audio/best.wav" "$WORK/stderr" || fail "a whole sound, a few samples flipped, refused"
for model in coin/coin grid/grid cat/sphere corridor/corridor; do
  reported "Failed to load model: Objekte/$model.obj" "Objekte/$model.obj" || fail "no report for $model.obj"
done

echo "-- a shader cut short, and one with bytes flipped: named, and the game stops with status 255"
for cut in "head -c 200" "flip"; do
  copy_game "$game"
  if [ "$cut" = flip ]; then flip "$game/Shader/normals.frag"; else head -c 200 Shader/normals.frag > "$game/Shader/normals.frag"; fi
  start_kivo /dev/null "$game" --window=320x280
  wait_exit 60
  [ "$KIVO_STATUS" -eq 255 ] && no_sanitizer_report || fail "shader $cut: status $KIVO_STATUS or a sanitizer report"
  grep -qxF "Failed to compile shader" "$WORK/stdout" || fail "shader $cut: no message"
done

echo "-- a full disk: each save refused in one line, the old settings whole, and the game plays on"
disk=$WORK/disk
mkdir -p "$disk"
if mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
  trap 'umount -l "$disk"; cleanup' EXIT
  mkdir -p "$disk/kivo" && echo '{"version": 1, "quality": "balanced"}' | tee "$disk/kivo/settings.json" > "$WORK/before"
  dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null || true
  XDG_CONFIG_HOME=$disk start_kivo /dev/null . --window=320x280 --quality=low
  focus_window && poll 60 layouts_at_least 2 || fail "full disk: the game did not run"
  xdo key F6 F6 F6
  poll 10 grep -q "No space left on device" "$WORK/stderr" && frames_pass || fail "full disk: no line, or no frame after it"
  quit_with_escape
  [ "$KIVO_STATUS" -eq 0 ] && no_sanitizer_report || fail "full disk: status $KIVO_STATUS or a sanitizer report"
  [ "$(grep -c "^kivo: " "$WORK/stderr")" -eq 1 ] || fail "full disk: not one line"
  cmp -s "$disk/kivo/settings.json" "$WORK/before" && [ -z "$(find "$disk/kivo" -name '*.tmp')" ] ||
    fail "full disk: the settings changed, or a temporary file was left"
else
  echo "(no tmpfs can be mounted here: skipped)"
fi

echo "-- the window's close button while sprinting, and SIGTERM with the music playing"
start_kivo "x"
focus_window || fail "no window"
xdo keydown w keydown space
sleep 1
"$X_EVENT" close "$WINDOW_ID"
wait_exit 60
xdo keyup space keyup w
[ "$KIVO_STATUS" -eq 0 ] || fail "closing the window: status $KIVO_STATUS"
no_sanitizer_report || fail "closing the window: sanitizer report"
SDL_AUDIODRIVER=dummy start_kivo "x"  # the dummy driver lets the music start without a sound card
focus_window || fail "no window"
kill -TERM "$KIVO_PID"
wait_exit 30
[ "$KIVO_STATUS" -ne 0 ] || fail "SIGTERM did not end the game"
echo "ok"
