#!/usr/bin/env bash
# Screenshots of the real game for the README, made by the frame benchmark at
# the game's window size (1600x1400) on a virtual screen and scaled to half:
#
#   docs/screenshot-start.png   the run has just begun
#   docs/screenshot-course.png  mid-course: slabs, shadows, the particle trail
#   docs/screenshot-sprint.png  sprinting, with the motion blur
#   docs/screenshot-end.png     the end screen with the score
#   docs/screenshot-up.png      the real game, the player looking up at the stars
#   docs/screenshot-desktop.png the real game as it opens on a 1920x1080 desktop
#                               with a window manager (openbox)
#   docs/screenshot-ghost.png   the real game racing the ghost of a record run
#   docs/screenshot-pause.png   the real game paused, on the settings screen
#   docs/view-shadow.png, view-depth.png, view-motion.png, view-culling.png
#                               the real game's debug views (F7), saved by F12
#
# The cat flies the course on the play test's autopilot with a fixed game
# step, so the same frames show the same places on every run (coins and
# particles are random). The last one is taken from the game itself, turned
# upwards by real pointer movement. KIVO_BUILD_DIR picks the build directory
# (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.bash
private_home "$(mktemp -d)"

# --look-up FILE, on a virtual screen: the game looking up. 1500 pixels of
# pointer motion upwards turn the view up by 1500 * 0.04 / 60 = 1 radian,
# however long the frames take.
if [ "${1:-}" = "--look-up" ]; then
  echo x | "./$build/bin/kivo" >/dev/null 2>&1 &
  pid=$!
  focus_window
  sleep 2  # the first frame has restarted the run and centred the cursor
  for _ in $(seq 15); do xdotool mousemove_relative -- 0 -100; sleep 0.1; done
  sleep 1
  import -window root -crop 1600x1400+0+0 "$2"
  escape_until_gone $pid
  exit
fi

# --ghost FILE, on a virtual screen: the game with a record of a run that
# stood a second, climbed to 7.5 over 15 units and sprinted straight to the
# finish, two seconds into the next run, the view turned a little left: the
# ghost up ahead, on the right.
if [ "${1:-}" = "--ghost" ]; then
  mkdir -p "$XDG_DATA_HOME/kivo"
  awk 'BEGIN {
    printf "{\"version\": 1, \"best\": {\"score\": 12.87, \"time\": 12.87, \"coins\": 0, \"date\": \"2026-12-07\", "
    printf "\"ghost\": {\"sampleRate\": 30, \"sampleCount\": 387, \"samples\": ["
    for (i = 0; i < 387; ++i) {
      t = i / 30; y = 5; z = -200
      if (t > 1) { s = (t < 2.52 ? t - 1 : 1.52) * 10; y = 5 + s * 0.1645; z = -200 - s * 0.9864 }
      if (t > 2.52) z -= (t - 2.52) * 30
      printf "%s0, %.3f, %.3f", (i ? ", " : ""), y, z
    }
    print "]}}}"
  }' > "$XDG_DATA_HOME/kivo/records.json"
  "./$build/bin/kivo" --window=1600x1400 --quality=full </dev/null >/dev/null 2>&1 &
  pid=$!
  focus_window
  sleep 1  # the first frame has restarted the run
  for _ in 1 2 3 4; do xdotool mousemove_relative -- -100 0; sleep 0.05; done
  sleep 1.6
  import -window root -crop 1600x1400+0+0 "$2"
  escape_until_gone $pid
  exit
fi

# --pause FILE, on a virtual screen: the game paused with P two seconds into
# a run, the mouse sensitivity line chosen and turned up a step.
if [ "${1:-}" = "--pause" ]; then
  "./$build/bin/kivo" --window=1600x1400 --quality=full </dev/null >/dev/null 2>&1 &
  pid=$!
  focus_window
  xdotool keydown w
  sleep 2
  xdotool keyup w key p
  sleep 1
  xdotool key Down key Right
  sleep 1
  import -window root -crop 1600x1400+0+0 "$2"
  escape_until_gone $pid
  exit
fi

