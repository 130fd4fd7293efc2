#!/usr/bin/env bash
# Builds the same archives from the same files with the native archive tool and with the
# Windows one under Wine, and requires identical bytes: one volume, and cut into volumes.
#   native_vs_wine.sh <brevarc.exe> <native brevarc> <win64 build dir> <version test input>
# Exits 77 (skipped) when the native build has no tool yet.
set -uo pipefail
wintool=$1
nativetool=$2
build=$3
versioned=$4
here=$(cd "$(dirname "$0")/../../.." && pwd)
[ -x "$nativetool" ] || { echo "SKIP: no native tool at $nativetool"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir -p data/sub
head -c 150000 /dev/urandom > data/one.bin
printf 'two\r\n' > data/sub/two.txt
: > data/empty
cp "$versioned" data/lib.dll
touch -d '2003-04-05 06:07:08Z' data/one.bin data/sub/two.txt data/empty data/lib.dll
files=("data/one.bin;1;2" data/sub/two.txt data/empty data/lib.dll)

fail=0
run_wine() { BREV_BUILD_DIR="$build" "$here/cmake/wine-run" "$wintool" "$@"; }
for side in native wine; do
  mkdir -p "$side"
  for kind in single cut; do
    args=(build "$side/$kind/files.1")
    [ "$kind" = cut ] && args+=(--volume-size=40000)
    if [ "$side" = native ]; then "$nativetool" "${args[@]}" "${files[@]}" >/dev/null
    else run_wine "${args[@]}" "${files[@]}" >/dev/null; fi || { echo "FAIL: $side $kind build"; fail=1; }
  done
done
for f in single/files.1 cut/files.1 cut/files.2 cut/files.3 cut/files.4 cut/files.5; do
  if [ ! -e "native/$f" ] && [ ! -e "wine/$f" ]; then continue; fi
  if cmp -s "native/$f" "wine/$f"; then echo "PASS: $f identical ($(stat -c %s "native/$f") bytes)"
  else echo "FAIL: $f differs"; fail=1; fi
done
# Each side reads the other's archive.
run_wine check native/cut/files.1 >/dev/null || { echo "FAIL: Wine cannot read the native archive"; fail=1; }
"$nativetool" check wine/cut/files.1 >/dev/null || { echo "FAIL: the native tool cannot read the Wine archive"; fail=1; }
exit $fail
