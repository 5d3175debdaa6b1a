#!/usr/bin/env bash
# Draws every report page Qelto makes from a simulated unit and a document file, exports one
# workbook, and photographs each page in headless Chromium, so a person can look at what a
# manager will see and print. Prints the folder that holds the pages and the PNGs.
#   scripts/report-pages.sh            build (release preset) and draw
#   QELTO_BUILD=build/debug scripts/report-pages.sh   use an existing build
set -euo pipefail
cd "$(dirname "$0")/.."

build=${QELTO_BUILD:-}
if [ -z "$build" ]; then
  scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release -j"$(nproc 2>/dev/null || echo 2)" --target qeltoctl qelto-unitsim
  build=build/release
fi
qeltoctl=$PWD/$build/src/cli/qeltoctl
unitsim=$PWD/$build/src/sim/qelto-unitsim

work=$(mktemp -d "${TMPDIR:-/tmp}/qelto-pages-XXXXXX")
cd "$work"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"

first=$(date -d '-40 days' +%F)
cat > unit.json <<JSON
{
  "pin": 1234, "unitType": 3, "serial": 204511873,
  "calibration": [{"volume": 0}, {"volume": 120, "day": 3, "month": 11, "year": 26},
                  {"volume": 95, "day": 3, "month": 11, "year": 26}, {"volume": 0}],
  "programs": [
    {"program": 0, "trigger": 0, "setting": 3, "pumps": [[1, 30, 1, 5, 0], [1, 44, 1, 0, 0]]},
    {"program": 0, "trigger": 2, "setting": 1, "pumps": [[0, 0, 0, 0, 0], [0, 0, 0, 0, 0], [1, 80, 0, 10, 0]]},
    {"program": 1, "trigger": 0, "setting": 2, "pumps": [[1, 20, 0, 0, 0], [0, 0, 0, 0, 0], [0, 0, 0, 0, 0], [1, 15, 0, 0, 1]]},
    {"program": 4, "trigger": 1, "setting": 1, "pumps": [[0, 0, 0, 0, 0], [1, 60, 0, 0, 0]]}
  ],
  "programNames": ["Towels <hot>", "Sheets & pillows", "", "", "Kitchen \"cloths\""],
  "pumpNames": ["Alkali", "Detergent", "Bleach", "Softener"],
  "customerLines": ["Hotel Sud", "Laundry 2"],
  "comments": ["Checked on site; pump 4 ", "tube changed."],
  "usage": {"generate": {"seed": 11, "first": "$first", "days": 40, "washesPerDay": 6}}
}
JSON

"$unitsim" --state unit.json --path-file unit.path >/dev/null &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s unit.path ] && break; sleep 0.1; done
port=$(cat unit.path)
unit=(--port "$port" --pin 1234)

from=$(date -d '-30 days' +%F)
to=$(date +%F)
"$qeltoctl" report settings "${unit[@]}" --out settings-unit.html --xlsx settings-unit.xlsx
"$qeltoctl" report usage "${unit[@]}" --out usage-totals.html --xlsx usage-totals.xlsx
"$qeltoctl" report usage "${unit[@]}" --out usage-shifts.html --from "$from" --to "$to" \
  --shift 06:00-13:59 --shift 14:00-21:59 --shift 22:00-23:59
"$qeltoctl" report usage "${unit[@]}" --language 8 --out usage-us.html --from "$from" --to "$to"
"$qeltoctl" read "${unit[@]}" --out unit.qlf
"$qeltoctl" report settings --in unit.qlf --out settings-document.html

kill "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true

# The older units: a dishwash unit's settings page, a laundry unit's usage and text dump.
older() {  # kind, then the commands to run against its port
  local kind=$1; shift
  rm -f older.path
  "$unitsim" --kind "$kind" --state older.json --path-file older.path >/dev/null &
  sim_pid=$!
  for _ in $(seq 50); do [ -s older.path ] && break; sleep 0.1; done
  "$@" "$(cat older.path)"
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
}
cat > older.json <<'JSON'
{"comments": "Serviced in March.\r\nNext visit: September.",
 "dumpText": "UNIT MEMORY\r\nProgram 1: <P1> 3 pulses\r\nPump 1 & 2 on\r\n"}
JSON
dishwash_read() { "$qeltoctl" legacy dishwash read --out dishwash.qlf --port "$1"; }
older legacy-dishwash dishwash_read
"$qeltoctl" report settings --in dishwash.qlf --out settings-dishwash.html
older_usage() {
  "$qeltoctl" legacy usage --out usage-older.html --port "$1"
  "$qeltoctl" legacy dump --out dump-older.html --port "$1"
}
older legacy-laundry older_usage

chromium=$(command -v chromium || command -v chromium-browser || true)
if [ -n "$chromium" ]; then
  for page in *.html; do
    "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync \
      --user-data-dir="$work/chromium" --hide-scrollbars --window-size=1000,2400 \
      --screenshot="$work/${page%.html}.png" "file://$work/$page" >/dev/null 2>&1
  done
else
  echo "report-pages: chromium is not installed; the pages are drawn but not photographed" >&2
fi
echo "report-pages: the pages are in $work"
ls "$work"
