#!/usr/bin/env bash
# Choosing where and what under Wine, keys only. From diskettes whose third volume lies in
# another folder: the destination chosen through the picker (a folder with a blank in its
# name), the copy window watched, the change-disk questions of both scripts answered by
# typing that folder, a new program folder named; the files, the shortcuts in that folder
# and "InstallDir" are checked. Then a second installation in Hebrew into the same
# directory, which meanwhile holds a folder of the user's beside an application's folder:
# the directory-exists question is answered Yes and only the application's folder goes.
# Usage: destination_e2e.sh SETUP_EXE BUILD_DIR PRODUCT_DIR BREVARC_EXE
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 4 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR PRODUCT_DIR BREVARC_EXE" >&2; exit 2; }
e2e_init "$1" "$2"
ready_distribution "$3"
cut_diskettes "$4"
clean_installation
target='C:\Brev Apps\Brevanshaw'
host_target="$drive/Brev Apps/Brevanshaw"
folder='Brevanshaw Tools'
rm -rf "$drive/Brev Apps"
programs=$(find "$drive/users" -type d -path '*Roaming/Microsoft/Windows/Start Menu/Programs' 2>/dev/null | head -1)
rm -rf "${programs:?}/$folder"
product_key='HKLM\SOFTWARE\Halvernock\Brevanshaw\1.0'

# open_picker PAGE LANG: Browse on the destination page, reached with Tab and the space bar;
# prints the picker's window.
open_picker() {
  press "$1" Tab space
  wait_page "$(page_text 920 "$2")" 30 "$1"
}

note "the first installation, from diskettes"
start_distribution d BrevDisks
walk_wizard 0 d "Dana Tester" "Halvernock QA" || fail "the pages before the destination were not answered"
if page=$(wait_page "$(page_text 200 0)" 60); then
  shot d-09-destination
  if picker=$(open_picker "$page" 0); then
    shot d-10-picker
    replace_text "$picker" "$target"
    answer "$picker" Return && pass "the picker took the directory" || fail "the picker stays up after Enter"
    shot d-11-destination-browsed
  else
    fail "Browse opened no picker"
  fi
  answer "$page" Return && pass "destination \"$target\" accepted" || fail "the destination page stays up after Enter"
else
  fail "no destination page"
fi
watch_copying 0 d
# Every volume from the third on lies in the other folder; each question is answered there.
asked=0
while disk=$(wait_page 'Setup Needs The Next Disk' 20); do
  asked=$((asked + 1))
  shot "d-13-disk-question-$asked"
  replace_text "$disk" 'C:\BrevDisk3'
  answer "$disk" Return || { fail "the change-disk question stays up after Enter"; break; }
  [ $asked -ge 8 ] && break
done
[ $asked -ge 2 ] && pass "the change-disk questions of both scripts were answered ($asked)" ||
  fail "$asked change-disk questions were asked, not the Latin and the Hebrew one"
walk_folder 0 d "$folder" && walk_product_pages 0 d no && finish_wizard 0 d || fail "the installation did not end"

[ -f "$host_target/Uninstall.exe" ] && [ -f "$host_target/document.mdb" ] && pass "the product is in $target" ||
  fail "the product is not in $target"
links=$(find "$programs/$folder" -iname '*.lnk' 2>/dev/null | wc -l)
[ "$links" -ge 8 ] && pass "the folder \"$folder\" holds $links shortcuts" || fail "the folder \"$folder\" holds $links shortcuts"
value=$(reg_text "$product_key" InstallDir)
[ "$value" = "$target" ] && pass "InstallDir is \"$value\"" || fail "InstallDir is \"$value\", not \"$target\""

note "the second installation, in Hebrew, into the same directory"
mkdir -p "$host_target/MyNotes" "$host_target/Phones"
printf 'my notes\r\n' >"$host_target/MyNotes/notes.txt"
printf 'an application\r\n' >"$host_target/Phones/Phones.MDB"
rm -f "$host_target/document.mdb"
start_distribution h
walk_wizard 1 h "דנה" "חלברנוק" || fail "the Hebrew pages before the destination were not answered"
if page=$(wait_page "$(page_text 200 1)" 60); then
  shot h-09-destination
  if picker=$(open_picker "$page" 1); then
    shot h-10-picker
    answer "$picker" Escape || fail "the Hebrew picker stays up after Escape"
  else
    fail "Browse opened no Hebrew picker"
  fi
  focus_window "$page"
  press "$page" shift+Tab
  replace_text "$page" "$target"
  press "$page" Return
  if question=$(wait_page "$(page_text 1160 1)" 30); then
    shot h-11-directory-exists
    answer "$question" Tab Return && pass "the directory-exists question answered Yes" || fail "the question stays up"
  else
    fail "no directory-exists question"
  fi
else
  fail "no Hebrew destination page"
fi
watch_copying 1 h && walk_folder 1 h && walk_product_pages 1 h no && finish_wizard 1 h || fail "the Hebrew installation did not end"
[ -d "$host_target/Phones" ] && fail "the application's folder is still there" || pass "the application's folder is gone"
[ -f "$host_target/MyNotes/notes.txt" ] && pass "the user's own folder stays" || fail "the user's own folder is gone"

[ $failures -eq 0 ] && echo "PASS: choosing where and what" || echo "FAIL: choosing where and what ($failures failed checks)"
[ $failures -eq 0 ]
