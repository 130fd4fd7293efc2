#!/usr/bin/env bash
# A second installation over the first, under Wine, with one of the product's files in use:
# the files are written again under their overwrite rule (always), a file the user added
# stays, the file in use waits for the restart (its move is recorded with the system and its
# registration in the unfinished-install list), the uninstall record grows, and setup asks to
# restart Windows. Wine may not restart from here (wineboot is switched off for setup, so
# the request is refused and setup says so); the test restarts the prefix itself with
# "wineboot --restart", finds the new file in place, and starts "setup.exe *ABOOT", which
# carries out the unfinished-install list and ends on the good installation page. Every page
# on the way is answered with keys.
# Usage: reinstall_e2e.sh SETUP_EXE BUILD_DIR PRODUCT_DIR HOLD_FILE_EXE
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 4 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR PRODUCT_DIR HOLD_FILE_EXE" >&2; exit 2; }
e2e_init "$1" "$2"
product=$(cd "$3" && pwd)
hold_file=$4
start_display
prepare_wine

dest="$drive/Brevanshaw"
record='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brevanshaw'
unfinished='HKLM\SOFTWARE\QUENFOLDINSTALLING'
session='HKLM\System\CurrentControlSet\Control\Session Manager'
held='KALADDON.DLL'      # File51, a library of the program folder
changed='Readme.doc'     # File55
holder_pid=""
release_holder() {
  [ -n "$holder_pid" ] || return 0
  touch "$drive/BrevHold.release"
  wait "$holder_pid" 2>/dev/null
  holder_pid=""
}
trap 'release_holder; e2e_cleanup' EXIT

note "the first installation"
stage_product "$product"
"$wine_run" reg delete "$session" /v PendingFileRenameOperations /f >/dev/null 2>&1
rm -f "$drive/BrevHold".*
build_distribution || fail "build mode wrote no distribution"
# The database runtime's uncounted files the first installation puts on the machine: those
# not there yet (Wine may ship one of them itself).
runtime_new=0
for f in MSJT3032.dll MSJTER32.dll MSJINT32.dll VBAJET32.dll VBAR2232.dll VEN2232.olb MSVCRT20.dll; do
  [ -z "$(find "$drive/windows/system32" -maxdepth 1 -iname "$f")" ] && runtime_new=$((runtime_new + 1))
done
install_distribution 20-first || fail "the first installation did not end"
first_files=$(reg_string "$record\\Files" Entries)
first_keys=$(reg_string "$record\\RegistryKeys" Entries)
[ -n "$first_files" ] && [ "$first_keys" = 1 ] && pass "the first installation recorded $first_files files and shortcuts, 1 registry list" ||
  fail "the first installation's record: files '$first_files', registry lists '$first_keys'"

note "the user works with the product: changes $changed, adds a file; $held is loaded by a program"
printf 'changed by the user\r\n' >"$dest/$changed"
printf 'my notes\r\n' >"$dest/notes.txt"
printf 'the add-on library in use\r\n' >"$dest/$held"
"$wine_run" "$hold_file" "C:\\Brevanshaw\\$held" 'C:\BrevHold.held' 'C:\BrevHold.release' >"$build/hold-file.log" 2>&1 &
holder_pid=$!
for _ in $(seq 1 100); do [ -f "$drive/BrevHold.held" ] && break; sleep 0.1; done
[ -f "$drive/BrevHold.held" ] && pass "$held is held open" || fail "$held could not be held open"

note "the second installation, over the first"
export BREV_WINEDLLOVERRIDES="wineboot.exe=d"
start_distribution 21-second
unset BREV_WINEDLLOVERRIDES
walk_wizard 0 21-second "Dana Tester" "Halvernock QA" && walk_destination 0 21-second &&
  answer_install_type 0 21-second over && watch_copying 0 21-second &&
  walk_folder 0 21-second && walk_product_pages 0 21-second no || fail "the second installation's pages were not answered"
if restart=$(wait_page "$(text_of 2020)" 300); then
  shot 21-second-10-restart
  # The choice starts on "Reboot now"; Enter closes the page with it.
  answer "$restart" Return && pass "the restart page asked and was answered" || fail "the restart page stays up after Enter"
else
  fail "no restart page within 300 s"
