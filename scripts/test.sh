#!/usr/bin/env bash
# Installs what is missing, then: the format check; one clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer that runs the whole suite and links the fuzz targets with libFuzzer;
# every fuzz target for a bounded time; the release build (g++) that installs and packages; and
# the .deb, which lintian must pass without errors or warnings; then the Windows build
# (mingw-w64), its tests under Wine, qeltoctl.exe against the simulated unit through a COM port,
# and the Windows zip.
# Prints the time of each stage; exits non-zero on any failure.
#   FUZZ_SECONDS=10   seconds per fuzz target
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)
stage_start=$SECONDS
stages=()
stage() {
  local now=$SECONDS
  if [ ${#stages[@]} -gt 0 ] || [ -n "${current:-}" ]; then
    stages+=("$(printf '%-28s %4d s' "$current" $((now - stage_start)))")
  fi
  current=$1
  stage_start=$now
  echo "== $1"
}
finish() {
  stage ""
  echo "test.sh: all passed; stage times:"
  printf '  %s\n' "${stages[@]}"
  echo "  total                        $SECONDS s"
}

stage "install dependencies"
scripts/install-deps.sh

# Formatting first: it takes a second and needs no build.
stage "clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

stage "ci build (clang, ASan+UBSan)"
cmake --preset ci >/dev/null
cmake --build --preset ci -j"$jobs"

stage "tests under ASan+UBSan"
ctest --preset ci -j"$jobs"

stage "fuzz targets"
FUZZ_SECONDS=${FUZZ_SECONDS:-10} scripts/fuzz.sh

stage "release build (g++)"
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"

# The .deb as the README builds it, checked by Debian's own package checker.
stage "package (cpack, lintian)"
rm -f build/release/qelto_*.deb
(cd build/release && cpack >/dev/null)
lintian --fail-on error,warning build/release/qelto_*.deb

stage "windows build (mingw-w64)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"

stage "windows tests (Wine)"
ctest --preset windows

stage "qeltoctl.exe on COM5 (Wine)"
tests/windows/wine_integration.sh build/ci/src/sim/qelto-unitsim build/ci/src/cli/qeltoctl \
  build/windows/src/cli/qeltoctl.exe

stage "windows package (zip)"
rm -f build/windows/qelto-*-windows-x64.zip
cmake --build --preset windows --target package >/dev/null
cmake -E tar tf build/windows/qelto-*-windows-x64.zip | grep -q 'qeltoctl.exe'

finish
