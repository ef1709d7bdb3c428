#!/usr/bin/env bash
# Builds Brovantine.exe and starts it under Wine on your display.
#   scripts/run.sh                     in your Wine prefix ($WINEPREFIX or ~/.wine)
#   scripts/run.sh --demo              in a throwaway prefix with sample extensions
#   scripts/run.sh --screenshot FILE   on a virtual X server; saves a picture of the
#                                      window after the start-up note, then stops
#   scripts/run.sh --about             with --screenshot: the About window instead
# The options combine. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=0
shot=
about=
while [ $# -gt 0 ]; do
  case "$1" in
    --demo) demo=1 ;;
    --about) about=about ;;
    --screenshot)
      [ $# -ge 2 ] || { echo "--screenshot needs a file name" >&2; exit 2; }
      shot=$(realpath -m "$2")
      shift
      ;;
    -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
    *) echo "Unknown option: $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done

if [ -z "$shot" ] && [ -z "${DISPLAY:-}" ]; then
  echo "There is no display (DISPLAY is not set), so the window cannot be shown." >&2
  echo "To see it anyway: $0 --screenshot brovantine.png [--demo]" >&2
  echo "runs it on a virtual X server and saves a picture of the window." >&2
  exit 1
fi

"$root/scripts/setup.sh"
build=$root/build/windows
# Quiet but for what the compiler says.
(cd "$root" && cmake --preset windows --log-level=WARNING &&
  cmake --build --preset windows --target Brovantine dismiss_note -- --quiet)

# shellcheck source=scripts/wine-prefix.sh
. "$root/scripts/wine-prefix.sh"
brv_wine_env
if [ "$demo" = 1 ] || [ -n "$shot" ]; then
  # A throwaway prefix: the demo's samples, or a screenshot of your own
  # program without touching your prefix's settings.
  export WINEPREFIX=$root/build/run-prefix
  brv_wine_prefix_remove
  export BRV_WINEPREFIX=$WINEPREFIX
else
  export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
fi

if [ -n "$shot" ]; then
  # shellcheck source=scripts/xvfb.sh
  . "$root/scripts/xvfb.sh"
  start_xvfb
fi

if [ -n "${BRV_WINEPREFIX:-}" ]; then
  # A virtual display has no window manager: there Wine draws the frames.
  brv_wine_prefix $([ -n "$shot" ] && echo --unmanaged)
  [ "$demo" = 1 ] && wine regedit /S "$(winepath -w "$root/scripts/demo.reg")" \
    >/dev/null 2>&1 </dev/null
fi

if [ -z "$shot" ]; then
  exec wine "$build/Brovantine.exe"
fi

wine "$build/Brovantine.exe" >/dev/null 2>&1 </dev/null &
program=$!
geometry=$(wine "$build/dismiss_note.exe" 60 $about </dev/null | tr -d '\r')
read -r x y w h <<<"$geometry"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
kill "$program" 2>/dev/null || true
echo "Saved $shot"
