# Sourced by the scripts: the project's own Wine prefix, quiet, 64-bit.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${MFVC_WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Sourcing this never fails, Wine or not: on a machine without it yet,
# tools/setup.sh installs it, and a script that needs Wine sources this
# after that.
WINE64="${MFVC_WINE_LIB:-/usr/lib/wine}/wine64"
[ -x "$WINE64" ] || WINE64="$(command -v wine64 || command -v wine || echo wine64)"

# The first Wine program of a fresh wineserver starts helper processes that
# keep its output pipes open; start the server and boot the prefix with
# output to /dev/null so nobody reading our output waits for them.
wine_boot() {
  mkdir -p "$WINEPREFIX"
  # A persistent server: its helper processes start once, here, with their
  # output going nowhere.
  wineserver -p >/dev/null 2>&1 </dev/null || true
  "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
  # Every Windows has Tahoma, which Wine's own settings name as the system's
  # dialog font (message boxes, tips, menus). This Wine does not load the
  # copy in its data folder, and its substitute draws text past the width it
  # measures, cutting the last letter. Wine makes those fonts as a program
  # starts, before the program could add a font of its own.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
    "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # One Wine desktop window holds every window: Wine draws the frames and
  # captions itself, and hiding a window never waits for a window manager.
  if ! grep -q 'Software\\\\Wine\\\\Explorer\\\\Desktops' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null || true
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 </dev/null || true
    # Wine draws the caption buttons of its frames with its own symbol font.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # The desktop already running was made before the setting: start again.
    wineserver -k >/dev/null 2>&1 </dev/null || true
    wineserver -w >/dev/null 2>&1 </dev/null || true
    wineserver -p >/dev/null 2>&1 </dev/null || true
    "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
  fi
}

# A private X display, unless one is given and alive. XVFB_PID is the
# server this started (empty otherwise); stop_xvfb ends it. A server that
# does not answer is ended before the next display number is tried.
XVFB_PID=
start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    return
  fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    stop_xvfb
  done
  unset DISPLAY
  echo "no X display could be started" >&2
  return 1
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}
