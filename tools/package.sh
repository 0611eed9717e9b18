#!/usr/bin/env bash
# Builds the release of the program and writes dist/:
#   MarbexFreeVideoConverter-<version>-portable.zip
#   MarbexFreeVideoConverter-<version>-setup.exe
# Installs what it needs when missing (like tools/setup.sh). The release tree
# is build/release; the program's symbol file stays there (symbols/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh" makensis:nsis zip:zip unzip:unzip
source "$root/tools/wine-env.sh"
cleanup() {
  if [ -n "$XVFB_PID" ]; then
    wineserver -k >/dev/null 2>&1 || true
    stop_xvfb
  fi
}
trap cleanup EXIT

tree="$root/build/release"
source "$root/tools/configure.sh"
configure "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DMFVC_TESTS=OFF
cmake --build "$tree" -j "$(nproc)" --target MarbexVideoConverter

version="$(sed -n 's/^#define MFVC_VERSION_TEXT "\(.*\)"$/\1/p' "$tree/generated/Version.h")"
[ -n "$version" ] || { echo "no version in $tree/generated/Version.h" >&2; exit 1; }
name="MarbexFreeVideoConverter-$version"

# The files that ship, with Windows line ends on the texts.
stage="$tree/stage"
rm -rf "$stage"
mkdir -p "$stage"
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$@"; }
cp "$tree/bin/MarbexVideoConverter.exe" "$stage/"
cp "$root/build/ffmpeg/package/ffmpeg.exe" "$stage/"
sed "s/@VERSION@/$version/g" "$root/packaging/README.txt" | crlf >"$stage/README.txt"
crlf "$root/LICENSE" >"$stage/LICENSE.txt"

# The encoder's notices as the encoder itself prints them.
unset DISPLAY
start_xvfb
wine_boot
encoder() { (cd "$stage" && "$WINE64" ffmpeg.exe "$@" </dev/null 2>&1) | tr -d '\r'; }
{
  echo "Third-party software in Marbex Free Video Converter $version"
  echo "==========================================================="
  echo
  echo "The program comes with the encoder program ffmpeg.exe, a separate program"
  echo "that Marbex Free Video Converter starts for every conversion. It is not part"
  echo "of Marbex Free Video Converter and is not covered by its licence."
  echo
  echo "Where its source can be had"
  echo "---------------------------"
  sed -n -e 's/^ *"homepage": "\(.*\)",*$/This build of ffmpeg.exe was published at: \1/p' \
    -e 's/^ *"ffmpeg": "\(.*\)",*$/It was built from the encoder'"'"'s source at revision (date-revision): \1/p' \
    -e 's/^ *"license": "\(.*\)",*$/Licence named by its package: \1/p' \
    "$root/build/ffmpeg/package/package.json"
  echo "The encoder's version line below names the same source version; its"
  echo "configuration line lists the libraries it was built with."
  echo
  echo "Version and build configuration (ffmpeg.exe -version)"
  echo "------------------------------------------------------"
  encoder -version
  echo
  echo "Licence (ffmpeg.exe -L)"
  echo "-----------------------"
  encoder -hide_banner -L
} | crlf >"$stage/THIRD-PARTY-NOTICES.txt"
grep -q '^ffmpeg version' "$stage/THIRD-PARTY-NOTICES.txt" ||
  { echo "the encoder printed no version line" >&2; exit 1; }

dist="$root/dist"
mkdir -p "$dist"
rm -f "$dist/$name-portable.zip" "$dist/$name-setup.exe"
(cd "$stage" && zip -q -X -9 "$dist/$name-portable.zip" MarbexVideoConverter.exe ffmpeg.exe README.txt \
  LICENSE.txt THIRD-PARTY-NOTICES.txt)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$root/resources/pictures/program.ico" \
  -DOUTFILE="$dist/$name-setup.exe" "$root/packaging/setup.nsi"

size() { stat -c %s "$1"; }
echo "program   $(size "$stage/MarbexVideoConverter.exe") bytes"
echo "zip       $(size "$dist/$name-portable.zip") bytes  dist/$name-portable.zip"
echo "installer $(size "$dist/$name-setup.exe") bytes  dist/$name-setup.exe"
