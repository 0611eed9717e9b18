#!/usr/bin/env bash
# Builds the program and starts it: directly on Windows, under Wine elsewhere
# (needs a display; works under xvfb-run too).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh"
"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
wine_boot
exec "$WINE64" "$root/build/win/bin/MarbexVideoConverter.exe"
