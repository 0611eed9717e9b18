#!/usr/bin/env bash
# Builds both trees: build/host (native, portable code and its tests with
# the sanitizers) and build/win (the Windows program and its tests). The
# configure steps are quiet unless they fail.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
source "$root/tools/configure.sh"
mingw=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake")
gtest_prefix "$root/build/gtest/host"
gtest_prefix "$root/build/gtest/mingw" "${mingw[@]}"

configure "$root/build/host" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_PREFIX_PATH="$root/build/gtest/host"
cmake --build "$root/build/host" -j "$jobs"
configure "$root/build/win" "${mingw[@]}" -DCMAKE_PREFIX_PATH="$root/build/gtest/mingw" \
  -DMFVC_HOST_BUILD_DIR="$root/build/host"
cmake --build "$root/build/win" -j "$jobs"
# The program finds ffmpeg.exe in its own folder; the tests and the
# benchmark find it in theirs.
for dir in "$root/build/win/bin" "$root/build/win/testbin" "$root/build/win/benchbin"; do
  mkdir -p "$dir"
  if ! cmp -s "$root/build/encoder/ffmpeg.exe" "$dir/ffmpeg.exe"; then
    cp "$root/build/encoder/ffmpeg.exe" "$dir/ffmpeg.exe"
  fi
done
