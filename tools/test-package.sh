#!/usr/bin/env bash
# Makes the packages (tools/package.sh) and tests them as a user gets them:
# the setup program, the installed program, the uninstaller and the portable
# zip, under Wine in a fresh prefix of their own (build/package-prefix).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/package.sh"
export MFVC_WINEPREFIX="$root/build/package-prefix"
source "$root/tools/wine-env.sh"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT

source "$root/tools/configure.sh"
mingw=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake")
gtest_prefix "$root/build/gtest/mingw" "${mingw[@]}"
configure "$root/build/release" "${mingw[@]}" -DCMAKE_BUILD_TYPE=Release -DMFVC_TESTS=OFF \
  -DMFVC_PACKAGE_TEST=ON -DCMAKE_PREFIX_PATH="$root/build/gtest/mingw"
cmake --build "$root/build/release" -j "$(nproc)" --target package_test

wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
unset DISPLAY
start_xvfb
wine_boot
cd "$root/build/release/testbin"
"$WINE64" package_test.exe "$@"
