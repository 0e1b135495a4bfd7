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
vx_stop_wineserver() {
  [ -d "$1" ] && WINEPREFIX="$1" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
}
vx_cleanup() {
  [ -z "${WINEPREFIX:-}" ] || vx_stop_wineserver "$WINEPREFIX"
  [ -z "${VX_PREFIXES:-}" ] || for p in $VX_PREFIXES; do vx_stop_wineserver "$p"; done
  [ -z "$VX_STARTED_XVFB" ] || kill "$VX_STARTED_XVFB" 2>/dev/null || true
}
trap vx_cleanup EXIT INT TERM

# Picks the build that runs here: x86, the shipped 32-bit program, through Wine's 32-bit
# loader; x64 where this machine cannot execute 32-bit code. Sets VX_ARCH and VX_WINE;
# says so in one line when it falls back.
vx_pick_arch() {
  local why
  if why=$(/usr/lib/wine/wine --version 2>&1 >/dev/null); then
    VX_ARCH=x86 VX_WINE=/usr/lib/wine/wine
  else
    [ -x /usr/lib/wine/wine ] || why="no 32-bit Wine"
    echo "This machine cannot run 32-bit Windows programs (${why##*: }): the 64-bit build stands in for the 32-bit program." >&2
    VX_ARCH=x64 VX_WINE=/usr/lib/wine/wine64
  fi
  export VANTORIX_WINE=$VX_WINE
}

# vx_configure ROOT ARCH [DIR [CMAKE_ARGS...]]: configures the build tree DIR (by default
# $BUILD/ARCH): x86, whose program is the release's, as Release; x64 as RelWithDebInfo.
vx_configure() {
  local root=$1 arch=$2 dir=${3:-$BUILD/$2}
  shift 2
  [ $# -eq 0 ] || shift
  if [ "$arch" = x86 ]; then
    cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" \
      -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  else
    cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
}
