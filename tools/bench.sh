#!/usr/bin/env bash
# Builds everything and runs the engine benchmark under Wine (on a private
# Xvfb display unless one is given): tools/bench.sh [runs] [lines]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh"
"$root/tools/build.sh" >/dev/null
source "$root/tools/wine-env.sh"
XVFB_PID=
start_xvfb
trap '[ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true' EXIT
wine_boot
cd "$root/build/win/bin"
"$WINE64" engine_bench.exe "${1:-7}" "${2:-300}"
