#!/usr/bin/env bash
# Makes the packages (tools/package.sh) and tests them as a user gets them:
# the setup program, the installed program, the uninstaller and the portable
# zip, under Wine in a fresh prefix of their own (build/package-prefix), and
# what lies beside them: checksums, signatures, manifests, encoder source.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# The packages signed with a throwaway self-signed certificate, made anew
# each run; the test verifies the signatures against it.
sign="$root/build/package-sign"
rm -rf "$sign"
mkdir -p "$sign"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Marbex Software test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$sign/key.pem" -out "$sign/cert.pem" 2>/dev/null
export MFVC_SIGN_CERT="$sign/cert.pem" MFVC_SIGN_KEY="$sign/key.pem"
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
# A fresh prefix tells programs it is Windows 7; the setup program needs
# Windows 10 version 1903, which is what Wine's Windows 10 reports.
"$WINE64" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1 </dev/null
cd "$root/build/release/testbin"
"$WINE64" package_test.exe "$@"
