# Helpers for end-to-end runs of the real kivo binary on the current X display.
# Sourced by the tests in the folder above; each test gets the binary as $1 and
# the close-window helper as $2, and runs from the repository root.

set -euo pipefail
source scripts/lib.bash

KIVO=$(realpath "${1:?usage: TEST.sh path/to/kivo [path/to/kivo_close_window]}")
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

# start_kivo INPUT [DIR]: starts kivo in DIR (default: the repository root)
# with INPUT as its standard input: the words given, or a FIFO's path.
start_kivo() {
  local input=$1
  [ -p "$input" ] || { printf '%s\n' "$1" > "$WORK/stdin"; input=$WORK/stdin; }
  (cd "${2:-.}" && exec "$KIVO" < "$input" > "$WORK/stdout" 2> "$WORK/stderr") &
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

# layouts_at_least N: kivo has printed N coin layouts (one at start-up, one per restart).
layouts_at_least() { [ "$(grep -c '^COIN 0 ' "$WORK/stdout")" -ge "$1" ]; }
