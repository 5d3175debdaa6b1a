#!/usr/bin/env bash
# Writes one gzipped manual page from a program's own --help (and --version), so the page never
# drifts from the program; qeltoctl's page also gets a COMMANDS section from each command's help.
#   make-man-page.sh OUT.1.gz PROGRAM "NAME LINE" INCLUDE.h2m [VERSION]
# VERSION: for a program whose --version means something else (qelto-unitsim's is the simulated
# unit's software version); otherwise help2man asks the program.
set -euo pipefail
out=$1 program=$2 name=$3 include=$4 version=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

options=(--no-info --section=1 --name="$name" --include="$include")
[ -n "$version" ] && options+=(--version-string="$version")
if [ "$(basename "$program")" = qeltoctl ]; then
    "$here/qeltoctl-commands.sh" "$program" >"$scratch/commands.h2m"
    options+=(--include="$scratch/commands.h2m")
fi
# Run by name from PATH, so the page shows "qelto-unitsim", not the build tree's path.
PATH="$(dirname "$program"):$PATH" help2man "${options[@]}" --output="$scratch/page.1" \
    "$(basename "$program")"
gzip -9 -n -c "$scratch/page.1" >"$out"
