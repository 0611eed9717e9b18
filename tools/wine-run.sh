#!/usr/bin/env bash
# CTest's emulator for the Windows test programs.
source "$(dirname "$0")/wine-env.sh"
exec "$WINE64" "$@"
