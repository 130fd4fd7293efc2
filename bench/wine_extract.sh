#!/usr/bin/env bash
# The archive tool under Wine against Wine's own xcopy on the same 10,000 small files (1 KB to
# 8 KB in five folders, as the native benchmark has them): brevarc.exe extracts them from an
# archive, xcopy copies the folder, each in the build's private prefix, best of three rounds.
# Under Wine the cost of a file is Wine's, so the tool should keep up with Wine's own copy.
# A benchmark, not a test: run by hand after the win64 build.
#   bench/wine_extract.sh [win64 build dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/win64}" && pwd)
tool="$build/archive/brevarc.exe"
[ -f "$tool" ] || { echo "wine_extract: no $tool; build the win64 preset first" >&2; exit 1; }
run() { BREV_BUILD_DIR="$build" "$here/cmake/wine-run" "$@"; }
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
work="$WINEPREFIX/drive_c/BrevBench"
rounds=3

"$here/cmake/wine-run" --init "$build"
# One Wine session for the whole run: starting Wine is not what is measured.
wineserver -p </dev/null >/dev/null 2>&1
trap 'rm -rf "$work"; wineserver -k 2>/dev/null || true' EXIT

echo "Generating 10,000 files in $work ..."
rm -rf "$work" && mkdir -p "$work"
cd "$work"
mkdir -p data
perl -e '
  my $x = 777;
  my $list;
  for my $i (0 .. 9999) {
    my $folder = int($i / 2000);
    if ($i % 2000 == 0) {
      mkdir "data/Folder $folder";
      open($list, ">", "list$folder.txt") or die;
    }
    $x = ($x * 1103515245 + 12345) % 2147483648;
    my $size = 1024 + $x % (7 * 1024 + 1);
    open(my $f, ">", "data/Folder $folder/Document $i.data") or die;
    binmode $f;
    print $f pack("C*", map { ($x = ($x * 69069 + 1) % 4294967296) >> 24 } 1 .. $size);
    close $f;
    print $list "C:\\BrevBench\\data\\Folder $folder\\Document $i.data\r\n";
  }'
# An archive per folder, extracted into a folder of its own: the layout xcopy keeps (Wine's
# cost of a new name grows with the files already in its folder).
for f in 0 1 2 3 4; do run "$tool" build "C:\\BrevBench\\files$f.1" "@C:\\BrevBench\\list$f.txt" >/dev/null; done
extract_all() {
  for f in 0 1 2 3 4; do run "$tool" extract "C:\\BrevBench\\files$f.1" "C:\\BrevBench\\out\\Folder $f" >/dev/null; done
}

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'; }
least() { awk -v a="$1" -v b="$2" 'BEGIN { print ((a == "" || b + 0 < a + 0) ? b : a) }'; }
best_extract="" best_copy=""
for round in $(seq 1 $rounds); do
  rm -rf "$work/out" "$work/copy"
  sync
  start=$(now)
  extract_all
  best_extract=$(least "$best_extract" "$(since "$start")")
  sync
  start=$(now)
  run xcopy /E /I /Q 'C:\BrevBench\data' 'C:\BrevBench\copy' >/dev/null
  best_copy=$(least "$best_copy" "$(since "$start")")
  echo "round $round: best so far brevarc.exe extract $best_extract s, xcopy $best_copy s"
done
count=$(find "$work/out" -type f | wc -l)
[ "$count" = 10000 ] || { echo "wine_extract: brevarc.exe extracted $count files, not 10000" >&2; exit 1; }
echo "10000 small files under Wine: brevarc.exe extract $best_extract s, xcopy $best_copy s"
awk -v c="$best_copy" -v e="$best_extract" \
  'BEGIN { r = c / e; printf "  %-34s %6.2f (goal >= 0.90) %s\n", "extract / xcopy", r, (r >= 0.9) ? "met" : "NOT MET" }'