fi
if refusal=$(wait_window '^Brevanshaw ! Setup$' 60); then
  screenshot 22-restart-refused
  pass "setup asked to restart Windows and, refused, says so"
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$refusal" 2>/dev/null || xdotool windowfocus "$refusal" 2>/dev/null
    xdotool key --window "$refusal" Return 2>/dev/null
    wait_setup_gone 10 && break
  done
else
  fail "no message about the restart within 300 s"
fi
wait_setup_gone 30 && pass "setup ended" || { fail "setup still runs"; wineserver -k 2>/dev/null; }

cmp -s "$dest/$changed" "$product/$changed" && pass "$changed is the product's again (overwrite always)" ||
  fail "$changed was not written again"
[ -f "$dest/notes.txt" ] && pass "the user's own file stays" || fail "the user's notes.txt is gone"
[ "$(cat "$dest/$held")" = $'the add-on library in use\r' ] && pass "the file in use is untouched" ||
  fail "the file in use was changed while held"
waiting=$(find "$dest" -maxdepth 1 -iname "$(basename "$held" .DLL).*" ! -iname "$held" | head -1)
[ -n "$waiting" ] && cmp -s "$waiting" "$product/$held" && pass "the new $held waits as $(basename "$waiting")" ||
  fail "no copy of the new $held waits beside it"
pending=$(reg_query "$session" /v PendingFileRenameOperations)
printf '%s' "$pending" | grep -qiF "C:\\Brevanshaw\\$held" && pass "the system will move it at the restart" ||
  fail "no move of $held recorded with the system: $pending"
entry=$(reg_string "$unfinished" File51)
[ "$entry" = 0 ] && pass "its registration waits in the unfinished-install list" || fail "File51 in the unfinished list: '$entry'"
second_files=$(reg_string "$record\\Files" Entries)
second_keys=$(reg_string "$record\\RegistryKeys" Entries)
# Every file and shortcut again, but for the uncounted database runtime files the first
# installation put on the machine: the second finds them there and leaves them out.
[ -n "$first_files" ] && [ "$second_files" = $((first_files * 2 - runtime_new)) ] && pass "the record lists every file and shortcut again ($second_files)" ||
  fail "the record lists $second_files files and shortcuts after the second installation (first: $first_files)"
[ "$second_keys" = 2 ] && reg_query "$record\\RegistryKeys\\RegistryKey2\\Entries" | grep -q InstallDir &&
  pass "the registry entries were recorded a second time (RegistryKey2)" || fail "registry lists after the second installation: '$second_keys'"

note "the program lets go of $held; the user restarts Windows (wineboot --restart)"
release_holder
# A batch file the installation left for after the restart (code 1 of the unfinished list).
printf '@echo off\r\n' >"$dest/after.bat"
"$wine_run" reg add "$unfinished" /v 'C:\Brevanshaw\after.bat' /t REG_SZ /d 1 /f >/dev/null 2>&1
restart_windows
cmp -s "$dest/$held" "$product/$held" && pass "after the restart the new $held is in place" ||
  fail "after the restart $held is not the new one"
[ -n "$waiting" ] && [ ! -e "$waiting" ] && pass "the waiting copy is gone" || fail "the waiting copy is still there"
reg_query "$session" /v PendingFileRenameOperations | grep -q PendingFileRenameOperations &&
  fail "the system still lists moves for the restart" || pass "no moves wait any more"

note "setup.exe *ABOOT resumes the installation"
start_setup '*ABOOT'
if done_page=$(wait_page "$(text_of 580)" 60); then
  shot 23-resumed-complete
  answer "$done_page" Return && pass "the resume ends on \"$(text_of 580)\"" || fail "the good installation page stays up after Enter"
else
  fail "no good installation page after the resume"
fi
wait_setup_gone 60 && pass "the resume ended" || { fail "the resume still runs"; wineserver -k 2>/dev/null; }
reg_query "$unfinished" | grep -q . && fail "the unfinished-install list is still there" || pass "the unfinished-install list is carried out and gone"
[ -e "$dest/after.bat" ] && fail "the batch file of the unfinished list is still there" || pass "the batch file of the unfinished list is deleted"

# The session wineboot restarted holds this test's desktop and focus; later Windows tests
# start a session of their own.
wineserver -k 2>/dev/null || true

[ $failures -eq 0 ] && echo "PASS: installing again, a file in use, restart and resume" ||
  echo "FAIL: installing again ($failures failed checks)"
[ $failures -eq 0 ]
