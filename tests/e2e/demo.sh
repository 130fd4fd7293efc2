#!/usr/bin/env bash
# Shows setup.exe running under Wine and saves screenshots of its windows: the loading form,
# then the maximised main window; then closes it.
# Usage: demo.sh SETUP_EXE BUILD_DIR   (screenshots go to BUILD_DIR/screenshots)
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 2 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR" >&2; exit 2; }
e2e_init "$1" "$2"
start_display
prepare_wine

start_setup
if wait_window '^Setup\.\.\.$' 60 >/dev/null; then
  pass "the loading form \"Setup...\" appeared"
  screenshot 01-loading
else
  fail "no loading form titled \"Setup...\" within 60 s"
fi
if main=$(wait_window '^Brevanshaw ! Setup\.\.\.$' 60); then
  pass "the main window \"Brevanshaw ! Setup...\" appeared"
  deadline=$((SECONDS + 10))
  until is_maximised "$main" || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
  is_maximised "$main" && pass "the main window is maximised" || fail "the main window is not maximised"
  screenshot 02-main
  close_setup "$main"
else
  fail "no main window titled \"Brevanshaw ! Setup...\" within 60 s"
  wineserver -k 2>/dev/null || true
fi
echo "Screenshots: $shots"
[ $failures -eq 0 ]
