#!/usr/bin/env bash
# The main job on a fresh machine: installs what is missing, builds qeltoctl, then takes a
# document through a round trip (new, show, convert from an older format, show again) in a
# scratch folder that it prints.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc 2>/dev/null || echo 2)" --target qeltoctl
qeltoctl=$PWD/build/release/src/cli/qeltoctl

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

echo "== qeltoctl new laundry.qlf (a reset configuration for an L4 unit)"
"$qeltoctl" new laundry.qlf
echo "== qeltoctl show laundry.qlf"
"$qeltoctl" show laundry.qlf
echo "== qeltoctl convert laundry.qlf copy.qcf (documents are always written as .qlf)"
"$qeltoctl" convert laundry.qlf copy.qcf
echo "== qeltoctl show copy.qlf --json (first fields)"
"$qeltoctl" show copy.qlf --json | head -c 400
echo
echo "demo: files are in $work"
