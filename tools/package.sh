#!/usr/bin/env bash
# Builds the release of the program and writes dist/:
#   MarbexFreeVideoConverter-<version>-portable.zip
#   MarbexFreeVideoConverter-<version>-setup.exe
#   MarbexFreeVideoConverter-<version>-encoder-source.tar.xz
#                                      the complete source of the shipped ffmpeg.exe
#   Marbex.FreeVideoConverter.yaml     winget manifest of the setup program
#   marbex-free-video-converter.json   Scoop manifest of the portable zip
#   SHA256SUMS                         the SHA-256 of each file above
# Installs what it needs when missing (like tools/setup.sh). The release tree
# is build/release; the program's symbol file stays there (symbols/). The
# encoder and its sources come from build/encoder (tools/build-encoder.sh).
#
# Environment:
#   MFVC_SIGN_CERT, MFVC_SIGN_KEY  a code-signing certificate (PEM, with its
#       chain) and its private key (PEM, not encrypted). Given both, the
#       program, the uninstaller and the setup program are signed with
#       osslsigncode before anything is hashed. Neither: nothing is signed.
#   MFVC_DOWNLOAD_URL  the address the release's files are published under,
#       for the manifests; the default is a placeholder to replace.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh" makensis:nsis zip:zip unzip:unzip xz:xz-utils osslsigncode:osslsigncode
source "$root/tools/wine-env.sh"
cleanup() {
  if [ -n "$XVFB_PID" ]; then
    wineserver -k >/dev/null 2>&1 || true
    stop_xvfb
  fi
}
trap cleanup EXIT

cert="${MFVC_SIGN_CERT:-}"
key="${MFVC_SIGN_KEY:-}"
if [ -n "$cert$key" ] && { [ ! -f "$cert" ] || [ ! -f "$key" ]; }; then
  echo "signing needs both MFVC_SIGN_CERT and MFVC_SIGN_KEY, each naming a file" >&2
  exit 1
fi
# sign <file>: signs the file in place when a certificate is given.
sign() {
  [ -n "$cert" ] || return 0
  osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n "Marbex Free Video Converter" \
    -i "http://www.marbex-soft.example/videoconverter/" -in "$1" -out "$1.signed" >/dev/null
  mv "$1.signed" "$1"
}

encoder_dir="$root/build/encoder"
for f in ffmpeg.exe version.txt pinned.txt licences/GPL-2.txt sources/build-encoder.sh; do
  [ -e "$encoder_dir/$f" ] || { echo "no $encoder_dir/$f: run tools/setup.sh" >&2; exit 1; }
done
# The notices below give the encoder's licence as GPL version 2 or later,
# with the text of version 2: an encoder under another licence stops here.
grep -qx 'license: GPL version 2 or later' "$encoder_dir/version.txt" ||
  { echo "$encoder_dir/version.txt names another licence than GPL version 2 or later" >&2; exit 1; }

tree="$root/build/release"
source "$root/tools/configure.sh"
configure "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DMFVC_TESTS=OFF
cmake --build "$tree" -j "$(nproc)" --target MarbexVideoConverter

version="$(sed -n 's/^#define MFVC_VERSION_TEXT "\(.*\)"$/\1/p' "$tree/generated/Version.h")"
[ -n "$version" ] || { echo "no version in $tree/generated/Version.h" >&2; exit 1; }
name="MarbexFreeVideoConverter-$version"
source_archive="$name-encoder-source.tar.xz"
download="${MFVC_DOWNLOAD_URL:-https://downloads.marbex-soft.example/videoconverter/$version}"

# The files that ship, with Windows line ends on the texts.
stage="$tree/stage"
rm -rf "$stage"
mkdir -p "$stage"
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$@"; }
cp "$tree/bin/MarbexVideoConverter.exe" "$stage/"
sign "$stage/MarbexVideoConverter.exe"
cp "$encoder_dir/ffmpeg.exe" "$stage/"
sed -e "s/@VERSION@/$version/g" -e "s/@SOURCE_ARCHIVE@/$source_archive/g" "$root/packaging/README.txt" |
  crlf >"$stage/README.txt"
crlf "$root/LICENSE" >"$stage/LICENSE.txt"

