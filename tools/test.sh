#!/usr/bin/env bash
# Builds everything and runs every test headless: the native tests and the
# Windows test programs under Wine on a private Xvfb display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh"
"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
XVFB_PID=
unset DISPLAY
start_xvfb
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
wine_boot
cd "$root/build/win"
# The soak (label "soak") runs only when asked for: tools/test.sh -L soak
if [ $# -eq 0 ]; then set -- -LE soak; fi
ctest --output-on-failure "$@"
