# Shell helpers shared by test.sh, play.sh, the end-to-end tests and the
# scripts beside this file. Source it from the repository root.

# on_screen [WxH] COMMAND...: runs COMMAND on a virtual X screen (default
# 1920x1440). -noreset: an X server resets when its last client goes, and a
# program that connects during the reset is refused (GLFW then fails to start).
# -ac: any user may draw on it, as a test that runs the game as another user
# needs.
on_screen() {
  local size=1920x1440
  [[ $1 =~ ^[0-9]+x[0-9]+$ ]] && { size=$1; shift; }
  xvfb-run -a -s "-screen 0 ${size}x24 -noreset -ac" "$@"
}

# stage WHAT COMMAND...: says in one line what runs and where its output
# goes, runs COMMAND with its output in that log, and on failure shows the
# log's last lines.
stage() {
  local what=$1 log
  shift
  mkdir -p build-logs
  log=build-logs/$(printf '%s' "$what" | tr -cs 'a-zA-Z0-9' '-').log
  echo "== $what (log: $log)"
  "$@" > "$log" 2>&1 || { tail -n 40 "$log"; echo "== failed: $what (log: $log)"; return 1; }
}

# compile DIR [TARGET...]: builds in DIR, showing cmake's own progress lines.
compile() {
  local dir=$1
  shift
  echo "== building in $dir"
  cmake --build "$dir" -j"$(nproc)" ${1:+--target "$@"}
}

# release_build [TARGET...]: installs what is missing and builds the Release
# build in $build (KIVO_BUILD_DIR, default: build), tests and tools included.
build=${KIVO_BUILD_DIR:-build}
release_build() {
  ./setup.sh
  stage "configuring the Release build" cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
  compile "$build" "$@"
}

# game_build: installs what the game alone needs and builds it in build-game.
game_build() {
  ./setup.sh game
  stage "configuring the game" cmake -S . -B build-game -DCMAKE_BUILD_TYPE=Release -DKIVO_TESTS=OFF
  compile build-game kivo
}

# sanitizer_build [TARGET...]: the AddressSanitizer and UndefinedBehaviorSanitizer
# build in build-sanitize, and the environment its programs run with. It
# compiles file by file: a unity build lets a file use what another file of
# its batch included, so only one of the two builds may hide a missing include.
sanitizer_build() {
  ./setup.sh
  stage "configuring the sanitizer build" cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVO_SANITIZE=ON \
    -DCMAKE_UNITY_BUILD=OFF
  compile build-sanitize "$@"
  sanitizer_environment
}
sanitizer_environment() {
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
}

# private_home DIR: from now on the game keeps its settings and records
# below DIR, never in the real home; Mesa's shader cache stays the real one.
private_home() {
  export XDG_CACHE_HOME=${XDG_CACHE_HOME:-$HOME/.cache}
  export HOME=$1 XDG_CONFIG_HOME=$1/config XDG_DATA_HOME=$1/data
  mkdir -p "$1"
}

# xdo ARGS...: xdotool, retried briefly, since a single X connection can fail
# while the machine is busy.
xdo() {
  local try
  for try in 1 2 3; do xdotool "$@" && return 0; sleep 0.3; done
  return 1
}

# poll SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails
# after SECONDS.
poll() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# focus_window: once the "KIVO" window is mapped (within 120 s), sets
# WINDOW_ID and gives it the keyboard. Keys go to it with plain xdotool key,
# keydown and keyup: the XTEST events GLFW sees.
find_window() { WINDOW_ID=$(xdotool search --onlyvisible --name '^KIVO$' 2>/dev/null | head -n 1); [ -n "$WINDOW_ID" ]; }
focus_window() { poll 120 find_window && xdo windowfocus --sync "$WINDOW_ID"; }

# escape_until_gone PID: holds Escape, which the game reads once a frame,
# until process PID has ended (60 s at most).
escape_until_gone() {
  local deadline=$((SECONDS + 60))
  while kill -0 "$1" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    xdo keydown Escape; sleep 0.5; xdo keyup Escape
  done
  ! kill -0 "$1" 2>/dev/null
}