# The encoder's notices: what it is, where its source is, and the licences
# of everything built into it.
{
  echo "Third-party software in Marbex Free Video Converter $version"
  echo "==========================================================="
  echo
  echo "The program comes with the encoder program ffmpeg.exe, a separate program"
  echo "that Marbex Free Video Converter starts for every conversion. It is not part"
  echo "of Marbex Free Video Converter and is not covered by its licence."
  echo
  echo "The encoder"
  echo "-----------"
  cat "$encoder_dir/version.txt"
  echo
  echo "ffmpeg.exe is free software: you can redistribute it and/or modify it under"
  echo "the terms of the GNU General Public License as published by the Free"
  echo "Software Foundation, either version 2 of the License, or (at your option)"
  echo "any later version. The text of version 2 is at the end of this file."
  echo
  echo "Where its source is"
  echo "-------------------"
  echo "The complete corresponding source of this ffmpeg.exe is the archive"
  echo "    $source_archive"
  echo "published with this release. It holds the Debian source packages it was"
  echo "built from (each .dsc with its tarballs) and the script that built it"
  echo "(build-encoder.sh), which rebuilds the same ffmpeg.exe. The source packages:"
  sed 's/^/    /' "$encoder_dir/pinned.txt"
  echo
  echo "Licences and copyright notices of what is built into ffmpeg.exe"
  echo "----------------------------------------------------------------"
  for dir in "$encoder_dir"/licences/*/; do
    package="$(basename "$dir")"
    for file in "$dir"*; do
      echo
      echo "==== $package: $(basename "$file") ===="
      echo
      cat "$file"
    done
  done
  echo
  echo "GNU General Public License, version 2"
  echo "-------------------------------------"
  echo
  cat "$encoder_dir/licences/GPL-2.txt"
} | crlf >"$stage/THIRD-PARTY-NOTICES.txt"

dist="$root/dist"
mkdir -p "$dist"
winget="Marbex.FreeVideoConverter.yaml"
scoop="marbex-free-video-converter.json"
made=("$name-portable.zip" "$name-setup.exe" "$source_archive" "$winget" "$scoop")
for f in "${made[@]}" SHA256SUMS; do rm -f "${dist:?}/$f"; done

(cd "$stage" && zip -q -X -9 "$dist/$name-portable.zip" MarbexVideoConverter.exe ffmpeg.exe README.txt \
  LICENSE.txt THIRD-PARTY-NOTICES.txt)
# Exactly the encoder's sources/ folder, with fixed owners and times.
tar -C "$encoder_dir/" --owner=0 --group=0 --numeric-owner --sort=name --mtime=@0 -cf - sources |
  xz -T0 -2 >"$dist/$source_archive"

# The uninstaller: a first setup program that only writes it, run here, so
# that it can be signed before the real setup program takes it in.
nsis=(-V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$root/resources/pictures/program.ico")
uninstaller_dir="$tree/uninstaller"
rm -rf "$uninstaller_dir"
mkdir -p "$uninstaller_dir"
unset DISPLAY
start_xvfb
wine_boot
makensis "${nsis[@]}" -DINNER -DOUTFILE="$uninstaller_dir/write-uninstaller.exe" \
  -DUNINSTALLER_OUT="$("$WINE64" winepath -w "$uninstaller_dir" 2>/dev/null | tr -d '\r')\\uninstall.exe" "$root/packaging/setup.nsi"
"$WINE64" "$uninstaller_dir/write-uninstaller.exe" /S </dev/null >/dev/null 2>&1
[ -f "$uninstaller_dir/uninstall.exe" ] || { echo "the uninstaller was not written" >&2; exit 1; }
sign "$uninstaller_dir/uninstall.exe"

size() { stat -c %s "$1"; }
installed_bytes=$(($(size "$uninstaller_dir/uninstall.exe")))
for f in MarbexVideoConverter.exe ffmpeg.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  installed_bytes=$((installed_bytes + $(size "$stage/$f")))
done
makensis "${nsis[@]}" -DOUTFILE="$dist/$name-setup.exe" -DUNINSTALLER="$uninstaller_dir/uninstall.exe" \
  -DINSTALLED_KB=$(((installed_bytes + 1023) / 1024)) "$root/packaging/setup.nsi"
sign "$dist/$name-setup.exe"

# Package managers: winget (the setup program) and Scoop (the zip).
sha256() { sha256sum "$1" | cut -d' ' -f1; }
setup_sha="$(sha256 "$dist/$name-setup.exe")"
zip_sha="$(sha256 "$dist/$name-portable.zip")"
cat >"$dist/$winget" <<EOF
# winget manifest made by tools/package.sh; InstallerUrl comes from MFVC_DOWNLOAD_URL.
PackageIdentifier: Marbex.FreeVideoConverter
PackageVersion: $version
PackageLocale: en-US
Publisher: Marbex Software
PublisherUrl: http://www.marbex-soft.example/
PackageName: Marbex Free Video Converter
PackageUrl: http://www.marbex-soft.example/videoconverter/
License: MIT
ShortDescription: Converts audio and video files from one format to another.
MinimumOSVersion: 10.0.18362.0
Installers:
  - Architecture: x64
    InstallerType: nullsoft
    Scope: user
    InstallerUrl: $download/$name-setup.exe
    InstallerSha256: ${setup_sha^^}
    InstallerSwitches:
      Silent: /S
      SilentWithProgress: /S
      InstallLocation: /D=<INSTALLPATH>
    UpgradeBehavior: install
    ExpectedReturnCodes:
      - InstallerReturnCode: 2
        ReturnResponse: packageInUse
      - InstallerReturnCode: 4
        ReturnResponse: systemNotSupported
    ProductCode: MarbexFreeVideoConverter
ManifestType: singleton
ManifestVersion: 1.6.0
EOF
cat >"$dist/$scoop" <<EOF
{
    "version": "$version",
    "description": "Converts audio and video files from one format to another.",
    "homepage": "http://www.marbex-soft.example/videoconverter/",
    "license": "MIT",
    "architecture": {
        "64bit": {
            "url": "$download/$name-portable.zip",
            "hash": "$zip_sha"
        }
    },
    "shortcuts": [
        [
            "MarbexVideoConverter.exe",
            "Marbex Free Video Converter"
        ]
    ],
    "persist": "settings.ini"
}
EOF

(cd "$dist" && sha256sum "${made[@]}" >SHA256SUMS)

echo "program   $(size "$stage/MarbexVideoConverter.exe") bytes"
echo "zip       $(size "$dist/$name-portable.zip") bytes  dist/$name-portable.zip"
echo "installer $(size "$dist/$name-setup.exe") bytes  dist/$name-setup.exe"
echo "source    $(size "$dist/$source_archive") bytes  dist/$source_archive"
if [ -n "$cert" ]; then echo "signed    with $cert"; else echo "signed    no (MFVC_SIGN_CERT/MFVC_SIGN_KEY not given)"; fi
