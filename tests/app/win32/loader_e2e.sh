#!/usr/bin/env bash
# The loader for real under Wine: a distribution folder with setup.exe (the loader) and
# setup.1 (a probe standing in for the setup program, plus a presetup file), in a folder
# whose name has a blank. Started, the loader must run the probe from a temporary folder
# with the distribution's folder as its argument and setup's switches after it, return its
# exit code, and leave no temporary folder behind.
#   loader_e2e.sh <QuenfoldLoadProgram.exe> <probe.exe> <brevarc.exe> <win64 build dir>
set -uo pipefail
loader=$1
probe=$2
tool=$3
build=$4
here=$(cd "$(dirname "$0")/../../.." && pwd)
run_wine() { BREV_BUILD_DIR="$build" "$here/cmake/wine-run" "$@"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dist="$work/My Setup"
mkdir -p "$dist" "$work/stage"
cp "$probe" "$work/stage/setup.exe"
echo "presetup" > "$work/stage/presetup.txt"
cp "$loader" "$dist/setup.exe"
(cd "$work/stage" && run_wine "$tool" build "../My Setup/setup.1" setup.exe presetup.txt >/dev/null) || { echo "FAIL: building setup.1"; exit 1; }

run_wine "$dist/setup.exe" /SILENT '/DIR=C:\Program Files\Brev' /LOG='C:\a.log'
code=$?
fail=0
[ "$code" = 3 ] && echo "PASS: the probe's exit code came back" || { echo "FAIL: exit code $code, wanted 3"; fail=1; }
if [ -f "$dist/probe.txt" ]; then
  out=$(tr -d '\r' < "$dist/probe.txt")
  echo "$out"
  grep -q '^source=Z:.*\\My Setup$' <<<"$out" && echo "PASS: the distribution's folder, whole" || { echo "FAIL: source"; fail=1; }
  grep -q '^presetup=yes$' <<<"$out" && echo "PASS: presetup files beside the program" || { echo "FAIL: presetup"; fail=1; }
  grep -qxF 'switches=/SILENT|/DIR=C:\Program Files\Brev|/LOG=C:\a.log' <<<"$out" && echo "PASS: setup's switches passed on" ||
    { echo "FAIL: switches"; fail=1; }
  tmpdir=$(sed -n 's/^folder=//p' <<<"$out")
  grep -qi 'BrevSetup' <<<"$tmpdir" && echo "PASS: run from a temporary folder" || { echo "FAIL: folder $tmpdir"; fail=1; }
else
  echo "FAIL: the probe did not run"; fail=1
fi
left=$(find "$build/wineprefix/drive_c" -maxdepth 5 -type d -iname 'BrevSetup*' 2>/dev/null)
[ -z "$left" ] && echo "PASS: nothing left in the temporary folder" || { echo "FAIL: left behind: $left"; fail=1; }
exit $fail
