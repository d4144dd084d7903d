# The quality chosen on the command line and with F6 reaches the running
# game: below full quality the HUD names the level on its line, at full it
# does not. The window is 640x560, where that line's text lies in the box
# read below.
source "$(dirname "$0")/lib/kivo.bash"

# quality_line_ink: how many pixels of the HUD's text colour stand where the
# quality line goes.
quality_line_ink() {
  window_shot "$WORK/shot.png"
  ink_in "$WORK/shot.png" 240x20+4+338
}
shows_quality_line() { [ "$(quality_line_ink)" -gt 50 ]; }
lacks_quality_line() { [ "$(quality_line_ink)" -lt 5 ]; }

echo "-- --quality=low"
start_kivo /dev/null . --window=640x560 --quality=low
focus_window || fail "no window"
poll 30 shows_quality_line || fail "--quality=low: no quality line ($(quality_line_ink) pixels)"
quit_with_escape

echo "-- --quality=full, then F6"
start_kivo /dev/null . --window=640x560 --quality=full
focus_window || fail "no window"
poll 60 layouts_at_least 2 || fail "the game did not run"
frames_pass || fail "no frame drawn"
lacks_quality_line || fail "--quality=full: a quality line ($(quality_line_ink) pixels)"
xdo key F6  # full -> balanced
poll 30 shows_quality_line || fail "F6 to balanced: no quality line"
quit_with_escape
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
no_sanitizer_report || fail "sanitizer report"
echo "ok"
