#!/usr/bin/env bash
# Sources qeltoctl's bash completion and completes a few command lines against the built
# qeltoctl: commands at two depths, options, an option's choices, documents and serial ports.
#   completion_test.sh COMPLETION_FILE QELTOCTL_DIR
set -euo pipefail
source "$1"
PATH="$2:$PATH"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
mkdir folder
touch unit.qlf old.QCF page.html

fail=0
while IFS='|' read -r line expected; do
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _qeltoctl
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    [ "$actual" = "$expected" ] || { echo "'$line': got '$actual', wanted '$expected'" >&2; fail=1; }
done <<'EOF_CASES'
qeltoctl ve|verify 
qeltoctl legacy dishwash r|read 
qeltoctl write --ver|--verify 
qeltoctl write --calibration |editor unit 
qeltoctl write --port /dev/x |folder old.QCF unit.qlf 
qeltoctl report settings --out p|page.html 
qeltoctl calibration |apply get set 
EOF_CASES

COMP_WORDS=(qeltoctl scan --port /dev/tt)
COMP_CWORD=3
_qeltoctl
[ ${#COMPREPLY[@]} -gt 0 ] && ! printf '%s\n' "${COMPREPLY[@]}" | grep -qv '^/dev/tty' ||
    { echo "--port completes to '${COMPREPLY[*]}'" >&2; fail=1; }
exit $fail
