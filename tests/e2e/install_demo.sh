#!/usr/bin/env bash
# The main job under Wine: setup.exe packs the sample product into a distribution with
# "*BUILD", then the distribution's setup.exe installs it into the build's Wine prefix, as a
# user would: every page of the wizard answered with keys in the language chosen (English
# unless LANG is given: 0 English, 1 Hebrew, 2 Spanish, 3 German, 4 Dutch), the add-on
# chosen and the restart put off. Checks what was installed (every file with its bytes, the
# database runtime, the shortcuts, the registry values with the user's answers, the uninstall
# record, the default applications, the add-on waiting for the restart), prints a summary and
# where the screenshots of the pages are. The add-on's move is taken back before the machine
# restarts, so the prefix keeps its own dialog library. With "silent" after LANG the same
# installation runs without a person (setup.exe /SILENT with the answers as switches): only
# the copy window shows, the exit code says that the add-on waits for the restart, and the
# log of the run is shown.
# Usage: install_demo.sh SETUP_EXE BUILD_DIR PRODUCT_DIR [LANG [silent]]
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -ge 3 ] && [ $# -le 5 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR PRODUCT_DIR [LANG [silent]]" >&2; exit 2; }
e2e_init "$1" "$2"
product=$(cd "$3" && pwd)
lang=${4:-0}
mode=${5:-keys}
case "$lang" in [0-4]) ;; *) echo "LANG is 0 to 4" >&2; exit 2 ;; esac
user_name="Dana Tester 100%"
organisation="Halvernock QA"
start_display
prepare_wine
keep_machine_up

note "the developer's machine: the product's files where the install description takes them from"
stage_product "$product"
note "build mode: setup.exe *BUILD packs the distribution into C:\\BrevDist"
build_distribution && pass "build mode wrote setup.exe and files.1 into C:\\BrevDist" || fail "build mode wrote no distribution"
volumes=$(ls "$drive/BrevDist"/files.* 2>/dev/null | wc -l)
note "the distribution: setup.exe and $volumes archive volume(s), $(du -ch "$drive/BrevDist"/files.* 2>/dev/null | tail -1 | cut -f1)"

if [ "$mode" = silent ]; then
  note "installation without a person: setup.exe /SILENT, the answers as switches, in language $lang"
  tag="1$lang-silent"
  rm -f "$shots/$tag"-*.png "$drive/brev-demo.log"
  setup_exe="$drive/BrevDist/setup.exe"
  start_setup /SILENT /LANG="$lang" /USERNAME="$user_name" /ORG="$organisation" /NORESTART /LOG='C:\brev-demo.log'
  wait_window "$(title_regex "$(page_text 360 "$lang")")" 120 >/dev/null && screenshot "$tag-11-copying" ||
    fail "no copy window showed the progress"
  wait "$setup_pid"
  code=$?
  # 3010 (installed, the add-on waits for the restart) reaches a Unix shell as 194.
  [ "$code" = 194 ] && pass "setup.exe /SILENT ended with 3010: installed, a restart needed" || fail "setup.exe /SILENT ended with $code"
  note "its log, C:\\brev-demo.log ($(wc -l <"$drive/brev-demo.log") lines), begins and ends:"
  head -5 "$drive/brev-demo.log" | tr -d '\r'
  echo "..."
  tail -6 "$drive/brev-demo.log" | tr -d '\r'
else
note "installation: the distribution's setup.exe, started as a user starts it, in language $lang"
tag="1$lang-install"
start_distribution "$tag"
if walk_wizard "$lang" "$tag" "$user_name" "$organisation" && walk_destination "$lang" "$tag" && watch_copying "$lang" "$tag" &&
   walk_folder "$lang" "$tag" && walk_product_pages "$lang" "$tag" yes && finish_restart "$lang" "$tag"; then
  pass "the wizard led through the installation to its end"
else
  fail "the installation did not go through every page to its end"
  wineserver -k 2>/dev/null
fi
fi
contact_sheet "$tag"

note "what was installed"
dest="$drive/Brevanshaw"
system32="$drive/windows/system32"
installed=0 same=0 dated=0 runtime=0
while IFS=';' read -r component group name kind description; do
  case "$component" in File*) ;; *) continue ;; esac
  case "$group" in FileGroup1|FileGroup6) where="$system32" ;; FileGroup7) where="$dest/BITMAPS" ;; *) where="$dest" ;; esac
  if [ "$group" = FileGroup4 ]; then
    # The database runtime is copied beside the product, then installed by version into
    # the system folder, its DAO library into the shared DAO folder; the copies go.
    [ -z "$(find "$dest" -maxdepth 1 -iname "$name")" ] || fail "$name stays in C:\\Brevanshaw"
    case "$name" in dao3032.dll) where="$drive/Program Files/Common Files/Microsoft Shared/DAO" ;; *) where="$system32" ;; esac
    [ -n "$(find "$where" -maxdepth 1 -iname "$name")" ] && runtime=$((runtime + 1)) || fail "$name is not in $where"
    continue
  fi
  target=$(find "$where" -maxdepth 1 -iname "$name" 2>/dev/null | head -1)
  # The tutorial is left out when setup starts; the updater goes when the last page closes.
  case "$name" in
    Tutorial.exe|Kalupdt.EXE)
      [ -z "$target" ] && pass "$name is not installed, as intended" || fail "$name was installed"
      continue ;;
  esac
  [ -n "$target" ] || { fail "$name is not in $where"; continue; }
  installed=$((installed + 1))
  cmp -s "$target" "$product/$name" && same=$((same + 1)) || fail "$name differs from the product's"
  # The date the file had on the developer's machine, kept through the archive as a date
  # stamp of 2-second resolution.
  stamp=$(stat -c %Y "$drive/Brevanshaw Product/$name")
  [ "$(stat -c %Y "$target")" = $((stamp - stamp % 2)) ] && dated=$((dated + 1)) ||
    fail "$name is dated $(date -r "$target" '+%F %T'), the product's file $(date -r "$drive/Brevanshaw Product/$name" '+%F %T')"
