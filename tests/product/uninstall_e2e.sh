#!/usr/bin/env bash
# The product's uninstaller for real under Wine, against an uninstall record written the way
# setup writes it: two files (one a shared library that another program still counts on),
# a shortcut file, and a registry entries component's key with its values. After
# "Uninstall.exe Brevanshaw /s" the files and the shortcut are gone, the shared library stays
# with one count less, the product key and the record are gone.
#   uninstall_e2e.sh <product folder> <win64 build dir>
set -uo pipefail
product=$1
build=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
export BREV_BUILD_DIR="$build"
wr() { "$here/cmake/wine-run" "$@"; }
reg() { wr reg "$@" >/dev/null 2>&1; }
prefix="$build/wineprefix"
"$here/cmake/wine-run" --init "$build"

dest="$prefix/drive_c/BrevUninstallTest"
rm -rf "$dest"
mkdir -p "$dest/Sub"
cp "$product/Uninstall.exe" "$dest/Uninstall.exe"
echo one > "$dest/one.txt"
echo two > "$dest/Sub/two.txt"
echo lib > "$dest/shared.dll"
echo link > "$dest/Brevanshaw.lnk"
U='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brevanshaw'
reg delete "$U" /f
reg add "$U" /v DisplayName /d Brevanshaw /f
reg add "$U\\Files" /v Entries /d 3 /f
reg add "$U\\Files" /v File1 /d 'C:\BrevUninstallTest\one.txt' /f
reg add "$U\\Files" /v File2 /d 'C:\BrevUninstallTest\Sub\two.txt' /f
reg add "$U\\Files" /v File3 /d 'C:\BrevUninstallTest\shared.dll' /f
reg add "$U\\Files1" /v Entries /d 1 /f
reg add "$U\\Files1" /v File1 /d 'C:\BrevUninstallTest\Brevanshaw.lnk' /f
reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' /v 'C:\BrevUninstallTest\shared.dll' /t REG_DWORD /d 2 /f
reg add 'HKLM\SOFTWARE\Halvernock\BrevUninstallTest\1.0' /v InstallDir /d 'C:\Brevanshaw' /f
reg add 'HKLM\SOFTWARE\Halvernock\BrevUninstallTest\1.0' /v LID /d 0 /f
reg add "$U\\RegistryKeys" /v Entries /d 1 /f
reg add "$U\\RegistryKeys\\RegistryKey1" /v Key /d '\SOFTWARE\Halvernock\BrevUninstallTest\1.0' /f
reg add "$U\\RegistryKeys\\RegistryKey1" /v Root /t REG_DWORD /d 4 /f
reg add "$U\\RegistryKeys\\RegistryKey1\\Entries" /v InstallDir /d 'C:\Brevanshaw' /f
reg add "$U\\RegistryKeys\\RegistryKey1\\Entries" /v LID /d 0 /f

wr 'C:\BrevUninstallTest\Uninstall.exe' Brevanshaw /s
code=$?
fail=0
check() { if eval "$2"; then echo "PASS: $1"; else echo "FAIL: $1"; fail=1; fi; }
check "exit code 0" '[ "$code" = 0 ]'
check "files removed" '[ ! -e "$dest/one.txt" ] && [ ! -e "$dest/Sub/two.txt" ]'
check "the emptied folder removed" '[ ! -e "$dest/Sub" ]'
check "the shortcut removed" '[ ! -e "$dest/Brevanshaw.lnk" ]'
check "the shared library kept" '[ -e "$dest/shared.dll" ]'
check "its count down to 1" 'wr reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs" /v "C:\\BrevUninstallTest\\shared.dll" 2>/dev/null | grep -qi "0x1"'
check "the product key removed" '! wr reg query "HKLM\\SOFTWARE\\Halvernock\\BrevUninstallTest\\1.0" >/dev/null 2>&1'
check "the record removed" '! wr reg query "$U" >/dev/null 2>&1'
reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' /v 'C:\BrevUninstallTest\shared.dll' /f
rm -rf "$dest"
exit $fail
