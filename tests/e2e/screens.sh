# The default window on the desktops players have. On a 1920x1080 and a
# 1366x768 screen, with and without a window manager, the game opens a window
# that lies wholly on the screen, says so in one console line, and shows the
# whole picture in the game's 8:7 shape; made wider or taller by the window
# manager, it keeps the picture whole and centred between black bars.
if [ -z "${KIVO_SCREEN:-}" ]; then
  source scripts/lib.bash
  for screen in 1920x1080 1366x768; do
    for manager in none openbox; do
      echo "-- a ${screen} screen, window manager: ${manager}"
      KIVO_OWN_SCREEN=1 KIVO_SCREEN=$screen KIVO_MANAGER=$manager on_screen "$screen" bash "$0" "$@" || exit 1
    done
  done
  echo "ok"
  exit
fi
source "$(dirname "$0")/lib/kivo.bash"

[ "$KIVO_MANAGER" = openbox ] && start_window_manager
start_kivo "x"
focus_window || fail "no window titled KIVO"
frames_pass || fail "no frame drawn"
on_screen_wholly || fail "the window ($(client_box)) reaches beyond the $(screen_size) screen"
read -r x y w h < <(client_box)
read -r sw sh < <(screen_size)
[ "$(grep -c "^kivo: the 1600x1400 window does not fit this ${sw}x${sh} desktop: opening it at ${w}x${h}$" "$WORK/stderr")" -eq 1 ] ||
  fail "no console line for the ${w}x${h} window"
window_shot "$WORK/shot.png"
picture_fits "$WORK/shot.png" "the window as it opened"

# Resizing is what window managers and their players do.
if [ "$KIVO_MANAGER" = openbox ]; then
  for size in "$w $((h / 2))" "$((w / 2)) $h"; do
    xdo windowsize "$WINDOW_ID" $size
    poll 10 bash -c "xwininfo -id $WINDOW_ID | grep -q 'Width: ${size% *}$'" || fail "the window did not become ${size/ /x}"
    frames_pass && frames_pass || fail "no frame drawn at ${size/ /x}"
    window_shot "$WORK/shot.png"
    picture_fits "$WORK/shot.png" "the window resized to ${size/ /x}"
  done
fi
quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
no_sanitizer_report || fail "sanitizer report"
