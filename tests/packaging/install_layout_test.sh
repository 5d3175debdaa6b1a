#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a packaged machine relies on: the
# programs, the catalogs and data beside them, the desktop entry, icons, document types, AppStream
# data and udev rules; then runs the installed qeltoctl on a document of its own.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home"
mkdir -p "$HOME"
prefix="$scratch/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
expect() {
    if [ ! -e "$prefix/$1" ]; then
        echo "missing after install: $1" >&2
        fail=1
    fi
}
expect bin/qeltoctl
expect bin/qelto-unitsim
expect share/qelto/data/QeltoReport.xlsx
for lang in EN SPA FRA GER ITA CZE PLK US NED PT; do expect "share/qelto/lang/Lang$lang.po"; done
expect share/applications/qelto.desktop
expect share/icons/hicolor/scalable/apps/qelto.svg
expect share/icons/hicolor/scalable/mimetypes/application-x-qelto-document.svg
expect share/mime/packages/qelto.xml
expect share/metainfo/qelto.metainfo.xml
expect lib/udev/rules.d/70-qelto-hid.rules
expect lib/udev/rules.d/70-qelto-serial.rules
if [ -e "$build/src/app/qelto" ]; then expect bin/qelto; fi
[ -e "$prefix/share/qelto/data/udev" ] && { echo "the udev folder leaked into data/" >&2; fail=1; }

# The desktop entry opens both document types, and each type names its glob.
grep -q '^MimeType=application/x-qelto-document;application/x-qelto-legacy-document;$' \
    "$prefix/share/applications/qelto.desktop" || { echo "desktop entry MimeType" >&2; fail=1; }
grep -q 'pattern="\*.qlf"' "$prefix/share/mime/packages/qelto.xml" || { echo "no .qlf glob" >&2; fail=1; }
grep -q 'pattern="\*.qcf"' "$prefix/share/mime/packages/qelto.xml" || { echo "no .qcf glob" >&2; fail=1; }

"$prefix/bin/qeltoctl" new "$scratch/unit.qlf" >/dev/null
"$prefix/bin/qeltoctl" show "$scratch/unit.qlf" >/dev/null
"$prefix/bin/qeltoctl" report settings --in "$scratch/unit.qlf" --out "$scratch/page.html" \
    --xlsx "$scratch/book.xlsx" >/dev/null 2>&1 || { echo "installed report failed" >&2; fail=1; }
[ -s "$scratch/book.xlsx" ] || { echo "installed report wrote no workbook" >&2; fail=1; }
exit $fail
