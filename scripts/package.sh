#!/usr/bin/env bash
# Builds the Debian package of the game and checks it with Debian's own tools.
#
#   scripts/package.sh [OUTDIR]     (default: build-package/debs)
#
# The game alone (no tests, no tools) is built in build-package with its
# debug symbols and Debian's build flags, and laid out as Debian keeps games (/usr/games/kivo,
# /usr/share/games/kivo); CPack packs it into kivo_VERSION_ARCH.deb, with the
# debug symbols in kivo-dbgsym_VERSION_ARCH.ddeb beside it. Then lintian
# checks the package, appstreamcli its software-centre entry and
# desktop-file-validate its menu entry: any error or warning fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.bash
out=${1:-build-package/debs}

./setup.sh package
# With the flags and all the hardening Debian builds its packages with.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
stage "configuring the package build" cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DKIVO_TESTS=OFF -DKIVO_GAMES_LAYOUT=ON -DCMAKE_INSTALL_PREFIX=/usr
cmake --build build-package -j"$(nproc)"
rm -rf "$out"
stage "packing" cpack -G DEB --config build-package/CPackConfig.cmake -B "$out"
deb=$(ls "$out"/kivo_*.deb)

echo "== checking $deb"
# lintian also says that it runs as root, as it does in CI: that is no tag.
lintian --fail-on error,warning "$deb" 2> >(grep -v "running with root privileges" >&2)
files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
dpkg-deb -x "$deb" "$files"
appstreamcli validate --no-net "$files"/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$files"/usr/share/applications/*.desktop
echo "package: $deb"
