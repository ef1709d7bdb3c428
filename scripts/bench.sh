#!/usr/bin/env bash
# Runs the benchmarks (not part of the tests): natively in a release build
# without sanitizers, then under Wine on a virtual X server, then the start-up
# beside a program that shows only the start-up note (and the same after
# making plain controls like the main window's) and a trivial window program,
# and a resize step of the main window with 100,000 entries in every list
# beside a window whose size change only moves the same controls.
#   scripts/bench.sh [FILTER [SIZES...]]     e.g. scripts/bench.sh CODINGS 1000 10000
#   scripts/bench.sh Resize                  the resize step only
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
filter=${1:-all}
shift || true
cd "$root"
echo "== native (registry in memory)"
# The native preset: a release build without sanitizers. Quiet but for what
# the compiler says.
cmake --preset native --log-level=WARNING
cmake --build --preset native --target brovantine_bench -- --quiet
build/native/brovantine_bench "$([ "$filter" = all ] && echo "" || echo "$filter")" "$@"

echo "== Wine (real registry, real list boxes)"
cmake --preset windows --log-level=WARNING
cmake --build --preset windows --target brovantine_winbench Brovantine bare_note trivial_window \
  test_samples -- --quiet
build=$root/build/windows
# Signed DLLs of 1 MB and 50 MB for the verdict's case, from the tests' sample
# DLL and throwaway certificate.
for mb in 1 50; do
  [ -f "$build/testfiles/signed-${mb}mb.dll" ] && continue
  cp "$build/testfiles/sample.dll" "$build/testfiles/big.tmp"
  head -c "$((mb * 1000000))" /dev/zero >>"$build/testfiles/big.tmp"
  osslsigncode sign -certs "$build/testfiles/cert.pem" -key "$build/testfiles/key.pem" \
    -in "$build/testfiles/big.tmp" -out "$build/testfiles/signed-${mb}mb.dll" >/dev/null
  rm "$build/testfiles/big.tmp"
done
# A prefix of the benchmarks' own, beside the tests' one.
export BRV_WINEPREFIX=$build/bench-prefix
# Wine's server and the program on one processor: across two, each server
# round trip waits for the other processor to wake, which costs from a few
# to fifty microseconds as it comes, and the figures would measure that.
pin=(taskset -c 0)
export WINEPREFIX=$BRV_WINEPREFIX
# shellcheck source=scripts/wine-prefix.sh
. scripts/wine-prefix.sh
brv_wine_env
WINEPREFIX=$BRV_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
# shellcheck source=scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
start_xvfb
# Their folder as the program sees it: drive Z: is the root of the host.
samples="Z:$build/testfiles"
export BRV_BENCH_SAMPLES=${samples//\//\\}
"${pin[@]}" "$root/cmake/wine-run.sh" "$build/brovantine_winbench.exe" "$filter" "$@" | tr -d '\r'
if [ "$filter" = all ] || [ "$filter" = Resize ]; then
  "${pin[@]}" "$root/cmake/wine-run.sh" "$build/brovantine_winbench.exe" --resize | tr -d '\r'
fi
"${pin[@]}" "$root/cmake/wine-run.sh" "$build/brovantine_winbench.exe" --startup \
  "$(WINEPREFIX=$BRV_WINEPREFIX winepath -w "$build/Brovantine.exe")" \
  "$(WINEPREFIX=$BRV_WINEPREFIX winepath -w "$build/bare_note.exe")" \
  "$(WINEPREFIX=$BRV_WINEPREFIX winepath -w "$build/trivial_window.exe")" | tr -d '\r'