done < "$e2e_here/../../product/files.txt"
[ "$installed" = 69 ] && pass "all 69 product files to install installed" || fail "$installed of 69 product files installed"
[ "$runtime" = 8 ] && pass "the 8 files of the database runtime installed into the system" || fail "$runtime of 8 database runtime files installed"
[ "$same" = "$installed" ] && pass "every installed file has the product's bytes"
[ "$dated" = "$installed" ] && pass "every installed file has the product file's date"
[ -f "$dest/Uninstall.exe" ] && pass "the uninstaller installed" || fail "no Uninstall.exe in C:\\Brevanshaw"

programs=$(find "$drive/users" -type d -path '*Roaming/Microsoft/Windows/Start Menu/Programs' 2>/dev/null | head -1)
links=$(find "$(dirname "$programs")" -iname '*.lnk' 2>/dev/null | grep -ci -e 'Brevanshaw' -e 'Add-On' -e 'Read-me' -e 'Halvernock' -e 'Utility' -e 'Uninstall')
folder=$(find "$programs/Brevanshaw" -iname '*.lnk' 2>/dev/null | wc -l)
[ "$folder" -ge 8 ] && pass "the program folder holds $folder shortcuts" || fail "the program folder holds $folder shortcuts, not 8"
if command -v lnkinfo >/dev/null; then
  # Every shortcut of the folder leads to an installed file.
  leads=0
  for link in "$programs/Brevanshaw"/*.[lL][nN][kK]; do
    target=$(lnkinfo "$link" | sed -n 's/^[[:space:]]*Local path[[:space:]]*: //p')
    host="$drive/$(printf '%s' "${target#[Cc]:\\}" | tr '\\' /)"
    [ -n "$target" ] && [ -f "$host" ] && leads=$((leads + 1)) || fail "$(basename "$link") leads to '$target', which is not installed"
  done
  [ "$leads" = "$folder" ] && pass "each of the $folder shortcuts leads to its installed file"
  args=$(lnkinfo "$programs/Brevanshaw/Uninstall.lnk" | sed -n 's/^[[:space:]]*Command line arguments[[:space:]]*: //p')
  [ "$args" = Brevanshaw ] && pass "the uninstaller's shortcut passes the product name" || fail "the uninstaller's shortcut passes '$args'"
fi

product_key='HKLM\SOFTWARE\Halvernock\Brevanshaw\1.0'
values=$(reg_query "$product_key" | grep -c 'REG_SZ')
[ "$values" -ge 5 ] && pass "the product key holds $values values" || fail "the product key holds $values values, not 5"
for pair in "LID=$lang" "UserName=$user_name" "Organization=$organisation"; do
  value=$(reg_text "$product_key" "${pair%%=*}")
  [ "$value" = "${pair#*=}" ] && pass "${pair%%=*} is \"$value\" as answered" || fail "${pair%%=*} is \"$value\", not \"${pair#*=}\""
done
record='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brevanshaw'
reg_query "$record" | grep -q 'UninstallString' && pass "the uninstall record names the uninstaller" || fail "no UninstallString in the uninstall record"
recorded=$(reg_string "$record\\Files" Entries)
[ -n "$recorded" ] && pass "the uninstall record lists $recorded files and shortcuts" || fail "the uninstall record lists no files"

first_app=$(page_text 30560 "$lang")
[ -f "$dest/$first_app/$first_app.MDB" ] && pass "the default application \"$first_app\" is made" ||
  fail "no default application \"$first_app\" in C:\\Brevanshaw"
session='HKLM\System\CurrentControlSet\Control\Session Manager'
staged=$(find "$system32" -maxdepth 1 -iname 'COMDLG32.1' | head -1)
[ -n "$staged" ] && cmp -s "$staged" "$product/KALADDON.DLL" && pass "the add-on waits in the system folder as COMDLG32.1" ||
  fail "the add-on is not staged in the system folder"
reg_query "$session" /v PendingFileRenameOperations | grep -qi 'COMDLG32.1' && pass "its move waits for the restart" ||
  fail "no move of the add-on waits for the restart"
# The prefix stays as the test found it: no library swap at a later restart.
"$wine_run" reg delete "$session" /v PendingFileRenameOperations /f >/dev/null 2>&1
rm -f "$staged"

echo
echo "Installed: $installed product files (+ the uninstaller), the $runtime files of the database runtime, $links shortcuts, $values registry values;"
echo "the uninstall record lists ${recorded:-0} files and shortcuts."
echo "the default applications and the add-on, staged for the restart (answered \"later\")."
echo "Screenshots: $shots (all of them on one sheet: $shots/$tag-contact-sheet.png)"
[ $failures -eq 0 ]
