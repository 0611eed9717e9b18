#!/usr/bin/env bash
# Builds everything and runs the engine benchmark under Wine (on a private
# Xvfb display unless one is given): tools/bench.sh [runs] [lines]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh"
source "$root/tools/wine-env.sh"
trap stop_xvfb EXIT
"$root/tools/build.sh" >/dev/null
start_xvfb
wine_boot
cd "$root/build/win/benchbin"
"$WINE64" engine_bench.exe "${1:-7}" "${2:-300}"
