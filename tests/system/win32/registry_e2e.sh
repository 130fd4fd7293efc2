#!/usr/bin/env bash
# Runs the registry probe under Wine and reads the real registry back with Wine's own reg
# tool: the product keys and the uninstall record must hold exactly what was written.
#   registry_e2e.sh <registry_probe.exe> <build dir>
set -uo pipefail
probe=$1
build=$2
here=$(cd "$(dirname "$0")/../../.." && pwd)
run() { BREV_BUILD_DIR="$build" "$here/cmake/wine-run" "$@"; }
product=BrevRegistryProbe
uninstall="HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
product_key="HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvernock\\$product"
fail=0

run reg delete "$uninstall" /f >/dev/null 2>&1
run reg delete "$product_key" /f >/dev/null 2>&1
run "$probe" "$product" || { echo "FAIL: the probe did not run"; exit 1; }
run "$probe" "$product" || { echo "FAIL: the second run did not run"; exit 1; }

source "$(dirname "$0")/reg_checks.sh"

expect "$product_key\\1.0" "InstallDir" REG_SZ 'C:\Brevanshaw'
expect "$product_key\\1.0" "A" REG_SZ 'B=C'
expect "$product_key\\1.0" "(Default)" REG_SZ 'default text'
expect "$product_key\\1.0" "Quote" REG_SZ 'say "hi" \ bye'
absent "$product_key\\1.0" "no equals sign"
expect "$product_key\\Extra" "Only" REG_SZ 'one'
# Two components per run, two runs: the list continues instead of starting over.
expect "$uninstall\\RegistryKeys" "Entries" REG_SZ 4
expect "$uninstall\\RegistryKeys\\RegistryKey1" "Key" REG_SZ "\\SOFTWARE\\Halvernock\\$product\\1.0"
expect "$uninstall\\RegistryKeys\\RegistryKey1" "Root" REG_DWORD 0x4
expect "$uninstall\\RegistryKeys\\RegistryKey2" "Key" REG_SZ "\\SOFTWARE\\Halvernock\\$product\\Extra"
expect "$uninstall\\RegistryKeys\\RegistryKey4" "Key" REG_SZ "\\SOFTWARE\\Halvernock\\$product\\Extra"
expect "$uninstall\\RegistryKeys\\RegistryKey1\\Entries" "InstallDir" REG_SZ 'C:\Brevanshaw'
expect "$uninstall\\RegistryKeys\\RegistryKey1\\Entries" "(Default)" REG_SZ 'default text'
absent "$uninstall\\RegistryKeys\\RegistryKey5" "Key"

run reg delete "$uninstall" /f >/dev/null 2>&1
run reg delete "$product_key" /f >/dev/null 2>&1
[ "$fail" -eq 0 ] && echo "registry_e2e: all checks passed"
exit "$fail"
