#!/usr/bin/env bash
# Build mode on a Linux build server: the native setup program, started with "*BUILD" on a
# simulated machine that holds the same product files as the Wine prefix, writes the same
# distribution as setup.exe does under Wine: the same setup.exe, and archives with the same
# files, versions and bytes (file dates may differ).
# Usage: native_build_e2e.sh SETUP_EXE BUILD_DIR PRODUCT_DIR NATIVE_SETUP NATIVE_BREVARC
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 5 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR PRODUCT_DIR NATIVE_SETUP NATIVE_BREVARC" >&2; exit 2; }
e2e_init "$1" "$2"
product=$(cd "$3" && pwd)
native_setup=$4
brevarc=$5
if [ ! -x "$native_setup" ] || [ ! -x "$brevarc" ]; then
  echo "SKIP: the native build (setup and brevarc) is not there; build the native preset first"
  exit 77
fi
start_display
prepare_wine

note "under Wine: setup.exe *BUILD"
stage_product "$product"
build_distribution && pass "Wine: setup.exe and files.1 in C:\\BrevDist" || fail "Wine: no distribution"

note "natively: the same files on a simulated machine, setup *BUILD"
machine="$build/native-build-machine"
rm -rf "$machine"
mkdir -p "$machine/C"
# The same files with the same dates, so only the packing can differ.
cp -a "$drive/Brevanshaw Product" "$drive/Brevanshaw UnInstall" "$drive/BrevBuild" "$machine/C/"
if "$native_setup" --machine "$machine" --program 'C:\BrevBuild\setup.exe' '*BUILD' >"$build/native-build.log" 2>&1; then
  pass "native: setup *BUILD ended with code 0"
else
  fail "native: setup *BUILD failed (log in $build/native-build.log)"
fi
wine_dist="$drive/BrevDist"
native_dist="$machine/C/BrevDist"
[ -f "$native_dist/setup.exe" ] && [ -f "$native_dist/files.1" ] && pass "native: setup.exe and files.1 in C:\\BrevDist" ||
  fail "native: no distribution"

cmp -s "$wine_dist/setup.exe" "$native_dist/setup.exe" && pass "the same setup.exe" || fail "the setup.exe files differ"
ls "$wine_dist" >"$build/native-build-wine.ls"; ls "$native_dist" >"$build/native-build-native.ls"
cmp -s "$build/native-build-wine.ls" "$build/native-build-native.ls" && pass "the same files in both distributions" ||
  fail "the distributions hold different files: $(diff "$build/native-build-wine.ls" "$build/native-build-native.ls" | tr '\n' ' ')"

# The listing without its first line (the archive's own path) and without the date column.
listing() { "$brevarc" list "$1" | tail -n +2 | sed -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}|\(no date\)/DATE/'; }
for archive in $(cd "$wine_dist" && ls files.* 2>/dev/null); do
  [ "$(stat -c %s "$wine_dist/$archive")" = "$(stat -c %s "$native_dist/$archive" 2>/dev/null)" ] &&
    pass "$archive: the same size" || fail "$archive: sizes differ"
done
if diff <(listing "$wine_dist/files.1") <(listing "$native_dist/files.1") >"$build/native-build-listing.diff"; then
  pass "files.1: the same files in the same order, with the same sizes and versions"
else
  fail "files.1: the listings differ (see $build/native-build-listing.diff)"
fi
rm -rf "$build/native-build-x" && mkdir -p "$build/native-build-x/wine" "$build/native-build-x/native"
"$brevarc" extract "$wine_dist/files.1" "$build/native-build-x/wine" >/dev/null &&
  "$brevarc" extract "$native_dist/files.1" "$build/native-build-x/native" >/dev/null &&
  diff -r "$build/native-build-x/wine" "$build/native-build-x/native" >/dev/null &&
  pass "files.1: every file unpacks to the same bytes" || fail "files.1: the unpacked files differ"
rm -rf "$build/native-build-x"
if cmp -s "$wine_dist/files.1" "$native_dist/files.1"; then
  note "files.1 is byte for byte the same"
else
  note "files.1 differs in $(cmp -l "$wine_dist/files.1" "$native_dist/files.1" | wc -l) byte(s) (file dates)"
fi

[ $failures -eq 0 ] && echo "PASS: native build mode" || echo "FAIL: native build mode ($failures failed checks)"
[ $failures -eq 0 ]
