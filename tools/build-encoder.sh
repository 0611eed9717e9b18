#!/usr/bin/env bash
# Cross-builds the encoder the program ships, ffmpeg.exe, as one static
# 64-bit Windows program, from Debian's own source packages.
#
#   tools/build-encoder.sh          build it unless the cache has it; then
#                                   point build/encoder at the cached result
#   tools/build-encoder.sh --path   print where the result is (or would be)
#
# The result lives in a machine-wide cache (MFVC_ENCODER_CACHE, by default
# /var/cache/marbex-encoder), in a folder named by a hash of this script,
# which holds the pinned versions and every build option: a fresh clone on a
# machine that built it once finds it at once. The folder holds
#   ffmpeg.exe     the encoder
#   sources/       the Debian source packages it was built from (.dsc and
#                  tarballs) and this script: the complete source
#   licences/      each source package's copyright file and licence texts
#   version.txt    what the encoder prints for -version
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
script="$root/tools/build-encoder.sh"

# The exact source packages. Debian 13 (trixie) where its package can be
# fetched here, else the one of Debian 12 (bookworm) and its security suite:
# the package mirror this is built behind serves only some of the files.
# xvidcore is missing: no version of its source can be fetched, so the
# encoder is built without libxvid and the program gives an encoder without
# it the native MPEG-4 encoder for the Xvid profiles. A new version here
# means a new hash, so a new build.
PINNED=(
  zlib=1:1.3.dfsg+really1.3.1-1
  x264=2:0.164.3095+gitbaee400-3
  lame=3.100-6
  libogg=1.3.5-3
  libvorbis=1.3.7-3
  opus=1.5.2-2
  libvpx=1.12.0-1+deb12u5
  x265=3.5-2
  dav1d=1.5.1-1
  ffmpeg=7:7.1.5-0+deb13u1
)
SUITES="trixie trixie-updates"
SECURITY_SUITES="trixie-security"

host=x86_64-w64-mingw32
cache="${MFVC_ENCODER_CACHE:-/var/cache/marbex-encoder}"
key="$(sha256sum "$script" | cut -c1-16)"
out="$cache/$key"

if [ "${1:-}" = "--path" ]; then
  echo "$out"
  exit 0
fi

link_result() {
  mkdir -p "$root/build"
  ln -sfn "$out" "$root/build/encoder"
}

if [ -f "$out/ffmpeg.exe" ] && [ -f "$out/version.txt" ]; then
  link_result
  exit 0
fi

# One build at a time on this machine: another run waits for it, then
# finds the result.
mkdir -p "$cache"
exec 9>"$cache/lock-$key"
if ! flock -n 9; then
  echo "encoder: waiting for the build already running on this machine"
  flock 9
fi
if [ -f "$out/ffmpeg.exe" ] && [ -f "$out/version.txt" ]; then
  link_result
  exit 0
fi

