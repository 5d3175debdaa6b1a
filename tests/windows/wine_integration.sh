#!/usr/bin/env bash
# qeltoctl.exe under Wine against qelto-unitsim, its pseudo-terminal mapped as COM5 in a scratch
# Wine prefix, beside the Linux qeltoctl against a second simulated unit: the same commands must
# give the same documents and leave the same unit memory. Then what goes wrong on a laptop: a COM
# port that is not there, a unit that does not answer, and a stop in the middle of a write (the
# unit must end locked).
#   wine_integration.sh QELTO_UNITSIM QELTOCTL QELTOCTL_EXE
set -euo pipefail
sim=$(realpath "$1"); linux_ctl=$(realpath "$2"); windows_ctl=$(realpath "$3")

work=$(mktemp -d "${TMPDIR:-/tmp}/qelto-wine-XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "wine_integration: $*" >&2; exit 1; }

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local"
export QELTO_HISTORY="$work/home/history.sqlite"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko: the prefix must not try to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
# One Wine server for the whole run, its own chatter (it lists its objects when a port's far side
# goes away) kept out of the log.
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1
wine wineboot -i >/dev/null 2>&1 || fail "cannot start a Wine prefix"

# start_unit NAME [options...]: a simulated unit whose pty path and dump land in $work/NAME.*
start_unit() {
  local name=$1; shift
  rm -f "$work/$name.path"
  "$sim" --path-file "$work/$name.path" --dump "$work/$name.dump" "$@" >/dev/null 2>"$work/$name.log" &
  pids+=($!)
  eval "${name}_pid=$!"
  for _ in $(seq 100); do [ -s "$work/$name.path" ] && break; sleep 0.05; done
  [ -s "$work/$name.path" ] || fail "qelto-unitsim $name did not start"
}
stop_unit() {
  local pid_var="${1}_pid"
  kill "${!pid_var}"; wait "${!pid_var}" 2>/dev/null || true
}
as_com5() { ln -sfn "$(cat "$work/$1.path")" "$WINEPREFIX/dosdevices/com5"; }
win() { (cd "$work" && wine "$windows_ctl" "$@"); }
lin() { (cd "$work" && "$linux_ctl" "$@"); }
# settings NAME: the dumped memory without what runs on by itself (the clock).
settings() { python3 -c 'import json,sys; m=json.load(open(sys.argv[1])); m.pop("clock",None); print(json.dumps(m,sort_keys=True))' "$work/$1.dump"; }

# 1. The same session through both builds.
start_unit lu; start_unit wu; as_com5 wu
lin read --port "$(cat "$work/lu.path")" --pin 1234 --out lin-read.qlf
win read --port COM5 --pin 1234 --out win-read.qlf
cmp "$work/lin-read.qlf" "$work/win-read.qlf" || fail "the documents read differ"
lin new edited.qlf >/dev/null
lin write --port "$(cat "$work/lu.path")" --pin 1234 --verify edited.qlf >"$work/lin-write.out" 2>&1
win write --port COM5 --pin 1234 --verify edited.qlf >"$work/win-write.out" 2>&1 ||
  { cat "$work/win-write.out" >&2; fail "qeltoctl.exe write --verify failed"; }
lin clock get --port "$(cat "$work/lu.path")" --pin 1234 >/dev/null
win clock get --port COM5 --pin 1234 >"$work/win-clock.out" || fail "clock get failed"
grep -q '[0-9][0-9]:[0-9][0-9]' "$work/win-clock.out" || fail "clock get printed no time"
lin read --port "$(cat "$work/lu.path")" --pin 1234 --out lin-after.qlf
win read --port COM5 --pin 1234 --out win-after.qlf
cmp "$work/lin-after.qlf" "$work/win-after.qlf" || fail "the documents read after the write differ"
stop_unit lu; stop_unit wu
[ "$(settings lu)" = "$(settings wu)" ] || fail "the two units' memory differs after the same commands"
echo "wine_integration: read, write --verify, clock get: same documents and unit memory"

# 2. A COM port that is not there.
set +e
win clock get --port COM9 --pin 1234 >/dev/null 2>"$work/missing.err"; code=$?
set -e
[ "$code" -eq 1 ] && grep -q 'COM9' "$work/missing.err" ||
  { cat "$work/missing.err" >&2; fail "a missing COM port: exit $code"; }

# 3. A unit that does not answer.
start_unit silent --silent-after 1; as_com5 silent
set +e
win clock get --port COM5 --pin 1234 >/dev/null 2>"$work/silent.err"; code=$?
set -e
[ "$code" -eq 1 ] || { cat "$work/silent.err" >&2; fail "a silent unit: exit $code"; }
stop_unit silent

# 4. Ctrl-C in the middle of a write: the unit ends locked. (A port in use cannot be shown here:
# Wine does not keep a second program out of a COM port.)
start_unit slow --pace; as_com5 slow
(cd "$work" && exec wine "$windows_ctl" write --port COM5 --pin 1234 edited.qlf \
   >"$work/stopped.out" 2>"$work/stopped.err") &
writer=$!
pids+=("$writer")
for _ in $(seq 400); do grep -q 'qeltoctl: unit 123456789' "$work/stopped.err" 2>/dev/null && break; sleep 0.05; done
sleep 1
kill -INT "$writer"
set +e
wait "$writer"; code=$?
set -e
stop_unit slow
python3 -c 'import json,sys; sys.exit(0 if json.load(open(sys.argv[1]))["locked"] else 1)' \
  "$work/slow.dump" || { cat "$work/stopped.err" >&2; fail "the unit was left unlocked (exit $code)"; }
[ "$code" -eq 130 ] || { cat "$work/stopped.err" >&2; fail "Ctrl-C in a write: exit $code, not 130"; }
echo "wine_integration: missing port, silent unit, Ctrl-C in a write: as on Linux"
