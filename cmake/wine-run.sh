#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own throwaway prefix
# (created on first use), on the display in $DISPLAY.
#   wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
program=$1
shift
build_dir=${BRV_BUILD_DIR:-$(cd "$(dirname "$program")" && pwd)}
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: no DISPLAY; the tests need an X server (scripts/test.sh starts one)" >&2
  exit 2
fi
# Wine's server and its service processes outlive the command that starts
# them and keep its output open: start them with output elsewhere (the server
# persistent, so they stay), so that callers may capture ours.
# `wineserver -k` with this prefix stops them.
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 </dev/null || true
# The server writes the prefix's registry files only from time to time and
# when it stops, so a marker of our own says that the prefix is set up.
if [ ! -f "$WINEPREFIX/.brovantine-ready" ]; then
  wineboot -i >/dev/null 2>&1 </dev/null
  # With no window manager on a virtual display, Wine waits two seconds for
  # each managed window it hides; the tests' windows need no manager.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  touch "$WINEPREFIX/.brovantine-ready"
else
  wine cmd /c exit >/dev/null 2>&1 </dev/null
fi
exec wine "$program" "$@"