steps=$((${#PINNED[@]} + 1))
step=0
say() { echo "encoder: $*"; }
progress() {
  step=$((step + 1))
  say "$1 ($step of $steps)"
}

# What the build itself needs.
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have ${host}-gcc-posix || need+=(gcc-mingw-w64-x86-64-posix)
have ${host}-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have nasm || need+=(nasm)
have meson || need+=(meson)
have ninja || need+=(ninja-build)
have cmake || need+=(cmake)
have make || need+=(make)
have pkg-config || need+=(pkg-config)
have dpkg-source || need+=(dpkg-dev)
have xz || need+=(xz-utils)
have flock || need+=(util-linux)
if [ ${#need[@]} -gt 0 ]; then
  say "installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
fi

work="$cache/work-$key"
rm -rf "$work"
mkdir -p "$work"
log="$work/build.log"
: >"$log"
# fail <what>: the end of the log, and out.
run() {
  if ! "$@" >>"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "encoder: failed: $* (whole log: $log)" >&2
    exit 1
  fi
}

# Source packages come through apt with a list of its own: deb-src lines for
# the machine's own deb entries and for Debian's current stable release, in
# a private state folder, so the machine's package lists stay as they were.
progress "fetching the source packages"
apt_dir="$work/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d"
# The machine's own Debian entries, one-line and deb822 forms, as deb-src.
{ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
  sed -n 's/^[[:space:]]*deb[[:space:]]\(.*debian\.org.*\)$/deb-src \1/p' >"$apt_dir/sources.list"
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && grep -q 'debian\.org' "$f" || continue
  sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
done
for s in $SUITES; do echo "deb-src http://deb.debian.org/debian $s main"; done >>"$apt_dir/sources.list"
for s in $SECURITY_SUITES; do
  echo "deb-src http://deb.debian.org/debian-security $s main"
done >>"$apt_dir/sources.list"
apt_opts=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
  -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache::Archives="$apt_dir/archives"
  -o APT::Sandbox::User=root)
run apt-get "${apt_opts[@]}" update
mkdir -p "$work/sources"
for pin in "${PINNED[@]}"; do
  (cd "$work/sources" && run apt-get "${apt_opts[@]}" source --download-only "$pin")
done
cp "$script" "$work/sources/build-encoder.sh"

# Unpacks the named source package into src/<name> (Debian's patches applied).
unpack() {
  local name="$1" dsc
  dsc="$(ls "$work/sources/${name}_"*.dsc | head -n1)"
  rm -rf "$work/src/$name"
  mkdir -p "$work/src"
  run dpkg-source --no-check -x "$dsc" "$work/src/$name"
  mkdir -p "$work/licences/$name"
  cp "$work/src/$name/debian/copyright" "$work/licences/$name/copyright"
  local f
  for f in "$work/src/$name"/COPYING* "$work/src/$name"/LICENSE* "$work/src/$name"/LICENCE* \
    "$work/src/$name"/Copying; do
    [ -f "$f" ] && cp "$f" "$work/licences/$name/"
  done
  cd "$work/src/$name"
}

prefix="$work/prefix"
mkdir -p "$prefix/lib/pkgconfig" "$prefix/include"
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
export PKG_CONFIG_PATH=
export CC=${host}-gcc-posix CXX=${host}-g++-posix AR=${host}-ar RANLIB=${host}-ranlib
export STRIP=${host}-strip NM=${host}-nm
export CFLAGS="-O2 -I$prefix/include" CXXFLAGS="-O2 -I$prefix/include" LDFLAGS="-L$prefix/lib"
jobs="$(nproc)"
autotools=(--host=$host --prefix="$prefix" --enable-static --disable-shared)

progress "building zlib"
unpack zlib
# Debian's zlib source has no Windows makefile: the library is its C files.
for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
  inftrees trees uncompr zutil; do
  run "$CC" -O2 -c "$c.c" -o "$c.o"
done
run "$AR" rcs libz.a ./*.o
install -m 644 libz.a "$prefix/lib/"
install -m 644 zlib.h zconf.h "$prefix/include/"
printf 'prefix=%s\nName: zlib\nDescription: zlib\nVersion: 1.3.1\nLibs: -L${prefix}/lib -lz\nCflags: -I${prefix}/include\n' \
  "$prefix" >"$prefix/lib/pkgconfig/zlib.pc"

progress "building x264"
unpack x264
run ./configure --host=$host --cross-prefix=${host}- --prefix="$prefix" --enable-static \
  --disable-cli --disable-opencl --disable-lavf --disable-swscale --disable-ffms --disable-gpac \
  --disable-lsmash
run make -j "$jobs"
run make install

progress "building lame"
unpack lame
run ./configure "${autotools[@]}" --disable-frontend --disable-gtktest --disable-decoder
run make -j "$jobs"
run make install

progress "building libogg"
unpack libogg
run ./configure "${autotools[@]}"
run make -j "$jobs"
run make install

progress "building libvorbis"
unpack libvorbis
run ./configure "${autotools[@]}" --disable-docs --disable-examples
run make -j "$jobs"
run make install

progress "building opus"
unpack opus
run ./configure "${autotools[@]}" --disable-doc --disable-extra-programs
run make -j "$jobs"
run make install

progress "building libvpx"
unpack libvpx
CROSS=${host}- run ./configure --target=x86_64-win64-gcc --prefix="$prefix" --enable-static \
  --disable-shared --disable-examples --disable-tools --disable-docs --disable-unit-tests \
  --enable-vp9-highbitdepth --as=nasm
CROSS=${host}- run make -j "$jobs"
CROSS=${host}- run make install

progress "building x265"
unpack x265
mkdir -p build-mingw
cd build-mingw
run cmake ../source -G Ninja -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_RC_COMPILER=${host}-windres \
  -DCMAKE_ASM_NASM_COMPILER=nasm -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_CLI=OFF -DENABLE_ASSEMBLY=ON -DSTATIC_LINK_CRT=ON
run ninja -j "$jobs"
run ninja install
# x265 is C++: a static link of it needs the C++ runtime.
sed -i 's/^Libs.private:.*/& -lstdc++/' "$prefix/lib/pkgconfig/x265.pc"

progress "building dav1d"
unpack dav1d
cat >"$work/meson-cross.txt" <<EOF
[binaries]
c = '$CC'
cpp = '$CXX'
ar = '$AR'
strip = '$STRIP'
windres = '${host}-windres'
pkg-config = 'pkg-config'
nasm = 'nasm'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
run meson setup build-mingw --cross-file "$work/meson-cross.txt" --prefix="$prefix" --libdir=lib \
  --buildtype=release --default-library=static -Denable_tools=false -Denable_tests=false
run ninja -C build-mingw -j "$jobs"
run ninja -C build-mingw install

progress "building ffmpeg"
unpack ffmpeg
# No automatic detection of whatever this machine has: every library named.
# No network: a converter of local files needs none (and no protocol that
# would only wrap one). libssp: opus is built with its run-time checks.
run ./configure --prefix="$prefix" --enable-cross-compile --target-os=mingw32 --arch=x86_64 \
  --cross-prefix=${host}- --cc="$CC" --cxx="$CXX" --pkg-config=pkg-config --pkg-config-flags=--static \
  --extra-cflags="-I$prefix/include" --extra-ldflags="-L$prefix/lib -static" \
  --extra-libs="-lstdc++ -lpthread -lssp" \
  --enable-gpl --disable-autodetect --enable-w32threads --disable-network \
  --disable-protocol=prompeg,hls \
  --disable-doc --disable-ffplay --disable-ffprobe --disable-debug --enable-static --disable-shared \
  --enable-zlib --enable-libx264 --enable-libmp3lame --enable-libvorbis \
  --enable-libopus --enable-libvpx --enable-libx265 --enable-libdav1d
run make -j "$jobs" ffmpeg.exe
run "$STRIP" -o "$work/ffmpeg.exe" ffmpeg.exe

# The result, with its sources and licence texts, moved into place whole.
cp "$work/src/ffmpeg/COPYING.GPLv2" "$work/licences/GPL-2.txt"
stage="$work/result"
rm -rf "$stage"
mkdir -p "$stage"
mv "$work/ffmpeg.exe" "$stage/"
mv "$work/sources" "$stage/sources"
rm -f "$stage/sources"/*.deb
mv "$work/licences" "$stage/licences"
printf '%s\n' "${PINNED[@]}" >"$stage/pinned.txt"
# The version line and configuration as the encoder prints them for
# -version, read from its build without running it.
{
  echo "ffmpeg version $(sed -n 's/^#define FFMPEG_VERSION "\(.*\)"$/\1/p' \
    "$work/src/ffmpeg/libavutil/ffversion.h")"
  echo "configuration: $(sed -n 's/^#define FFMPEG_CONFIGURATION "\(.*\)"$/\1/p' \
    "$work/src/ffmpeg/config.h")"
  echo "license: $(sed -n 's/^#define FFMPEG_LICENSE "\(.*\)"$/\1/p' "$work/src/ffmpeg/config.h")"
} >"$stage/version.txt"
rm -rf "$out"
mv "$stage" "$out"
rm -rf "$work"
say "built $(stat -c %s "$out/ffmpeg.exe") bytes: $out/ffmpeg.exe"
link_result
