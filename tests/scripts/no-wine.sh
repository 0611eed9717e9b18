#!/usr/bin/env bash
# The scripts on a machine that has no Wine yet: sourcing the shared parts
# must not fail (tools/setup.sh installs Wine, so it has to get the chance to
# run), and every script that uses Wine runs setup before it reads where
# Wine is.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
failed=0
fail() {
  echo "FAILED: $*"
  failed=1
}

# A PATH with the few commands the sourced files use, and no Wine.
bin="$(mktemp -d)"
trap 'rm -rf "$bin"' EXIT
for c in bash dirname; do ln -s "$(command -v "$c")" "$bin/$c"; done
out="$(env -i PATH="$bin" MFVC_WINE_LIB=/nonexistent HOME=/tmp bash -c '
  set -euo pipefail
  source "$1/tools/wine-env.sh"
  source "$1/tools/configure.sh"
  type wine_boot start_xvfb stop_xvfb quietly configure >/dev/null
  echo "sourced, WINE64=$WINE64"' bash "$root" 2>&1)" || fail "sourcing with no Wine: $out"
case "$out" in
  "sourced, WINE64=wine64") ;;
  *) fail "sourcing with no Wine printed: $out" ;;
esac

# With Wine where it is on this machine, the same files find it.
if [ -x /usr/lib/wine/wine64 ]; then
  out="$(bash -c 'set -euo pipefail; source "$1/tools/wine-env.sh"; echo "$WINE64"' bash "$root")"
  [ "$out" = /usr/lib/wine/wine64 ] || fail "with Wine present WINE64 is $out"
fi

# Setup before Wine is looked up, in every script that sources wine-env.sh.
for script in "$root"/tools/*.sh; do
  grep -q 'tools/wine-env.sh"' "$script" || continue
  [ "$(basename "$script")" = test-package.sh ] && continue # runs package.sh first
  setup="$(grep -n '^[[:space:]]*"$root/tools/setup.sh"' "$script" | head -n1 | cut -d: -f1)"
  source_line="$(grep -n 'source .*tools/wine-env.sh"' "$script" | head -n1 | cut -d: -f1)"
  if [ -z "$setup" ] || [ "$setup" -gt "$source_line" ]; then
    fail "$(basename "$script") reads where Wine is before tools/setup.sh has run"
  fi
done

[ "$failed" -eq 0 ] && echo "scripts: every check held"
exit "$failed"
