# session.sh: sourced by the README's commands. Starts Xvfb when there is no display
# and stops, on exit, what this session started (Xvfb, the prefix's wineserver).
VX_STARTED_XVFB=""
vx_start_display() {
  if [ -z "${DISPLAY:-}" ]; then
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    VX_STARTED_XVFB=$!
    export DISPLAY=":$n"
    i=0
    while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
  fi
}
vx_cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  fi
  [ -z "$VX_STARTED_XVFB" ] || kill "$VX_STARTED_XVFB" 2>/dev/null || true
}
trap vx_cleanup EXIT INT TERM
