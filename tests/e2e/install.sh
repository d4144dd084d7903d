# The game away from its source tree. Started from / as built, it finds its
# files through the build tree; installed, moved elsewhere and started from
# /, it finds them beside itself, as a desktop menu starts it: with nothing
# on its standard input. Started from / where nothing can find its files, it
# names what it tried. (The Debian package: package.sh.)
source "$(dirname "$0")/lib/kivo.bash"
build_dir=$(dirname "$(dirname "$KIVO")")  # bin/kivo in the build tree

# plays_from_root WHAT: the game at $KIVO, started from / with standard input
# at its end, opens its window with every file found and ends on Escape.
plays_from_root() {
  start_kivo /dev/null /
  focus_window || fail "$1: no window titled KIVO"
  poll 60 layouts_at_least 2 || fail "$1: the game did not run"
  quit_with_escape
  [ "$KIVO_STATUS" -eq 0 ] || fail "$1: status $KIVO_STATUS"
  ! grep -q "Failed" "$WORK/stderr" || fail "$1: $(grep Failed "$WORK/stderr" | head -n 1)"
  no_sanitizer_report || fail "$1: sanitizer report"
}

echo "-- the build tree's own binary, started from /"
plays_from_root "the build tree's binary"

echo "-- installed, moved, started from /"
cmake --install "$build_dir" --prefix "$WORK/installed" >/dev/null
mv "$WORK/installed" "$WORK/moved"
for file in bin/kivo share/kivo/Shader/normals2.frag share/applications/example.c_seed_9de24a69.kivo.desktop \
            share/icons/hicolor/256x256/apps/kivo.png share/metainfo/example.c_seed_9de24a69.kivo.metainfo.xml \
            share/man/man6/kivo.6.gz share/doc/kivo/copyright share/doc/kivo/changelog.gz; do
  [ -f "$WORK/moved/$file" ] || fail "the installed tree has no $file"
done
KIVO=$WORK/moved/bin/kivo
plays_from_root "the moved installation"

echo "-- nowhere to find the files"
mkdir "$WORK/bin"
cp "$WORK/moved/bin/kivo" "$WORK/bin/kivo"
(cd / && "$WORK/bin/kivo" < /dev/null > "$WORK/stdout" 2> "$WORK/stderr") && fail "it ran without its files"
grep -qx "Failed to open File" "$WORK/stderr" || fail "no message for the missing shader"
grep -qx "  /Shader/depthShader.vert: cannot be opened; looked for the game's folders Objekte, Textur, Shader and Audio in /, $WORK/share/kivo and $WORK/share/games/kivo" \
  "$WORK/stderr" || fail "no line naming the path tried and the folders searched: $(tail -n 1 "$WORK/stderr")"
echo "ok"
