#!/usr/bin/env bash
# The game's layers include only the headers of those below them: base, gpu,
# scene, render, play, app, each above the ones before it; none includes the
# tests, the benchmarks or the tools. Names every include that breaks the
# order, and fails if there is one. Run from the repository root.
set -euo pipefail
layers=(base gpu scene render play app)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

broken=0
for layer in "${layers[@]}"; do
  while IFS=: read -r file line header; do
    folder=${header%%/*}
    if [[ $folder == tests || $folder == bench || $folder == tools ]] ||
       [[ -n ${rank[$folder]:-} && ${rank[$folder]} -gt ${rank[$layer]} ]]; then
      echo "$file:$line: $layer/ includes \"$header\", from a layer above it"
      broken=1
    fi
  done < <(grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$layer"/*.h "$layer"/*.cpp |
           sed 's/^\([^:]*:[0-9]*\):.*"\(.*\)".*/\1:\2/')
done
[ $broken -eq 0 ] && echo "every include keeps to the layers: ${layers[*]}"
exit $broken
