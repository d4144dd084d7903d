# Sourced by the scripts beside it: installs what is missing, then builds one
# target of the Release build in $build (KIVO_BUILD_DIR, default: build).
#
#   release_build TARGET
build=${KIVO_BUILD_DIR:-build}

release_build() {
  ./setup.sh
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target "$1" >/dev/null
}
