# The Debian package as Debian's tools and a player see it. scripts/package.sh
# builds it and fails on any lintian error or warning and on a software-centre
# or menu entry its validators reject; then: the package holds the game in the
# games paths with its manual page, copyright and changelog, depends on the
# libraries the game links, carries the version the game prints, keeps no
# path of the machine that built it and no debug symbols, which are in a
# package of their own; and the game unpacked from it plays, started from /
# with nothing on its standard input, as a desktop menu starts it.
set -- /dev/null  # the game is the package's, found below
source "$(dirname "$0")/e2e/lib/kivo.bash"

bash scripts/package.sh "$WORK/debs" || fail "the package did not build or did not pass its checks"
deb=$(ls "$WORK"/debs/kivo_*.deb)
ddeb=$(ls "$WORK"/debs/kivo-dbgsym_*.ddeb) || fail "no package with the debug symbols"
dpkg-deb -x "$deb" "$WORK/unpacked"
root=$WORK/unpacked/usr
for file in games/kivo share/games/kivo/Shader/normals2.frag share/games/kivo/Audio/ffxiii.WAV \
            share/applications/example.c_seed_9de24a69.kivo.desktop share/icons/hicolor/256x256/apps/kivo.png \
            share/metainfo/example.c_seed_9de24a69.kivo.metainfo.xml share/man/man6/kivo.6.gz \
            share/doc/kivo/copyright share/doc/kivo/changelog.gz; do
  [ -f "$root/$file" ] || fail "the package has no /usr/$file"
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libglfw3 libglew libassimp libfreeimage3 libsdl2-mixer; do
  [[ $depends == *$library* ]] || fail "the package does not depend on $library: $depends"
done
version=$("$root/games/kivo" --version)
[ "$version" = "KIVO $(dpkg-deb -f "$deb" Version)" ] || fail "kivo --version says '$version', the package $(dpkg-deb -f "$deb" Version)"
zcat "$root/share/man/man6/kivo.6.gz" | grep -qF '\-\-quality' || fail "the manual page lacks the options of --help"

file "$root/games/kivo" | grep -q ", stripped" || fail "the game is not stripped: $(file "$root/games/kivo")"
build_paths=$(strings "$root/games/kivo" | grep -F -e "$PWD" -e "$WORK" || true)
[ -z "$build_paths" ] || fail "the game holds paths of the machine that built it: $build_paths"
dpkg-deb -c "$ddeb" | grep -q '/usr/lib/debug/.build-id/.*\.debug$' || fail "the debug package holds no symbols"

KIVO=$root/games/kivo
plays_from_root "the packaged game"
echo "ok"
