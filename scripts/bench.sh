#!/usr/bin/env bash
# Runs the benchmarks (not part of the tests): natively in a release build
# without sanitizers, then under Wine on a virtual X server, then the start-up
# beside a trivial window program.
#   scripts/bench.sh [FILTER [SIZES...]]     e.g. scripts/bench.sh CODINGS 1000 10000
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
filter=${1:-all}
shift || true
echo "== native (registry in memory)"
cmake -S "$root" -B "$root/build/bench-native" -G Ninja >/dev/null
cmake --build "$root/build/bench-native" --target brovantine_bench >/dev/null
"$root/build/bench-native/brovantine_bench" "$([ "$filter" = all ] && echo "" || echo "$filter")" "$@"

echo "== Wine (real registry, real list boxes)"
build=$root/build/bench-windows
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target brovantine_winbench Brovantine trivial_window >/dev/null
export BRV_WINEPREFIX=$build/wineprefix
# Wine's server and the program on one processor: across two, each server
# round trip waits for the other processor to wake, which costs from a few
# to fifty microseconds as it comes, and the figures would measure that.
pin=(taskset -c 0)
WINEPREFIX=$BRV_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
# shellcheck source=scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
start_xvfb
"${pin[@]}" "$root/cmake/wine-run.sh" "$build/brovantine_winbench.exe" "$filter" "$@" | tr -d '\r'
"${pin[@]}" "$root/cmake/wine-run.sh" "$build/brovantine_winbench.exe" --startup \
  "$(WINEPREFIX=$BRV_WINEPREFIX winepath -w "$build/Brovantine.exe")" \
  "$(WINEPREFIX=$BRV_WINEPREFIX winepath -w "$build/trivial_window.exe")" | tr -d '\r'
