#!/usr/bin/env bash
# Runs every check: formatting, the direction of includes, the native build
# (warnings as errors, sanitizers) with its tests, and the Windows build
# (warnings as errors) with its tests under Wine on a virtual X server, in a
# fresh Wine prefix, and that two builds of the release zip are the same bytes
# (scripts/release.sh --check). Installs what is missing first. Exits non-zero
# on any failure. The builds are the presets of CMakePresets.json.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cd "$root"

echo "== formatting"
mapfile -t sources < <(find base registry files form app catalogue commands report tests bench tools \
  -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run --Werror "${sources[@]}"

echo "== includes"
scripts/check-includes.sh

echo "== native build and tests (sanitizers)"
cmake --preset native-sanitize --log-level=WARNING
cmake --build --preset native-sanitize
ctest --preset native-sanitize -j "$(nproc)"

echo "== windows build"
cmake --preset windows --log-level=WARNING
cmake --build --preset windows
size=$(stat -c %s build/windows/Brovantine.exe)
echo "Brovantine.exe: $size bytes"
[ "$size" -lt 1048576 ] || { echo "Brovantine.exe is 1 MiB or more" >&2; exit 1; }

echo "== windows tests under Wine"
export BRV_WINEPREFIX=$root/build/windows/wineprefix
export WINEPREFIX=$BRV_WINEPREFIX
# shellcheck source=scripts/wine-prefix.sh
. scripts/wine-prefix.sh
brv_wine_prefix_remove
# shellcheck source=scripts/xvfb.sh
. scripts/xvfb.sh
start_xvfb
ctest --preset windows

echo "== release: two builds, the same bytes"
scripts/release.sh --check
