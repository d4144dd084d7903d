# A mode picked from the list sets the window size: Xvfb reports one mode, the
# screen size, listed as number 0.
source "$(dirname "$0")/lib/kivo.bash"

start_kivo "n 0"
wait_window
grep -q " 0: 1920x1440$" "$WORK/stdout" || fail "mode list does not show 0: 1920x1440"
geometry=$(xdo getwindowgeometry "$WINDOW_ID")
echo "$geometry" | grep -q "Geometry: 1920x1440" || fail "window is not 1920x1440: $geometry"
escape_until_exit
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
echo "ok"
