#!/usr/bin/env bash
# Builds everything and runs every test headless: the native tests and the
# Windows test programs under Wine on a private Xvfb display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# Setup first: it installs Wine and the rest on a machine that has none.
"$root/tools/setup.sh"
source "$root/tools/wine-env.sh"
# Whatever fails from here on, the display and the Wine server end with us.
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT
"$root/tools/build.sh"
unset DISPLAY
start_xvfb
wine_boot
cd "$root/build/win"
# The soak (label "soak") runs only when asked for: tools/test.sh -L soak
if [ $# -eq 0 ]; then set -- -LE soak; fi
ctest --output-on-failure "$@"
