#!/usr/bin/env bash
# Runs every check: formatting, the native build (warnings as errors,
# sanitizers) with its tests, and the Windows build (warnings as errors) with
# its tests under Wine on a virtual X server, in a fresh Wine prefix.
# Installs what is missing first. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=$root/build

echo "== formatting"
mapfile -t sources < <(cd "$root" && find base registry form app catalogue commands tests bench tools \
  -name '*.cpp' -o -name '*.h' | sort)
(cd "$root" && clang-format --dry-run --Werror "${sources[@]}")

echo "== native build and tests"
cmake -S "$root" -B "$build/native" -G Ninja -DBRV_WERROR=ON -DBRV_SANITIZE=ON >/dev/null
cmake --build "$build/native"
ctest --test-dir "$build/native" --output-on-failure

echo "== windows build"
cmake -S "$root" -B "$build/windows" -G Ninja -DBRV_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/windows"
size=$(stat -c %s "$build/windows/Brovantine.exe")
echo "Brovantine.exe: $size bytes"
[ "$size" -lt 1048576 ] || { echo "Brovantine.exe is 1 MiB or more" >&2; exit 1; }

echo "== windows tests under Wine"
export BRV_WINEPREFIX=$build/windows/wineprefix
export WINEPREFIX=$BRV_WINEPREFIX
# shellcheck source=scripts/wine-prefix.sh
. "$root/scripts/wine-prefix.sh"
brv_wine_prefix_remove
# shellcheck source=scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
start_xvfb
ctest --test-dir "$build/windows" --output-on-failure
