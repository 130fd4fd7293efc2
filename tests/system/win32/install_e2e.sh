#!/usr/bin/env bash
# Runs the install probe under Wine and reads back, with Wine's own reg tool and the prefix's
# files, what the system recorded: the replacement at restart in the session manager's list,
# the registrations, the uninstall record, the unfinished-install list and the database
# runtime installed through the version installer.
#   install_e2e.sh <install_probe.exe> <build dir> <test library> <test program>
set -uo pipefail
probe=$1
build=$2
library=$3
program=$4
here=$(cd "$(dirname "$0")/../../.." && pwd)
run() { BREV_BUILD_DIR="$build" "$here/cmake/wine-run" "$@"; }
prefix="$build/wineprefix"
product=BrevInstallProbe
work='C:\BrevProbe'
host_work="$prefix/drive_c/BrevProbe"
system32="$prefix/drive_c/windows/system32"
uninstall="HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
registered='HKEY_CURRENT_USER\Software\BrevSetupTest\Registered'
session='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager'
unfinished='HKEY_LOCAL_MACHINE\SOFTWARE\QUENFOLDINSTALLING'
shared='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDlls'
dao='C:\Program Files\Common Files\Microsoft Shared\DAO'
runtime=(MSJT3032.dll MSJTER32.dll MSJINT32.dll VBAJET32.dll VBAR2232.dll VEN2232.olb MSVCRT20.dll)
fail=0

# Wine's session ends a few seconds after its last program, and the next one starts as a
# restarted machine that carries out the moves waiting for a restart; the checks must find
# them still waiting, so the session stays up for the whole test and ends with it.
export WINEPREFIX="$prefix"
wineserver -k >/dev/null 2>&1
wineserver -p </dev/null >/dev/null 2>&1

# A runtime file Wine ships itself is kept aside (the runtime may replace an older one); any
# other copy in the system folder was left by an earlier run and goes before this one.
backup=$(mktemp -d)
cleanup() {
  run reg delete "$uninstall" /f >/dev/null 2>&1
  run reg delete 'HKEY_CURRENT_USER\Software\BrevSetupTest' /f >/dev/null 2>&1
  run reg delete "$unfinished" /f >/dev/null 2>&1
  run reg delete "$shared" /v "$dao\\DAO3032.dll" /f >/dev/null 2>&1
  run reg delete "$session" /v PendingFileRenameOperations /f >/dev/null 2>&1
  rm -rf "$host_work" "$prefix/drive_c/Program Files/Common Files/Microsoft Shared/DAO"
  for f in "${runtime[@]}"; do
    [ -e "$backup/$f" ] && cp -p "$backup/$f" "$system32/$f" || rm -f "$system32/$f"
  done
}
for f in "${runtime[@]}"; do
  grep -qs "Wine builtin DLL" "$system32/$f" && cp -p "$system32/$f" "$backup/$f"
done
cleanup
# The runtime files Wine ships itself are on the machine already; the record lists only the
# others (and the counted shared library in any case).
shipped=0
for f in "${runtime[@]}"; do [ -n "$(find "$system32" -maxdepth 1 -iname "$f")" ] && shipped=$((shipped + 1)); done
mkdir -p "$host_work/bin"
cp "$library" "$host_work/bin/brevregtest.dll"
cp "$program" "$host_work/bin/brevregtestexe.exe"

# Through a file, not the test runner's pipe: Wine services the probe starts outlive it and
# would hold the pipe open.
log=$(mktemp)
run "$probe" "$product" "$work" "$work\\bin\\brevregtest.dll" "$work\\bin\\brevregtestexe.exe" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
if [ "$status" != 0 ]; then
  echo "FAIL: the probe did not complete"
  cleanup
  rm -rf "$backup"
  wineserver -k >/dev/null 2>&1
  exit 1
fi

source "$(dirname "$0")/reg_checks.sh"

# The file in use is replaced at the restart, over the old one ("!": replace existing).
pending=$(query "$session" | grep -F PendingFileRenameOperations)
contains "the restart moves engine.1" "$pending" '\??\C:\BrevProbe\App\engine.1'
contains "the restart replaces engine.dll" "$pending" '!\??\C:\BrevProbe\App\engine.dll'
[ "$(cat "$host_work/App/engine.dll")" = "the engine in use" ] && echo "PASS: the file in use is untouched" ||
  { echo "FAIL: the file in use was changed"; fail=1; }
cmp -s "$host_work/App/engine.1" "$library" && echo "PASS: the new engine waits as engine.1" ||
  { echo "FAIL: engine.1 is not the new library"; fail=1; }
# Its registration waits for the restart; the others ran now.
expect "$unfinished" File2 REG_SZ 0
absent "$registered" 'C:\BrevProbe\App\engine.dll'
expect "$registered" 'C:\BrevProbe\App\srv.dll' REG_DWORD 0x0
expect "$registered" 'C:\BrevProbe\App\server.exe' REG_DWORD 0x1

# The uninstall record.
expect "$uninstall" DisplayName REG_SZ "$product"
expect "$uninstall" UninstallString REG_SZ "\"C:\\BrevProbe\\App\\Uninstall.exe\" $product"
expect "$uninstall\\Files" File1 REG_SZ 'C:\BrevProbe\App\readme.txt'
# Then the database runtime's log and the runtime files it put on the machine (its shared
# library among them, which its count guards), for the uninstaller.
expect "$uninstall\\Files" File2 REG_SZ "$work\\DAO\\Install.log"
entries=$((2 + ${#runtime[@]} - shipped + 1))
expect "$uninstall\\Files" "File$entries" REG_SZ "$dao\\DAO3032.dll"
expect "$uninstall\\Files" Entries REG_SZ "$entries"
expect "$uninstall\\ActiveX" File1 REG_SZ 'C:\BrevProbe\App\engine.dll;0'
expect "$uninstall\\ActiveX" File2 REG_SZ 'C:\BrevProbe\App\srv.dll;0'
expect "$uninstall\\ActiveX" File3 REG_SZ 'C:\BrevProbe\App\server.exe;1'
expect "$uninstall\\ActiveX" Entries REG_SZ 3

# The database runtime, through the version installer.
log=$(tr -d '\r' < "$host_work/DAO/Install.log" 2>/dev/null)
want=$(printf 'Installing %s\n' MSJT3032.dll MSJTER32.dll MSJINT32.dll VBAJET32.dll VBAR2232.dll VEN2232.olb MSVCRT20.dll DAO3032.dll)
[ "$log" = "${want%$'\n'}" ] && echo "PASS: the runtime log holds the eight lines" ||
  { echo "FAIL: the runtime log reads: $log"; fail=1; }
for f in MSJT3032.dll MSJTER32.dll MSJINT32.dll VBAJET32.dll VBAR2232.dll; do
  cmp -s "$system32/$f" "$library" && echo "PASS: $f is in the system folder" || { echo "FAIL: $f is not in the system folder"; fail=1; }
  expect "$registered" "C:\\windows\\system32\\$f" REG_DWORD 0x0
done
[ -e "$host_work/DAO/MSJT3032.dll" ] && { echo "FAIL: the runtime source is still there"; fail=1; } || echo "PASS: the runtime sources are gone"
expect "$registered" "$dao\\DAO3032.dll" REG_DWORD 0x0
expect "$shared" "$dao\\DAO3032.dll" REG_DWORD 0x1

cleanup
rm -rf "$backup"
wineserver -k >/dev/null 2>&1
[ "$fail" -eq 0 ] && echo "install_e2e: all checks passed"
exit "$fail"
