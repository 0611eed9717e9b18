#!/usr/bin/env bash
# Installs what the build, the program and the tests need, only when missing.
# Safe to run again: with everything present it installs nothing. Arguments
# COMMAND:PACKAGE add more: the package is installed when the command is
# missing (tools/package.sh asks for its packers this way).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64 wine)
have Xvfb || need+=(xvfb)
have xauth || need+=(xauth)
have ffmpeg || need+=(ffmpeg)
have ffprobe || need+=(ffmpeg)
have cmake || need+=(cmake)
have g++ || need+=(g++)
have make || need+=(make)
have xdotool || need+=(xdotool)
have xwininfo || need+=(x11-utils)
[ -x /usr/bin/convert ] || need+=(imagemagick)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
for extra in "$@"; do
  have "${extra%%:*}" || need+=("${extra#*:}")
done
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
fi

# The encoder program for Windows is built from Debian's source packages
# once per machine (about half an hour the first time, a line per step);
# build/encoder points at the cached result. It is never committed.
"$root/tools/build-encoder.sh"
