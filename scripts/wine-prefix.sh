# Sourced: how every Wine run of ours is set up.
#   brv_wine_env                    exports the Wine settings and a UTF-8 locale
#   brv_wine_prefix [--unmanaged]   sets up $WINEPREFIX once (marked by a file
#                                   of our own) and starts its server;
#                                   --unmanaged: Wine draws the window frames
#   brv_wine_prefix_remove          stops $WINEPREFIX's server, removes the prefix

brv_wine_env() {
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  export WINEARCH=win64
  # Wine takes the Unix file names' encoding from the locale: under one that
  # is not UTF-8 it cannot make or start a program in a folder whose name
  # holds characters outside ASCII. C.UTF-8 exists on every Debian.
  if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    export LC_ALL=C.UTF-8
  fi
}

# Debian's Wine looks for its own fonts (Marlett for the caption buttons,
# Tahoma for the dialog font) beside its data rather than where the
# fonts-wine package puts them: the prefix's Fonts folder gets links to them.
brv_wine_fonts() {
  local font fonts_dir=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts_dir"
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] && ln -sf "$font" "$fonts_dir/"
  done
}

brv_wine_prefix() {
  mkdir -p "$WINEPREFIX"
  # Wine's server and its service processes outlive the command that starts
  # them and keep its output open: start them with output elsewhere (the
  # server persistent, so they stay), so that callers may capture ours.
  wineserver -p >/dev/null 2>&1 </dev/null || true
  # The server writes the prefix's registry files only from time to time and
  # when it stops, so a marker of our own says that the prefix is set up.
  if [ ! -f "$WINEPREFIX/.brovantine-ready" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null
    brv_wine_fonts
    if [ "${1:-}" = --unmanaged ]; then
      # With no window manager on a virtual display, Wine waits two seconds
      # for each managed window it hides.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    fi
    touch "$WINEPREFIX/.brovantine-ready"
  else
    wine cmd /c exit >/dev/null 2>&1 </dev/null
  fi
}

brv_wine_prefix_remove() {
  # A server still running on the old prefix would outlive its deleted folder.
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  rm -rf "$WINEPREFIX"
}
