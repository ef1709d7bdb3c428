# Sourced: starts a virtual X server for this shell's commands and stops it,
# with the Wine server of $BRV_WINEPREFIX if set, when the shell exits.
#   start_xvfb            sets DISPLAY
start_xvfb() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${BRV_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  BRV_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  if [ ! -s "$fd_file" ]; then
    echo "Could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
  trap stop_xvfb EXIT
}

stop_xvfb() {
  if [ -n "${BRV_WINEPREFIX:-}" ] && [ -d "$BRV_WINEPREFIX" ]; then
    WINEPREFIX=$BRV_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "${BRV_XVFB_PID:-}" ]; then
    kill "$BRV_XVFB_PID" 2>/dev/null || true
    wait "$BRV_XVFB_PID" 2>/dev/null || true
  fi
}
