# kivo --benchmark: the autopilot's frames to the finish, a JSON report that
# jq reads with a GPU and a CPU time for every pass that ran (the sprint's
# blur among them), no question asked, nothing kept; the summary on stderr
# while the report takes stdout, and on stdout with a file for the report.
KIVO_SCREEN_SIZE=800x600
source "$(dirname "$0")/lib/kivo.bash"

# A tiny window draws quickly: all the frames, to the finish.
start_kivo /dev/null . --benchmark --window=96x84
wait_exit 200
[ "$KIVO_STATUS" -eq 0 ] || fail "status $KIVO_STATUS"
jq -e '.frames == 1000 and .window.width == 96 and .quality == "full" and .course.finished and
       .frame_ms.median > 0 and .frame_ms.p95 >= .frame_ms.median and .live_particles.max > 0' \
  "$WORK/stdout" >/dev/null || fail "report: $(head -c 400 "$WORK/stdout")"
jq -e '.passes | has("shadow") and has("scene") and has("particles") and has("copy") and has("blur") and has("hud")' \
  "$WORK/stdout" >/dev/null || fail "passes: $(jq -c '.passes | keys' "$WORK/stdout")"
jq -e '[.passes[] | (.gpu_ms | type == "number") and .cpu_ms > 0] | all' "$WORK/stdout" >/dev/null ||
  fail "a pass without its times: $(jq -c .passes "$WORK/stdout")"
grep -q '^KIVO benchmark: ' "$WORK/stderr" || fail "no summary on stderr"
[ -z "$(find "$HOME" -mindepth 1 -not -path "$XDG_CACHE_HOME*")" ] || fail "kept: $(find "$HOME" -mindepth 1)"
no_sanitizer_report || fail "sanitizer report"

echo "-- KIVO_BENCHMARK_FRAMES, a file for the report, the summary on stdout"
KIVO_BENCHMARK_FRAMES=3 start_kivo /dev/null . --benchmark="$WORK/report.json" --window=96x84
wait_exit 60
[ "$KIVO_STATUS" -eq 0 ] && jq -e '.frames == 3' "$WORK/report.json" >/dev/null || fail "no report in the file"
grep -q "report written to $WORK/report.json" "$WORK/stdout" || fail "stdout: $(cat "$WORK/stdout")"
echo "ok"
