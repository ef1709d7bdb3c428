#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own throwaway prefix
# (created on first use), on the display in $DISPLAY.
#   wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
program=$1
shift
build_dir=${BRV_BUILD_DIR:-$(cd "$(dirname "$program")" && pwd)}
# shellcheck source=scripts/wine-prefix.sh
. "$(dirname "$0")/../scripts/wine-prefix.sh"
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
brv_wine_env
listing=0
[ "${1:-}" = --gtest_list_tests ] && listing=1
if [ -z "${DISPLAY:-}" ] && [ "$listing" = 0 ]; then
  echo "wine-run.sh: no DISPLAY; the tests need an X server (scripts/test.sh starts one)" >&2
  exit 2
fi
# `wineserver -k` with this prefix stops the server and its services.
brv_wine_prefix --unmanaged
if [ "$listing" = 1 ]; then
  # ctest reads the list line by line: without the console's carriage returns.
  wine "$program" "$@" | tr -d '\r'
else
  exec wine "$program" "$@"
fi
