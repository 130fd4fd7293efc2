#!/usr/bin/env bash
# The product's own pages under Wine, answered with keys. A second installation over the
# first keeps the user's applications: the question about them answered "keep", the
# database and the applications keep their bytes, the application page is not shown, and
# the add-on chosen waits for the restart; after the restart (wineboot --restart) the add-on
# is the system's dialog library and the library it replaced is kept beside it. A third
# installation, over the applications, is cancelled on the application page: it ends on the
# bad installation page with no application made and nothing waiting for a restart. The
# prefix gets its own dialog library back at the end.
# Usage: product_pages_e2e.sh SETUP_EXE BUILD_DIR PRODUCT_DIR
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 3 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR PRODUCT_DIR" >&2; exit 2; }
e2e_init "$1" "$2"
product=$(cd "$3" && pwd)
start_display
prepare_wine
keep_machine_up

dest="$drive/Brevanshaw"
system32="$drive/windows/system32"
session='HKLM\System\CurrentControlSet\Control\Session Manager'
original="$build/comdlg32-original.dll"
lib_in() { find "$system32" -maxdepth 1 -iname "$1" | head -1; }
# The prefix's dialog library, as the test found it, and no move left for a later restart.
restore_dialog_library() {
  "$wine_run" reg delete "$session" /v PendingFileRenameOperations /f >/dev/null 2>&1
  rm -f "$(lib_in COMDLG32.1)" "$(lib_in COMDLGOL.DLL)"
  if [ -f "$original" ]; then
    rm -f "$(lib_in COMDLG32.DLL)"
    cp -p "$original" "$system32/comdlg32.dll"
  fi
}
rm -f "$original"
trap 'restore_dialog_library; e2e_cleanup' EXIT
stage_product "$product"
cp -p "$(lib_in COMDLG32.DLL)" "$original" || { fail "the prefix has no dialog library"; exit 1; }
build_distribution && pass "the distribution is built" || { fail "build mode wrote no distribution"; exit 1; }
install_distribution p1 || fail "the first installation did not end"
app=$(page_text 30560 0)
[ -f "$dest/$app/$app.MDB" ] && [ -f "$(find "$drive/windows" -maxdepth 1 -iname KalInst.Ini)" ] &&
  pass "the first installation made \"$app\" and its start record" || fail "the first installation made no default application"

note "the user's own data; a second installation keeps the applications and takes the add-on"
printf 'the user'"'"'s documents\r\n' >"$dest/document.mdb"
printf 'the user'"'"'s application\r\n' >"$dest/$app/$app.MDB"
start_distribution p2
walk_wizard 0 p2 "Dana Tester" "Halvernock QA" && walk_destination 0 p2 && answer_install_type 0 p2 keep &&
  watch_copying 0 p2 && walk_folder 0 p2 || fail "the second installation's pages were not answered"
if w=$(wait_page "$(page_text 1800 0)" 300); then
  [ -z "$(windows_named "$(title_regex "$(page_text 1520 0)")")" ] && pass "no application page when the applications stay" ||
    fail "the application page was shown although the applications stay"
  shot p2-18-add-on
  answer "$w" Return && pass "the add-on chosen" || fail "the add-on page stays up after Enter"
else
  fail "no add-on page after the copying"
fi
finish_restart 0 p2 || fail "the second installation did not end on its restart page"
[ "$(cat "$dest/document.mdb")" = $'the user\'s documents\r' ] && pass "the user's database keeps its bytes" ||
  fail "the user's database was written over"
[ "$(cat "$dest/$app/$app.MDB")" = $'the user\'s application\r' ] && pass "the user's application keeps its bytes" ||
  fail "the user's application was written over"
[ -z "$(find "$drive/windows" -maxdepth 1 -iname KalInst.Ini)" ] && pass "the start record is gone: no applications to make" ||
  fail "KalInst.Ini is still in the Windows folder"
staged=$(lib_in COMDLG32.1)
[ -n "$staged" ] && cmp -s "$staged" "$product/KALADDON.DLL" && pass "the add-on waits as COMDLG32.1" || fail "the add-on is not staged"

note "the user restarts Windows (wineboot --restart)"
restart_windows
cmp -s "$(lib_in COMDLG32.DLL)" "$product/KALADDON.DLL" && pass "after the restart the add-on is the dialog library" ||
  fail "after the restart COMDLG32.DLL is not the add-on"
cmp -s "$(lib_in COMDLGOL.DLL)" "$original" && pass "the replaced library is kept as COMDLGOL.DLL" ||
  fail "the replaced library is not kept as COMDLGOL.DLL"
[ -z "$(lib_in COMDLG32.1)" ] && pass "nothing waits any more" || fail "COMDLG32.1 is still there"
restore_dialog_library

note "a third installation, over the applications, cancelled on the application page"
start_distribution p3
walk_wizard 0 p3 "Dana Tester" "Halvernock QA" && walk_destination 0 p3 && answer_install_type 0 p3 over &&
  watch_copying 0 p3 && walk_folder 0 p3 || fail "the third installation's pages were not answered"
if w=$(wait_page "$(page_text 1520 0)" 300); then
  shot p3-16-applications
  leave_from_page "$w" 0 p3
else
  fail "no application page"
fi
wait_setup_gone 30 && pass "setup ended after the cancel" || { fail "setup still runs after the cancel"; wineserver -k 2>/dev/null; }
[ -d "$dest/$app" ] && fail "\"$app\" was made although the page was cancelled" || pass "no application was made"
[ -z "$(find "$drive/windows" -maxdepth 1 -iname KalInst.Ini)" ] && pass "no start record" || fail "a start record was written"
[ -z "$(lib_in COMDLG32.1)" ] && ! reg_query "$session" /v PendingFileRenameOperations | grep -q PendingFileRenameOperations &&
  pass "nothing waits for a restart" || fail "the cancelled run left something for the restart"

contact_sheet p2
echo "Screenshots: $shots"
[ $failures -eq 0 ] && echo "PASS: the product's pages" || echo "FAIL: the product's pages ($failures failed checks)"
[ $failures -eq 0 ]
