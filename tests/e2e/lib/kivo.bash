# Helpers for end-to-end runs of the real kivo binary on a virtual X screen.
# Sourced by the tests in the folder above; each test gets the binary as $1 and
# the X event helper (kivo_x_event) as $2, and runs from the repository root.
#
# Every test runs on a screen of its own, KIVO_SCREEN_SIZE (default
# 1920x1440) when it sets one before sourcing this, so that tests can run
# side by side: the test starts itself again there.

set -euo pipefail
source scripts/lib.bash
if [ -z "${KIVO_OWN_SCREEN:-}" ]; then
  KIVO_OWN_SCREEN=1 on_screen "${KIVO_SCREEN_SIZE:-1920x1440}" bash "$0" "$@"
  exit
fi

KIVO=$(realpath "${1:?usage: TEST.sh path/to/kivo [path/to/kivo_x_event]}")
X_EVENT=${2:-}
WORK=$(mktemp -d)
KIVO_PID=""
trap 'cleanup' EXIT
private_home "$WORK/home"

OTHER_PIDS=()  # more games a test runs at the same time
cleanup() {
  local pid
  for pid in "$KIVO_PID" "${OTHER_PIDS[@]}"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null || true; fi
  done
  rm -rf "$WORK"
}

fail() {
  echo "FAIL: $*" >&2
  for f in "$WORK"/stdout "$WORK"/stderr; do
    [ -f "$f" ] && { echo "--- $(basename "$f") (last lines)"; tail -n 20 "$f"; } >&2
  done
  exit 1
}