# --views DIR, on a virtual screen: each debug view (F7) of the real game as
# its own screenshot key (F12) saved it, into DIR/view-NAME.png. Each picture
# is waited for as a file, never for a fixed time: F12 takes the frame after
# the keys before it have been seen, so the view chosen last is the one in
# the picture, and a picture taken also tells that frames have passed. The
# blur's motion is taken sprinting from the start, the depth views walking;
# the culling view comes with culling on (F8) and its camera frozen while
# the view was turned a quarter to the left, so the course ahead lies
# outside the frozen frustum.
if [ "${1:-}" = "--views" ]; then
  pictures=$HOME/Pictures/kivo
  taken=0
  # snap [NAME]: F12 and the new file, moved to DIR/view-NAME.png (none: dropped).
  snap() {
    xdotool key F12
    taken=$((taken + 1))
    poll 120 bash -c "[ \$(ls '$pictures' 2>/dev/null | wc -l) -ge $taken ]"
    local newest
    newest=$(ls -t "$pictures" | head -n 1)
    if [ -n "${1:-}" ]; then cp "$pictures/$newest" "$dir/view-$1.png"; fi
  }
  # turn PIXELS: the pointer moved left (negative) or right in 15 steps, and
  # two frames drawn since, so the camera has turned.
  turn() {
    for _ in $(seq 15); do xdotool mousemove_relative -- "$(($1 / 15))" 0; sleep 0.05; done
    snap; snap
  }
  dir=$2
  "./$build/bin/kivo" --window=1600x1400 --quality=full </dev/null >/dev/null 2>&1 &
  pid=$!
  focus_window
  snap  # the first frame has restarted the run
  xdotool key F7 key F7 key F7 keydown w keydown space
  sleep 1
  snap motion
  xdotool keyup space key F7 key F7 key F7
  sleep 1
  snap shadow
  xdotool key F7
  snap depth
  xdotool keyup w
  turn -2400  # a quarter turn: 0.04 / 60 radians a pixel
  xdotool key F8 key F7 key F7
  turn 2400
  snap culling
  escape_until_gone $pid
  exit
fi

# --desktop FILE, on a virtual 1920x1080 screen: openbox, and the game as it
# opens there, a few seconds into the first run.
if [ "${1:-}" = "--desktop" ]; then
  openbox >/dev/null 2>&1 &
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.1; done
  echo x | "./$build/bin/kivo" >/dev/null 2>&1 &
  pid=$!
  focus_window
  sleep 5
  import -window root "$2"
  escape_until_gone $pid
  exit
fi

release_build kivo_frame_bench kivo

bench=(on_screen "$build/bench/kivo_frame_bench")
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
on_screen "$0" --look-up "$shots/up.png"
on_screen 1920x1080 "$0" --desktop "$shots/desktop.png"
on_screen "$0" --ghost "$shots/ghost.png"
on_screen "$0" --pause "$shots/pause.png"
on_screen "$0" --views "$shots"

# Frames at 60 per second of game time, counted from 1.
start=40         # 0.65 s in: the first slab ahead, the trail just begun
course=680       # walking, at z -300: the hanging slab ahead and its shadow on the street
sprint=200       # sprinting, at z -290: walls and trail streak, the cat stays sharp

# Where the sprint ends depends only on the route; find it on a small, quick run.
finish=$("${bench[@]}" --size 320x240 --blur --warmup 0 --frames 1200 --floor-frames 1 |
         sed -n 's/.*finished in frame \([0-9]*\).*/\1/p')
if [ -z "$finish" ]; then
  echo "screenshots: the sprint run did not reach the finish" >&2
  exit 1
fi
# Half a second on the end screen, at a frame where "PRESS ENTER TO PLAY" is
# lit: it shows during even whole seconds since the run began (frame 1).
end=$((finish + 30))
while [ $(((end - 1) / 60 % 2)) -ne 0 ]; do end=$((end + 1)); done

"${bench[@]}" --warmup 0 --frames "$course" --floor-frames 1 \
  --shots "$start:$shots/start.png,$course:$shots/course.png" >/dev/null
"${bench[@]}" --blur --warmup 0 --frames "$end" --floor-frames 1 \
  --shots "$sprint:$shots/sprint.png,$end:$shots/end.png" >/dev/null

# Half size, in full colour where that stays under 600 KB; the grain of the
# particles and textures can push a picture over, which then gets 256
# dithered colours instead.
limit=614400
mkdir -p docs
for name in start course sprint end up desktop ghost pause view-shadow view-depth view-motion view-culling; do
  out="docs/screenshot-$name.png"
  [[ $name = view-* ]] && out="docs/$name.png"
  size=800x700
  [ "$name" = desktop ] && size=960x540
  convert "$shots/$name.png" -resize "$size" -strip "$out"
  if [ "$(stat -c %s "$out")" -ge "$limit" ]; then
    convert "$shots/$name.png" -resize "$size" -strip -colors 256 "PNG8:$out"
  fi
  size=$(stat -c %s "$out")
  if [ "$size" -ge "$limit" ]; then
    echo "screenshots: $out is $size bytes, over 600 KB" >&2
    exit 1
  fi
  echo "$out ($((size / 1024)) KB)"
done
