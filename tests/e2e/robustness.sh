# Bad input of every kind gets its clear answer from the real game, and
# nothing crashes: odd dialogue answers, broken shader, texture and model
# files, and a window closed in the middle of play.
source "$(dirname "$0")/lib/kivo.bash"
[ -n "$CLOSE_WINDOW" ] || fail "needs the close-window helper as second argument"

# play_and_quit ANSWERS DIR SIZE: the game opens a SIZE window and ends with
# status 0 on Escape, without a sanitizer report.
play_and_quit() {
  start_kivo "$1" "$2"
  wait_window
  xdo getwindowgeometry "$WINDOW_ID" | grep -q "Geometry: $3" || fail "answers '$1': window is not $3"
  escape_until_exit
  [ "$KIVO_STATUS" -eq 0 ] || fail "answers '$1': status $KIVO_STATUS"
  no_sanitizer_report || fail "answers '$1': sanitizer report"
}

echo "-- dialogue: a negative and an oversized number restart it; input ends at the list"
play_and_quit "n -1 n 99999999999999999999 n" . 1920x1440
[ "$(grep -o "NO VALID INPUT" "$WORK/stdout" | wc -l)" -eq 2 ] || fail "expected two NO VALID INPUT"

echo "-- shaders: missing, empty, not compiling, not linking"
game="$WORK/game"
copy_game "$game"
check_shader_failure() {  # FILE CONTENT EXPECTED
  cp Shader/"$1" "$WORK/keep"
  if [ "$2" = "-" ]; then rm "$game/Shader/$1"; else printf '%s' "$2" > "$game/Shader/$1"; fi
  start_kivo "" "$game"
  wait_exit 120
  cp "$WORK/keep" "$game/Shader/$1"
  [ "$KIVO_STATUS" -eq 255 ] || fail "$1: status $KIVO_STATUS, expected 255"
  cat "$WORK/stdout" "$WORK/stderr" | grep -qF "$3" || fail "$1: no '$3'"
  grep -q "Press Enter" "$WORK/stdout" || fail "$1: no console pause"
  no_sanitizer_report || fail "$1: sanitizer report"
}
check_shader_failure depthShader.vert - "Failed to open File"
check_shader_failure normals2.frag "" "Failed to compile shader"
check_shader_failure blurShader.frag $'#version 330 core\nvoid main() { broken }\n' "Failed to compile shader"
check_shader_failure ParticleShader.frag $'#version 330 core\nout vec4 fragColor;\n' "Failed to link shader program"

echo "-- textures and models: missing, empty, not what they claim, truncated"
rm "$game/Textur/coin.jpg" "$game/Objekte/coin/coin.obj"
: > "$game/Textur/grass.jpg"
echo "not an image" > "$game/Textur/metall.jpg"
head -c 300 Textur/sterne.jpg > "$game/Textur/sterne.jpg"
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1 2\nl 2 3\n' > "$game/Objekte/grid/grid.obj"
printf 'v 0 0 0\nv 1 0 0\n' > "$game/Objekte/cat/sphere.obj"
echo "not a model" > "$game/Objekte/corridor/corridor.obj"
play_and_quit "x" "$game" 1600x1400
for texture in coin grass metall sterne; do
  grep -qF "Failed to load texture: Textur/$texture.jpg" "$WORK/stderr" || fail "no report for $texture.jpg"
done
for model in coin/coin grid/grid cat/sphere corridor/corridor; do
  grep -q "Failed to load model \"Objekte/$model.obj\"" "$WORK/stderr" || fail "no report for $model.obj"
done

echo "-- the window's close button in the middle of play"
start_kivo "x"
wait_window
xdo keydown w keydown space
sleep 1
"$CLOSE_WINDOW" "$WINDOW_ID"
wait_exit 60
xdo keyup space keyup w
[ "$KIVO_STATUS" -eq 0 ] || fail "closing the window: status $KIVO_STATUS"
no_sanitizer_report || fail "closing the window: sanitizer report"
echo "ok"