# copy_game DIR: a private copy of the asset folders, for tests that break
# files: those the build laid out beside the game's bin/.
copy_game() {
  mkdir -p "$1"
  cp -rL "$(dirname "$KIVO")"/../share/kivo/* "$1/"
}

# no_sanitizer_report: the run's stderr holds no AddressSanitizer, LeakSanitizer
# or UndefinedBehaviorSanitizer report.
no_sanitizer_report() {
  ! grep -qE "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$WORK/stderr"
}

# start_kivo INPUT [DIR [OPTION...]]: starts kivo in DIR (default: the
# repository root) with the OPTIONs and INPUT as its standard input: the
# words given, or a FIFO's or a device's path (/dev/null: no input at all, as
# from a desktop menu).
start_kivo() {
  local input=$1 dir=${2:-.}
  shift $(($# < 2 ? $# : 2))
  [ -p "$input" ] || [ -c "$input" ] || { printf '%s\n' "$input" > "$WORK/stdin"; input=$WORK/stdin; }
  (cd "$dir" && exec "$KIVO" "$@" < "$input" > "$WORK/stdout" 2> "$WORK/stderr") &
  KIVO_PID=$!
}

# wait_exit SECONDS: waits for kivo to end and sets KIVO_STATUS.
wait_exit() {
  poll "$1" bash -c "! kill -0 $KIVO_PID 2>/dev/null" || fail "kivo did not end within $1 s"
  set +e; wait "$KIVO_PID"; KIVO_STATUS=$?; set -e
  KIVO_PID=""
}

# quit_with_escape: holds Escape until kivo has ended, and sets KIVO_STATUS.
quit_with_escape() {
  escape_until_gone "$KIVO_PID" || fail "Escape did not end kivo"
  wait_exit 5
}

# plays_from_root WHAT: the game at $KIVO, started from / with standard input
# at its end, as a desktop menu starts it, opens its window with every file
# found and ends on Escape.
plays_from_root() {
  start_kivo /dev/null /
  focus_window || fail "$1: no window titled KIVO"
  poll 60 layouts_at_least 2 || fail "$1: the game did not run"
  quit_with_escape
  [ "$KIVO_STATUS" -eq 0 ] || fail "$1: status $KIVO_STATUS"
  ! grep -q "Failed" "$WORK/stderr" || fail "$1: $(grep Failed "$WORK/stderr" | head -n 1)"
  no_sanitizer_report || fail "$1: sanitizer report"
}

# layouts_at_least N: kivo has printed N coin layouts (one at start-up, one per
# restart); the first may follow the dialogue's last question on its line.
layouts_at_least() { [ "$(grep -o 'COIN 0 ' "$WORK/stdout" | wc -l)" -ge "$1" ]; }

# ---- Playing ----------------------------------------------------------------

# pitch PIXELS, yaw PIXELS: move the pointer up (down when negative), or left
# (right), in steps of 100, which the held pointer turns into a turn of the
# view: 0.04 / 60 radians a pixel.
move_pointer() {
  local dx=$1 dy=$2 step
  while [ "$dx" -ne 0 ] || [ "$dy" -ne 0 ]; do
    step=$(( dx + dy > 100 ? 100 : dx + dy < -100 ? -100 : dx + dy ))
    if [ "$dx" -ne 0 ]; then xdo mousemove_relative -- "$step" 0; dx=$((dx - step))
    else xdo mousemove_relative -- 0 "$step"; dy=$((dy - step)); fi
    sleep 0.05
  done
}
pitch() { move_pointer 0 "$((-$1))"; }
yaw() { move_pointer "$((-$1))" 0; }

# fly_to_finish [FINISHED...]: flies the cat of the focused game, standing at
# the start, along the one height that passes every slab, between the
# standing ones' tops (7) and the hanging ones' bottoms (8): up 0.165 radians
# to (0, 7.5, -215), level again, and a sprint straight to the finish, until
# the command FINISHED succeeds (by default: the records file is there). The
# game turns the view a frame after it reads the pointer, so two frames pass
# after each turn before the cat moves: a slow frame would otherwise take its
# step the old way, and the sprint's first step upwards ends above the gap.
# The climb is shallow, so a frame's step more or less of it leaves the
# height within a tenth of a unit.
fly_to_finish() {
  [ $# -gt 0 ] || set -- test -f "$XDG_DATA_HOME/kivo/records.json"
  pitch 248
  frames_pass && frames_pass || return 1
  xdo keydown w; sleep 1.52; xdo keyup w
  pitch -248
  frames_pass && frames_pass || return 1
  xdo keydown w keydown space
  poll 30 "$@" || { xdo keyup space keyup w; return 1; }
  xdo keyup space keyup w
}

# kept_score: the best run's score the records file keeps.
kept_score() { jq -r .best.score "$XDG_DATA_HOME/kivo/records.json"; }

# ---- Screens, window managers and what the window shows ---------------------

# start_window_manager: openbox on this display, as a desktop would have; returns
# once it manages windows.
start_window_manager() {
  openbox >/dev/null 2>&1 &
  poll 30 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" ||
    fail "openbox did not start"
}

# client_box: "X Y W H" of the game window's drawable area, X and Y on the screen.
client_box() {
  xwininfo -id "$WINDOW_ID" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
                                   /^  Width/ {w = $NF} /^  Height/ {h = $NF} END {print x, y, w, h}'
}

# screen_size: "W H" of this display.
screen_size() { xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}'; }

# on_screen_wholly: the game window lies wholly on the screen (a window
# manager moves a window it restores, and only then does it stand still).
on_screen_wholly() {
  local x y w h sw sh
  read -r x y w h < <(client_box)
  read -r sw sh < <(screen_size)
  (( x >= 0 && y >= 0 && x + w <= sw && y + h <= sh ))
}

# window_shot FILE: what the game window shows, cut from the screen as a player sees it.
window_shot() {
  local x y w h
  poll 10 on_screen_wholly || fail "the window does not lie wholly on the screen: $(client_box)"
  read -r x y w h < <(client_box)
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
}

# picture_box FILE: "X Y W H" of the picture within FILE, the pure black bars
# around it trimmed away (the darkest sky is never pure black).
picture_box() {
  convert "$1" -bordercolor black -border 1 -fuzz 0.5% -trim -format '%w %h %X %Y' info: |
    awk '{ sub(/^\+/, "", $3); sub(/^\+/, "", $4); print $3 - 1, $4 - 1, $1, $2 }'
}

# frames_pass: the game has drawn a new frame since this call (its clock on
# the HUD changes with every frame, so its picture does too).
window_signature() { window_shot "$WORK/signature.png"; identify -format '%#' "$WORK/signature.png"; }
window_changed() { [ "$(window_signature)" != "$SIGNATURE_BEFORE" ]; }
frames_pass() { SIGNATURE_BEFORE=$(window_signature); poll 30 window_changed; }

# view_change A B: how far the views in A and B differ (normalised RMSE, 0 ..
# 1): small while the view holds still, large once it turns. It compares what
# the view shows, the top two fifths of the picture (the sky, the houses and
# the walls, above the cat), as a coarse 32 x 11 mosaic: not what moves in it,
# the cat's trail of embers, which grows for seconds after the start and
# reaches the top of the cat and no further, nor the HUD's lines below it;
# the distant spinning coins and the slowly turning sky barely show.
view_change() {
  convert "$1" -gravity north -crop 100%x40%+0+0 +repage -resize '32x11!' "$WORK/mosaic-a.png"
  convert "$2" -gravity north -crop 100%x40%+0+0 +repage -resize '32x11!' "$WORK/mosaic-b.png"
  { compare -metric RMSE "$WORK/mosaic-a.png" "$WORK/mosaic-b.png" null: 2>&1 || true; } | sed 's/.*(\(.*\))/\1/'
}

# ink_in SHOT WxH+X+Y: how many pixels of the HUD's text colour SHOT holds in
# the box.
ink_in() {
  convert "$1" -crop "$2" +repage -fuzz 15% -fill black +opaque "rgb(255,247,230)" \
    -fill white -opaque "rgb(255,247,230)" -format '%[fx:round(mean * w * h)]' info:
}

# paused_on_screen: the game window shows the pause: "PAUSED" in the HUD's
# text colour where the pause screen puts it, whatever the window's size.
paused_on_screen() {
  local w h
  window_shot "$WORK/pause.png"
  read -r w h < <(identify -format '%w %h\n' "$WORK/pause.png")
  [ "$(ink_in "$WORK/pause.png" "$((w * 300 / 800))x$((h * 50 / 600))+$((w * 250 / 800))+$((h * 50 / 600))")" -gt 100 ]
}

# play_on: the game shows the pause; P goes on, and frames pass again.
play_on() {
  poll 20 paused_on_screen || fail "the game is not paused"
  xdo key p
  frames_pass || fail "no frame after P"
}

# ghostly_pixels SHOT: how many pixels of SHOT have the ghost's pale blue.
ghostly_pixels() {
  convert "$1" -fx 'b > 0.47 && b > r + 0.16 && g > r + 0.08 ? 1 : 0' -format '%[fx:round(mean * w * h)]' info:
}

# picture_fits SHOT WHAT: the picture in SHOT (a window_shot) has the game's
# 8:7 shape, touches two opposite sides of the window and is centred between
# the black bars.
picture_fits() {
  local w h px py pw ph
  read -r w h < <(identify -format '%w %h\n' "$1")
  read -r px py pw ph < <(picture_box "$1")
  (( pw * 7 - ph * 8 <= 8 && ph * 8 - pw * 7 <= 8 )) || fail "$2: the picture is ${pw}x${ph}, not 8:7, in a ${w}x${h} window"
  (( pw == w || ph == h )) || fail "$2: the ${pw}x${ph} picture is not as large as the ${w}x${h} window allows"
  (( px * 2 - (w - pw) <= 1 && (w - pw) - px * 2 <= 1 && py * 2 - (h - ph) <= 1 && (h - ph) - py * 2 <= 1 )) ||
    fail "$2: the ${pw}x${ph} picture at +${px}+${py} is not centred in the ${w}x${h} window"
}

# cpu_ticks: CPU time kivo has used so far, all its threads, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$KIVO_PID/stat"; }
# sleeping: kivo uses (almost) no CPU over the next second; a frame of the
# game takes several ticks.
sleeping() {
  local ticks
  ticks=$(cpu_ticks)
  sleep 1
  [ $(( $(cpu_ticks) - ticks )) -le 2 ]
}

# is_minimised: the window manager shows the game window as an icon.
is_minimised() { xprop -id "$WINDOW_ID" WM_STATE | grep -q 'window state: Iconic'; }

# held_still WHAT A B: the views in shots A and B are the same, within what
# the moving parts of the scene change.
held_still() {
  local change
  change=$(view_change "$2" "$3")
  echo "$1: view change $change"
  awk -v c="$change" 'BEGIN { exit !(c < 0.03) }' || fail "$1: the view turned (change $change)"
}
