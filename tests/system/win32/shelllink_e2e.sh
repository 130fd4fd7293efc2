#!/usr/bin/env bash
# Runs the shortcut probe under Wine: the shortcut files the real shell wrote through COM are
# read back with lnkinfo, the Program Manager group made through DDE must be listed, and the
# shortcuts' part of the uninstall record is read back with Wine's reg tool.
#   shelllink_e2e.sh <shelllink_probe.exe> <build dir>
set -uo pipefail
probe=$1
build=$2
here=$(cd "$(dirname "$0")/../../.." && pwd)
run() { BREV_BUILD_DIR="$build" "$here/cmake/wine-run" "$@"; }
product=BrevLinkProbe
uninstall="HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
fail=0
pass() { echo "PASS: $*"; }
bad() { echo "FAIL: $*"; fail=1; }

run reg delete "$uninstall" /f >/dev/null 2>&1
# Through a file, not a pipe: the Program Manager group the probe makes starts Wine's shell,
# which would hold a pipe (and the test runner reading it) open for as long as it runs.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run "$probe" "$product" >"$log" 2>&1 </dev/null
status=$?
out=$(tr -d '\r' <"$log")
[ "$status" = 0 ] || { echo "$out"; bad "the probe did not run"; exit 1; }
echo "$out"
mapfile -t links < <(printf '%s\n' "$out" | sed -n 's/^LINK //p')
[ "${#links[@]}" -eq 2 ] || bad "expected two shortcuts, the probe named ${#links[@]}"

field() { printf '%s\n' "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" | head -1; }
if command -v lnkinfo >/dev/null; then
  for link in "${links[@]}"; do
    unix=$(run winepath -u "$link" 2>/dev/null | tr -d '\r')
    [ -f "$unix" ] || { bad "no shortcut file at $link"; continue; }
    info=$(lnkinfo "$unix" 2>&1)
    case "$link" in *Uninstall*) target='C:\BrevLinkProbe\Uninstall.exe'; args=$product ;;
                    *) target='C:\BrevLinkProbe\Viewer.exe'; args='/open C:\BrevLinkProbe\Readme.doc' ;; esac
    [ "$(field "$info" 'Local path')" = "$target" ] && pass "$link points at $target" || bad "$link: local path '$(field "$info" 'Local path')'"
    [ "$(field "$info" 'Working directory')" = 'C:\BrevLinkProbe' ] && pass "$link starts in C:\\BrevLinkProbe" ||
      bad "$link: working directory '$(field "$info" 'Working directory')'"
    [ "$(field "$info" 'Command line arguments')" = "$args" ] && pass "$link passes '$args'" ||
      bad "$link: arguments '$(field "$info" 'Command line arguments')'"
  done
else
  echo "SKIP: lnkinfo (liblnk-utils) is not installed; shortcut files not read back"
fi

printf '%s\n' "$out" | grep -qx "GROUP $product Group" && pass "Program Manager lists the group '$product Group'" ||
  bad "the group '$product Group' is not listed"

# Two shortcuts, two runs: four entries, the same two paths twice.
query=$(run reg query "$uninstall\\Files" 2>/dev/null | tr -d '\r')
expect() {
  local line
  line=$(printf '%s\n' "$query" | grep -F "    $1    REG_SZ    " | head -1)
  [ "$line" = "    $1    REG_SZ    $2" ] && pass "Files [$1] = $2" || bad "Files [$1]: expected '$2', reg shows '${line:-nothing}'"
}
expect Entries 4
expect File1 "${links[0]}"
expect File2 "${links[1]}"
expect File3 "${links[0]}"
expect File4 "${links[1]}"

run reg delete "$uninstall" /f >/dev/null 2>&1
for link in "${links[@]}"; do run cmd /c del "$link" >/dev/null 2>&1; done
# Making a group started Wine's shell; it would stay up in the prefix and hold later tests.
WINEPREFIX="$build/wineprefix" wineserver -k >/dev/null 2>&1
[ "$fail" -eq 0 ] && echo "shelllink_e2e: all checks passed"
exit "$fail"
