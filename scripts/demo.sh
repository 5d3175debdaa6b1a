#!/usr/bin/env bash
# The main job on a fresh machine: installs what is missing, builds qeltoctl and the simulated
# unit, then does what an engineer does at a unit: find it, read it into a document, change the
# document, write it back and verify, all in a scratch folder that it prints. Without hardware the
# unit is qelto-unitsim on a pseudo-terminal; QELTO_DEMO_PORT=/dev/ttyUSB0 uses a real one.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc 2>/dev/null || echo 2)" --target qeltoctl qelto-unitsim
qeltoctl=$PWD/build/release/src/cli/qeltoctl
unitsim=$PWD/build/release/src/sim/qelto-unitsim

work=$(mktemp -d "${TMPDIR:-/tmp}/qelto-demo-XXXXXX")
cd "$work"
# The demo keeps its own settings and chemical catalogue, away from the user's.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Halvercott"
cat > "$XDG_CONFIG_HOME/Halvercott/qelto.ini" <<'INI'
[System Settings]
NoOfChemicals=3
MaxPumps=10
[Chemical Names]
Chemical01=Alkali
Chemical02=Detergent
Chemical03=Softener
[L04]
P01=Alkali
P02=Detergent
P03=Softener
P04=Sour
INI

port=${QELTO_DEMO_PORT:-}
pin=${QELTO_DEMO_PIN:-1234}
sim_pid=
if [ -z "$port" ]; then
  "$unitsim" --path-file unit.path --dump unit-after.json --usage-seed 7 --usage-days 30 >/dev/null &
  sim_pid=$!
  trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -s unit.path ] && break; sleep 0.1; done
  port=$(cat unit.path)
  echo "== the simulated unit is on $port (pid $sim_pid)"
fi

echo "== qeltoctl scan --port $port"
"$qeltoctl" scan --port "$port"
echo "== qeltoctl read --unit 0 --out laundry.qlf"
"$qeltoctl" read --unit 0 --port "$port" --pin "$pin" --out laundry.qlf
echo "== qeltoctl show laundry.qlf"
"$qeltoctl" show laundry.qlf
echo "== qeltoctl calibration apply laundry.qlf --flow 2=120 --out changed.qlf"
echo "   (pump 2 becomes calibrated: its run times turn into doses in every program)"
"$qeltoctl" calibration apply laundry.qlf --flow 2=120 --out changed.qlf
"$qeltoctl" new template.qlf
echo "== qeltoctl diff laundry.qlf template.qlf (what a reset document would change)"
"$qeltoctl" diff laundry.qlf template.qlf | head -n 12 || true
echo "== qeltoctl write changed.qlf --verify (the unit's own serial number kept)"
"$qeltoctl" write changed.qlf --port "$port" --pin "$pin" --verify \
  --only pump-names,prog-names,pump-cal,pump-data,comments,description
echo "== qeltoctl verify changed.qlf"
"$qeltoctl" verify changed.qlf --port "$port" --pin "$pin"
echo "== qeltoctl clock get"
"$qeltoctl" clock get --port "$port" --pin "$pin"
echo "== qeltoctl report usage --out usage.html --xlsx usage.xlsx (the unit's log of 30 days)"
today=$(date +%F)
"$qeltoctl" report usage --port "$port" --pin "$pin" --out usage.html --xlsx usage.xlsx \
  --from "$(date -d "$today -29 days" +%F)" --to "$today"
echo "demo: files are in $work:"
ls -l "$work"/*.qlf "$work"/*.html "$work"/*.xlsx

# With a display, the desktop window on a simulated unit of its own, left running in the
# background so the script ends at once; closing the window stops its simulator.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  build=${qeltoctl%/src/cli/qeltoctl}
  cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target qelto qelto-unitsim
  echo "== qelto --simulate (settings and documents in $work)"
  nohup "$build/src/app/qelto" --simulate >"$work/qelto.log" 2>&1 &
fi
