# The command line, as any Linux program's: --help and --version answer and
# end with status 0; an unknown option or a bad value gets one line naming
# it and status 2; --window and --fullscreen open their window without the
# console dialogue.
source "$(dirname "$0")/lib/kivo.bash"

# answers EXPECTED_STATUS ARGS...: runs kivo with ARGS (no window must open)
# and checks its exit status; its output is left in $WORK/stdout and stderr.
answers() {
  local expected=$1 status=0
  shift
  timeout 20 "$KIVO" "$@" < /dev/null > "$WORK/stdout" 2> "$WORK/stderr" || status=$?
  [ "$status" -eq "$expected" ] || fail "kivo $*: status $status, not $expected"
}

answers 0 --help
grep -q "^Usage: kivo" "$WORK/stdout" && grep -q -- "--fullscreen=WxH" "$WORK/stdout" || fail "--help: no usage"
answers 0 --version
grep -qxE "KIVO [0-9]+\.[0-9]+\.[0-9]+" "$WORK/stdout" || fail "--version: $(cat "$WORK/stdout")"
for bad in --bogus -x play --window=0x480 --window=640 --fullscreen=large "--window=640x480 --fullscreen" --fullscreen=123x45; do
  answers 2 $bad
  [ "$(wc -l < "$WORK/stderr")" -eq 1 ] && grep -qF -- "'${bad##* }" "$WORK/stderr" ||
    fail "kivo $bad: not one line naming it: $(cat "$WORK/stderr")"
  [ ! -s "$WORK/stdout" ] || fail "kivo $bad: wrote to stdout"
done

# opens OPTION GEOMETRY: kivo OPTION opens a GEOMETRY window without asking
# anything and ends with status 0 on Escape.
opens() {
  (exec "$KIVO" "$1" < /dev/null > "$WORK/stdout" 2> "$WORK/stderr") &
  KIVO_PID=$!
  focus_window || fail "kivo $1: no window"
  [ "$(client_box | cut -d' ' -f3-)" = "${2/x/ }" ] || fail "kivo $1: the window is $(client_box), not $2"
  quit_with_escape
  [ "$KIVO_STATUS" -eq 0 ] || fail "kivo $1: status $KIVO_STATUS"
  ! grep -q "Do you wanna" "$WORK/stdout" || fail "kivo $1: the dialogue ran"
  no_sanitizer_report || fail "kivo $1: sanitizer report"
}
opens --window=640x480 640x480
read -r sw sh < <(screen_size)
opens --fullscreen "${sw}x${sh}"  # the virtual screen's one mode
opens "--fullscreen=${sw}x${sh}" "${sw}x${sh}"
echo "ok"
