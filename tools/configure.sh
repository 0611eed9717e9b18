# Sourced by the build scripts (after setting root): configuring build trees
# with their output kept in a log that is shown when a step fails.

# quietly <log> <command...>: runs the command with its output in log; on
# failure prints the log and fails.
quietly() {
  local log="$1"
  shift
  mkdir -p "$(dirname "$log")"
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    echo "failed: $* (log: $log)" >&2
    return 1
  fi
}

# configure <tree> <cmake arguments...>
configure() {
  local tree="$1"
  shift
  quietly "$tree/configure.log" cmake -S "$root" -B "$tree" "$@"
}

# gtest_prefix <prefix> <cmake arguments...>: Debian's GoogleTest sources
# (/usr/src/googletest) built with the toolchain the arguments name and
# installed into prefix, once; the trees find it with find_package.
gtest_prefix() {
  local prefix="$1"
  shift
  [ -f "$prefix/installed" ] && return 0
  local work="$prefix.build"
  rm -rf "$prefix" "$work"
  quietly "$work/configure.log" cmake -S /usr/src/googletest -B "$work" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib "$@"
  quietly "$work/build.log" cmake --build "$work" -j "$(nproc)"
  quietly "$work/install.log" cmake --install "$work"
  touch "$prefix/installed"
}
