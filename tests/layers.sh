#!/usr/bin/env bash
# The game's layers include only the headers of those below them: base, gpu,
# scene, render, play, app, each above the ones before it; none includes the
# tests, the benchmarks or the tools. An include is judged by the file it
# names once resolved, so a relative path ("../play/input.h") counts as the
# folder it reaches, and a header of the game named in angle brackets, where
# only system headers belong, is wrong by itself. Names every include that
# breaks these rules, and fails if there is one. Run from the repository
# root.
set -euo pipefail
layers=(base gpu scene render play app)
project=(base gpu scene render play app tests bench tools)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done
is_project() { local f; for f in "${project[@]}"; do [ "$1" = "$f" ] && return 0; done; return 1; }

broken=0
say() { echo "$1"; broken=1; }
for layer in "${layers[@]}"; do
  for file in "$layer"/*.h "$layer"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS=: read -r line text; do
      if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<([^\>]*)\> ]]; then
        header=${BASH_REMATCH[1]}
        is_project "${header%%/*}" && say "$file:$line: <$header> is a header of the game: name it in quotes"
        continue
      fi
      [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([^\"]*)\" ]] || continue
      header=${BASH_REMATCH[1]}
      # A path with no folder, or one that starts with . or .., is found
      # beside the file first; any other from the root of the source tree.
      if [[ $header != */* || $header == ./* || $header == ../* ]]; then
        resolved=$(realpath -m --relative-to=. "$(dirname "$file")/$header")
      else
        resolved=$(realpath -m --relative-to=. "$header")
      fi
      folder=${resolved%%/*}
      if [[ $resolved == ../* ]]; then
        say "$file:$line: $layer/ includes \"$header\", outside the source tree"
      elif [[ $folder == tests || $folder == bench || $folder == tools ]] ||
           [[ -n ${rank[$folder]:-} && ${rank[$folder]} -gt ${rank[$layer]} ]]; then
        say "$file:$line: $layer/ includes \"$header\", from a layer above it ($folder/)"
      fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  done
done
[ $broken -eq 0 ] && echo "every include keeps to the layers: ${layers[*]}"
exit $broken
