#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, if
# any are missing (as root, or through sudo). Without the packages apt would
# recommend: the list below is the whole of what is needed, the same on every
# machine (scripts/fresh-root.sh scripts/test.sh proves it on a fresh one).
set -euo pipefail
packages=(
  cmake ninja-build g++ libgtest-dev googletest clang-format
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  wine wine64 fonts-wine xvfb xauth imagemagick fonts-liberation openssl osslsigncode
  nlohmann-json3-dev
  zip strip-nondeterminism
)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}" >&2
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { "${as_root[@]}" apt-get update -qq &&
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "Could not install: ${missing[*]}" >&2
  exit 1
fi
