# The game away from its source tree. Started from / as built, it finds its
# files through the build tree; installed, moved elsewhere and started from
# /, it finds them beside itself, as a desktop menu starts it: with nothing
# on its standard input. Started from / where nothing can find its files, it
# names what it tried. (The Debian package: package.sh.)
source "$(dirname "$0")/lib/kivo.bash"
build_dir=$(dirname "$(dirname "$KIVO")")  # bin/kivo in the build tree

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
