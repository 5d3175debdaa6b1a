#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite twice: as built by default, and under
# AddressSanitizer + UndefinedBehaviorSanitizer; then runs every fuzz target for a bounded time.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

# Formatting first: it takes a second and needs no build.
echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== debug build and tests"
cmake --preset default
cmake --build --preset default -j"$jobs"
ctest --preset default -j"$jobs"

echo "== asan + ubsan build and tests"
cmake --preset asan
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"

echo "== fuzz targets under libFuzzer, a bounded time each"
FUZZ_SECONDS=${FUZZ_SECONDS:-15} scripts/fuzz.sh

echo "test.sh: all passed"
