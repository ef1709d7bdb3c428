#!/usr/bin/env bash
# Builds Brovantine.exe and starts it under Wine on your display.
#   scripts/run.sh                     in your Wine prefix ($WINEPREFIX or ~/.wine)
#   scripts/run.sh --demo              in a throwaway prefix with sample extensions
#   scripts/run.sh --screenshot FILE   on a virtual X server; saves a picture of the
#                                      window after the start-up note, then stops
#   scripts/run.sh --about             with --screenshot: the About window instead
#   scripts/run.sh --size WxH|max      with --screenshot: the main window sized to
#                                      W x H pixels first (at 96 dpi: Wine scales
#                                      the size at another), or maximised
#   scripts/run.sh --dpi N             in the throwaway prefix: Wine's DPI set to N
#                                      (96, 120, 144, 192, ...)
#   scripts/run.sh --no-wine-fonts     in the throwaway prefix: without Wine's own
#                                      fonts, as in a prefix of your own
# The options combine. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=0
shot=
about=
size=
dpi=
wine_fonts=1
while [ $# -gt 0 ]; do
  case "$1" in
    --demo) demo=1 ;;
    --about) about=about ;;
    --no-wine-fonts) wine_fonts=0 ;;
    --screenshot | --dpi | --size)
      [ $# -ge 2 ] || { echo "$1 needs a value" >&2; exit 2; }
      if [ "$1" = --size ]; then
        if [ "$2" = max ]; then
          size=maximized
        else
          [[ $2 =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || { echo "--size needs WIDTHxHEIGHT or max" >&2; exit 2; }
          size="size ${2%x*} ${2#*x}"
        fi
      elif [ "$1" = --dpi ]; then
        [[ $2 =~ ^[1-9][0-9]*$ ]] || { echo "--dpi needs a number of dots per inch" >&2; exit 2; }
        dpi=$2
      else
        shot=$(realpath -m "$2")
      fi
      shift
      ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
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
if [ "$demo" = 1 ] || [ -n "$shot" ] || [ -n "$dpi" ] || [ "$wine_fonts" = 0 ]; then
  # A throwaway prefix: the demo's samples, the settings asked for, or a
  # screenshot of your own program without touching your prefix's settings.
  export WINEPREFIX=$root/build/run-prefix
  brv_wine_prefix_remove
  export BRV_WINEPREFIX=$WINEPREFIX
else
  export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
fi

if [ -n "$shot" ]; then
  # A window at 192 dpi is wider than 1280 pixels.
  export BRV_XVFB_SCREEN=2560x1600x24
  # shellcheck source=scripts/xvfb.sh
  . "$root/scripts/xvfb.sh"
  start_xvfb
fi

if [ -n "${BRV_WINEPREFIX:-}" ]; then
  # A virtual display has no window manager: there Wine draws the frames.
  brv_wine_prefix $([ -n "$shot" ] && echo --unmanaged)
  [ "$demo" = 1 ] && wine regedit /S "$(winepath -w "$root/scripts/demo.reg")" \
    >/dev/null 2>&1 </dev/null
  if [ -n "$dpi" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >/dev/null 2>&1 </dev/null
  fi
  if [ "$wine_fonts" = 0 ]; then
    # Wine then draws with the fonts the system has (fontconfig's choice).
    find "$WINEPREFIX/drive_c/windows/Fonts" -type l -delete
  fi
fi

if [ -z "$shot" ]; then
  exec wine "$build/Brovantine.exe"
fi

wine "$build/Brovantine.exe" >/dev/null 2>&1 </dev/null &
program=$!
# shellcheck disable=SC2086 # $about and $size are words of their own
geometry=$(wine "$build/dismiss_note.exe" 60 $about $size </dev/null | tr -d '\r')
read -r x y w h <<<"$geometry"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
kill "$program" 2>/dev/null || true
echo "Saved $shot"
