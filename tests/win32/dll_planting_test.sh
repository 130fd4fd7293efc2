#!/usr/bin/env bash
# No program of the product loads a library planted beside it. Each program is copied into a
# folder of its own on the prefix's drive C, next to a test library under the names of the
# system libraries setup.exe once imported, and started. Wine is told to prefer a library it
# finds in the program's folder over its own, as Windows does for any library that is not a
# KnownDLL. The test library leaves a marker when it is loaded.
# version.dll is not planted: Wine's own user32 imports it, so Wine would load a planted one
# into every program with a window, which Windows does not; StaticImportsTest covers it.
#   dll_planting_test.sh <build dir> <planted.dll> <setup.exe> <QuenfoldLoadProgram.exe> [<Uninstall.exe>]
set -uo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
build=$(cd "$1" && pwd)
planted=$2
setup=$3
loader=$4
uninstall=${5:-}
here=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$here/cmake/wine-run"
export BREV_BUILD_DIR="$build"
export BREV_WINEDLLOVERRIDES="msimg32,comctl32=n,b"
names="msimg32.dll comctl32.dll"

"$wine_run" --init "$build"
work=$(mktemp -d "$build/wineprefix/drive_c/planting.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail=0

# stage NAME PROGRAM: the program and the planted libraries in a folder of their own; prints
# where the program is.
stage() {
  local dir="$work/$1" n
  mkdir -p "$dir"
  cp "$2" "$dir/"
  for n in $names; do cp "$planted" "$dir/$n"; done
  echo "$dir/$(basename "$2")"
}

check_no_marker() {
  local markers
  markers=$(cd "$work/$1" && ls -- *.planted 2>/dev/null | sed 's/\.planted$//' | tr '\n' ' ')
  if [ -z "$markers" ]; then
    echo "PASS: $1 loaded none of the planted libraries"
  else
    echo "FAIL: $1 loaded the planted $markers"
    fail=1
  fi
}

# run_until_window NAME PROGRAM TITLE: a program that stays up until answered. Its first
# window shows that it came through its start-up (the common controls, the first painting);
# then it is ended.
run_until_window() {
  local exe pid window="" i
  exe=$(stage "$1" "$2")
  (cd "$(dirname "$exe")" && exec "$wine_run" "$exe") >/dev/null 2>&1 &
  pid=$!
  for i in $(seq 1 600); do
    window=$(xdotool search --onlyvisible --name "$3" 2>/dev/null | head -1)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -n "$window" ]; then
    sleep 2
    echo "PASS: $1 came up and showed a window"
  else
    echo "FAIL: $1 showed no window titled like \"$3\""
    fail=1
  fi
  kill "$pid" 2>/dev/null
  for i in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  check_no_marker "$1"
}

run_until_window setup "$setup" '^Setup\.\.\.$|^Brevanshaw ! Setup'
run_until_window loader "$loader" '^Setup$'

if [ -n "$uninstall" ]; then
  exe=$(stage uninstall "$uninstall")
  # A product that is not installed, silently: the uninstaller ends at once with 1.
  (cd "$(dirname "$exe")" && timeout 120 "$wine_run" "$exe" "Brevanshaw Planting Probe" /s) >/dev/null 2>&1
  code=$?
  if [ "$code" = 1 ]; then
    echo "PASS: Uninstall.exe ran and found nothing to remove"
  else
    echo "FAIL: Uninstall.exe ended with $code, wanted 1"
    fail=1
  fi
  check_no_marker uninstall
fi
exit $fail
