# Helpers for end-to-end runs of the real kivo binary on the current X display.
# Sourced by the tests in the folder above; each test gets the binary as $1.

set -euo pipefail

KIVO=$(realpath "${1:?usage: test.sh path/to/kivo [path/to/kivo_close_window]}")
CLOSE_WINDOW=${2:-}
WORK=$(mktemp -d)
KIVO_PID=""
trap 'cleanup' EXIT

cleanup() {
  if [ -n "$KIVO_PID" ] && kill -0 "$KIVO_PID" 2>/dev/null; then kill -9 "$KIVO_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}

fail() {
  echo "FAIL: $*" >&2
  for f in "$WORK"/stdout "$WORK"/stderr; do
    [ -f "$f" ] && { echo "--- $(basename "$f") (last lines)"; tail -n 20 "$f"; } >&2
  done
  exit 1
}

# copy_game DIR: a private copy of the asset folders, for tests that break files.
copy_game() {
  mkdir -p "$1"
  for folder in Objekte Textur Shader Audio; do cp -r "$folder" "$1/"; done
}

# no_sanitizer_report: the run's stderr holds no AddressSanitizer, LeakSanitizer
# or UndefinedBehaviorSanitizer report.
no_sanitizer_report() {
  ! grep -qE "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$WORK/stderr"
}

# xdo ARGS...: xdotool, retried briefly, since a single X connection can fail
# while the machine is busy.
xdo() {
  local try
  for try in 1 2 3; do xdotool "$@" && return 0; sleep 0.3; done
  return 1
}

# start_kivo ANSWERS [DIR]: starts kivo in DIR (default: the repository root)
# with ANSWERS as its whole standard input.
start_kivo() {
  printf '%s\n' "$1" > "$WORK/stdin"
  (cd "${2:-.}" && exec "$KIVO" < "$WORK/stdin" > "$WORK/stdout" 2> "$WORK/stderr") &
  KIVO_PID=$!
}

# wait_for SECONDS COMMAND...: polls COMMAND every 0.2 s until it succeeds.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

kivo_running() { kill -0 "$KIVO_PID" 2>/dev/null; }

# wait_window: sets WINDOW_ID once the "KIVO" window is mapped.
find_window() { WINDOW_ID=$(xdotool search --onlyvisible --name '^KIVO$' 2>/dev/null | head -n 1); [ -n "$WINDOW_ID" ]; }
wait_window() {
  wait_for 120 find_window || fail "no window titled KIVO appeared"
  xdo windowfocus --sync "$WINDOW_ID"
}

# hold KEY SECONDS: real key events, held long enough for several frames.
hold() { xdo keydown "$1"; sleep "$2"; xdo keyup "$1"; }

# wait_exit SECONDS: waits for kivo to end and sets KIVO_STATUS.
wait_exit() {
  wait_for "$1" bash -c "! kill -0 $KIVO_PID 2>/dev/null" || fail "kivo did not end within $1 s"
  set +e; wait "$KIVO_PID"; KIVO_STATUS=$?; set -e
  KIVO_PID=""
}

# escape_until_exit: holds Escape until kivo has ended (a frame can be slow).
escape_until_exit() {
  local deadline=$((SECONDS + 60))
  while kivo_running && [ $SECONDS -lt $deadline ]; do hold Escape 0.5; done
  wait_exit 30
}
