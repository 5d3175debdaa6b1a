#!/usr/bin/env bash
# Builds every fuzz target with libFuzzer (the ci preset: clang, ASan + UBSan) and runs each for a
# bounded time, starting from its seed corpus. The corpus in the source tree is never changed: new
# inputs go to a scratch copy. Exits non-zero when any target finds a crash, a leak or undefined behaviour;
# the input that did it is kept in build/ci/crashes/<target>/.
#   FUZZ_SECONDS=10   seconds per target
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-10}
jobs=$(nproc 2>/dev/null || echo 2)

cmake --preset ci >/dev/null
targets=$(sed -n 's/^qelto_add_fuzzer(\([a-z_]*\) [a-z_.]* \([a-z_]*\)).*/\1:\2/p' fuzz/CMakeLists.txt)
# shellcheck disable=SC2046
cmake --build --preset ci -j"$jobs" --target $(for t in $targets; do echo "${t%%:*}"; done)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=()
for entry in $targets; do
  target=${entry%%:*}
  corpus=${entry##*:}
  mkdir -p "$scratch/$target" "build/ci/crashes/$target"
  cp -r "fuzz/corpus/$corpus/." "$scratch/$target/"
  printf '== %-24s %ss ... ' "$target" "$seconds"
  if UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
     "build/ci/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="build/ci/crashes/$target/" -print_final_stats=1 \
       "$scratch/$target" >"$scratch/$target.log" 2>&1; then
    grep -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$target.log" | sed 's/.*: */runs /'
  else
    echo "FAILED"
    tail -n 40 "$scratch/$target.log"
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: ${failed[*]} failed; the inputs are in build/ci/crashes/" >&2
  exit 1
fi
echo "fuzz: all targets ran ${seconds}s each without a finding"
