#!/usr/bin/env bash
# The encoder the program ships, as Windows runs it: FFmpeg 7.1 configured
# under the GPL (never nonfree) with the libraries the catalogue needs and
# without network protocols; the very file the cache holds.
#   shipped-encoder.sh <folder with ffmpeg.exe> <cache result folder>
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
folder="$1"
cached="$2"
source "$root/tools/wine-env.sh"
failed=0
fail() {
  echo "FAILED: $*"
  failed=1
}
encoder() { (cd "$folder" && "$WINE64" ffmpeg.exe -hide_banner "$@" </dev/null 2>&1) | tr -d '\r'; }

cmp -s "$folder/ffmpeg.exe" "$cached/ffmpeg.exe" || fail "$folder/ffmpeg.exe is not the cached build"
version="$(cd "$folder" && "$WINE64" ffmpeg.exe -version </dev/null 2>&1 | tr -d '\r')"
echo "$version" | head -n 2
echo "$version" | grep -q '^ffmpeg version 7\.1\.' || fail "not FFmpeg 7.1"
configuration="$(echo "$version" | sed -n 's/^configuration: //p')"
for wanted in gpl libx264 libmp3lame libx265 libvpx libopus libvorbis libdav1d zlib; do
  [[ " $configuration " == *" --enable-$wanted "* ]] || fail "not configured with --enable-$wanted"
done
for unwanted in nonfree version3; do
  [[ " $configuration " != *" --enable-$unwanted "* ]] || fail "configured with --enable-$unwanted"
done
[[ " $configuration " == *" --disable-autodetect "* ]] || fail "the build detected libraries by itself"
[ "$(sed -n 's/^configuration: //p' "$cached/version.txt")" = "$configuration" ] ||
  fail "version.txt in the cache does not match what the encoder says"

# The encoders the catalogue's rows name.
encoders="$(encoder -encoders)"
for name in libx264 libmp3lame mpeg4 mpeg1video mpeg2video msmpeg4 wmv2 flv h263 ac3 mp2 aac libvorbis wmav2; do
  echo "$encoders" | grep -Eq "^ [A-Z.]{6} $name " || fail "no encoder $name"
done
# Files only: nothing that reaches a network.
protocols="$(encoder -protocols)"
for name in http https tcp udp rtmp rtp ftp prompeg hls; do
  echo "$protocols" | grep -qx "  $name" && fail "has the network protocol $name"
done
echo "$protocols" | grep -qx "  file" || fail "has no file protocol"

[ "$failed" -eq 0 ] && echo "shipped encoder: every check held"
exit "$failed"
