#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a packaged machine relies on: the
# programs and their manual pages, the catalogs and data beside them, the desktop entry, icons,
# document types (by name and by content), AppStream data, udev rules and the package documents;
# then runs the installed programs: qeltoctl on a document of its own, qelto without a display.
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
id=com.halvercott.qelto
expect "share/applications/$id.desktop"
expect "share/icons/hicolor/scalable/apps/$id.svg"
expect "share/icons/hicolor/48x48/apps/$id.png"
expect share/icons/hicolor/scalable/mimetypes/application-x-qelto-document.svg
expect share/mime/packages/qelto.xml
expect "share/metainfo/$id.metainfo.xml"
expect lib/udev/rules.d/70-qelto-hid.rules
expect lib/udev/rules.d/70-qelto-serial.rules
expect share/man/man1/qeltoctl.1.gz
expect share/man/man1/qelto-unitsim.1.gz
expect share/bash-completion/completions/qeltoctl
expect share/doc/qelto/copyright
expect share/doc/qelto/changelog.gz
gui=0
if [ -e "$build/src/app/qelto" ]; then
    gui=1
    expect bin/qelto
    expect share/man/man1/qelto.1.gz
fi
for folder in udev screenshots; do
    [ -e "$prefix/share/qelto/data/$folder" ] && { echo "data/$folder leaked into share/qelto" >&2; fail=1; }
done

# The desktop entry and the AppStream data pass their validators and agree on the id.
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail=1
appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    { appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml" >&2; fail=1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$prefix/share/metainfo/$id.metainfo.xml" || { echo "metainfo launchable" >&2; fail=1; }
grep -q "^Icon=$id$" "$prefix/share/applications/$id.desktop" || { echo "desktop entry Icon" >&2; fail=1; }

# The manual page of qeltoctl describes its subcommands down to the nested ones.
zcat "$prefix/share/man/man1/qeltoctl.1.gz" | grep -q '^\.SS "qeltoctl legacy dishwash read ' ||
    { echo "qeltoctl's manual page lacks its subcommands" >&2; fail=1; }

"$prefix/bin/qeltoctl" new "$scratch/unit.qlf" >/dev/null
"$prefix/bin/qeltoctl" show "$scratch/unit.qlf" >/dev/null
"$prefix/bin/qeltoctl" report settings --in "$scratch/unit.qlf" --out "$scratch/page.html" \
    --xlsx "$scratch/book.xlsx" >/dev/null 2>&1 || { echo "installed report failed" >&2; fail=1; }
[ -s "$scratch/book.xlsx" ] || { echo "installed report wrote no workbook" >&2; fail=1; }

# The desktop entry opens both document types; a document is recognised by its name and, without
# one, by its first bytes; a file of another kind under a document's name is not a document.
grep -q '^MimeType=application/x-qelto-document;application/x-qelto-legacy-document;$' \
    "$prefix/share/applications/$id.desktop" || { echo "desktop entry MimeType" >&2; fail=1; }
mime="$scratch/mime-data"
mkdir -p "$mime/mime/packages"
cp "$prefix/share/mime/packages/qelto.xml" "$mime/mime/packages/"
update-mime-database "$mime/mime"
cp "$scratch/unit.qlf" "$scratch/unit.qcf"
cp "$scratch/unit.qlf" "$scratch/unit"
printf '\004QDo1' >"$scratch/not-a-document"
echo notes >"$scratch/notes.qlf"
echo notes >"$scratch/notes.qcf"
while read -r file expected; do
    actual=$(XDG_DATA_HOME="$mime" XDG_DATA_DIRS=/usr/share gio info -a standard::content-type \
        "$scratch/$file" | sed -n 's/^ *standard::content-type: //p')
    [ "$actual" = "$expected" ] || { echo "$file is $actual, not $expected" >&2; fail=1; }
done <<'EOF_TYPES'
unit.qlf application/x-qelto-document
unit.qcf application/x-qelto-legacy-document
unit application/x-qelto-document
not-a-document application/octet-stream
notes.qlf application/x-qelto-document
notes.qcf application/x-qelto-legacy-document
EOF_TYPES

# Terminals, scripts and the manual page ask qelto for its help and version without a display,
# also past Qt's own options.
if [ $gui -eq 1 ]; then
    help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$prefix/bin/qelto" -platform xcb --help) ||
        { echo "qelto --help failed without a display" >&2; fail=1; }
    grep -q -- '--simulate' <<<"$help" || { echo "qelto --help does not name --simulate" >&2; fail=1; }
    version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$prefix/bin/qelto" --version)
    [ "$version" = "qelto $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" ] || { echo "qelto --version printed '$version'" >&2; fail=1; }
fi
exit $fail
