#!/usr/bin/env bash
# Builds both trees: build/host (native, portable code and its tests with
# the sanitizers) and build/win (the Windows program and its tests).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
cmake -S "$root" -B "$root/build/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build/host" -j "$jobs"
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DMFVC_HOST_BUILD_DIR="$root/build/host" >/dev/null
cmake --build "$root/build/win" -j "$jobs"
# The program finds ffmpeg.exe in its own folder; the tests find it in theirs.
for dir in "$root/build/win/bin" "$root/build/win/testbin"; do
  mkdir -p "$dir"
  if ! cmp -s "$root/build/ffmpeg/package/ffmpeg.exe" "$dir/ffmpeg.exe"; then
    cp "$root/build/ffmpeg/package/ffmpeg.exe" "$dir/ffmpeg.exe"
  fi
done
