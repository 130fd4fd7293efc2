#!/usr/bin/env bash
# End-to-end test of setup.exe under Wine, driven from outside as a user would: the loading
# form, the maximised main window, a second start handing over to the first, and closing.
# Usage: setup_e2e.sh SETUP_EXE BUILD_DIR   (screenshots go to BUILD_DIR/screenshots)
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 2 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR" >&2; exit 2; }
e2e_init "$1" "$2"
start_display
prepare_wine

loading_title='^Setup\.\.\.$'
main_title='^Brevanshaw ! Setup\.\.\.$'

start_setup
if loading=$(wait_window "$loading_title" 60); then
  pass "the loading form \"Setup...\" appeared"
  screenshot 01-loading
else
  fail "no loading form titled \"Setup...\" within 60 s"
fi

if main=$(wait_window "$main_title" 60); then
  pass "the main window \"Brevanshaw ! Setup...\" appeared"
  # Maximising may follow the first showing by a moment.
  deadline=$((SECONDS + 10))
  until is_maximised "$main" || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
  if is_maximised "$main"; then
    pass "the main window is maximised"
  else
    fail "the main window is not maximised"
  fi
  screenshot 02-main
else
  fail "no main window titled \"Brevanshaw ! Setup...\" within 60 s"
  main=""
fi

if [ -n "$main" ]; then
  note "starting a second setup.exe"
  timeout 30 "$wine_run" "$setup_exe" >"$build/setup-e2e-second.log" 2>&1
  code=$?
  if [ $code -eq 0 ]; then
    pass "the second setup.exe exited with code 0"
  elif [ $code -eq 124 ]; then
    fail "the second setup.exe still ran after 30 s"
  else
    fail "the second setup.exe exited with code $code"
  fi
  count=$(windows_named "$main_title" | wc -l)
  if [ "$count" -eq 1 ]; then
    pass "still exactly one main window"
  else
    fail "$count windows titled \"Brevanshaw ! Setup...\" after the second start"
  fi
  if kill -0 "$setup_pid" 2>/dev/null; then
    pass "the first setup.exe still runs"
  else
    fail "the first setup.exe ended when the second started"
  fi
  close_setup "$main"
else
  wineserver -k 2>/dev/null || true
  wait_setup_gone 10 || true
fi

if [ $failures -eq 0 ]; then
  echo "PASS: setup end-to-end"
  exit 0
fi
echo "FAIL: setup end-to-end ($failures failed checks; log in $build/setup-e2e.log)"
exit 1
