#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Qelto needs to build, test and run, when any is missing.
# Runs apt-get as root, or through sudo for an ordinary user.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang clang-format libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libfmt-dev nlohmann-json3-dev libcli11-dev libhidapi-dev
  libzip-dev libpugixml-dev libsqlite3-dev
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev fonts-dejavu-core
  help2man lintian appstream desktop-file-utils shared-mime-info libglib2.0-bin
  g++-mingw-w64-x86-64-posix googletest wine wine64
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: these packages are missing and I cannot become root to install them:" >&2
  echo "  ${missing[*]}" >&2
  echo "install-deps: run this script as root, or install them with your package manager." >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
