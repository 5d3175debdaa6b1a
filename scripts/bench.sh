#!/usr/bin/env bash
# Builds the benchmarks in release and runs every one of them, each group in a process of its
# own (so one's memory and caches do not count against another), printing the counters that
# carry the ratios: wall/floor and cpu/wall of the paced full read and write, a log search reply
# against a bare exchange, the settings page against the paced read, a document's open and save,
# a unit history entry's record and the history's open, and the window's start-up against a bare
# Qt window. bench/README.md explains each counter.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc 2>/dev/null || echo 2)" --target qelto_bench qelto-unitsim
bench=build/release/bench/qelto_bench

run() {
  echo "== $1"
  QT_QPA_PLATFORM=offscreen "$bench" --benchmark_filter="$1" --benchmark_counters_tabular=true
}
run 'BM_PollExchange/|BM_PollExchangePaced57600'
run 'BM_FullWritePaced57600|BM_FullReadPaced57600'
run 'BM_PollExchange/|BM_LogSearch100kWords|BM_RenderFullSettingsReport'
run 'BM_OpenSave'
run 'BM_History'
if "$bench" --benchmark_list_tests | grep -q BM_QeltoMainWindowShown; then
  run 'BM_BareMainWindowShown'
  run 'BM_QeltoMainWindowShown'
fi
