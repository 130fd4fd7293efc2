#!/usr/bin/env bash
# setup.exe as a user meets it, under Wine on a display: the sample product is packed with
# "*BUILD" and cut into diskette volumes, the third one missing. Started from those disks,
# setup shows its loading form and its maximised main window, installs until it needs disk
# 3 and asks for it (the pages before the copying answered with keys). While it waits, a
# second start only brings the first to the front. Cancelling the disk prompt ends the
# installation on the bad installation page, and the program with it.
# Usage: setup_e2e.sh SETUP_EXE BUILD_DIR PRODUCT_DIR BREVARC_EXE
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 4 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR PRODUCT_DIR BREVARC_EXE" >&2; exit 2; }
e2e_init "$1" "$2"
product=$(cd "$3" && pwd)
brevarc=$4
start_display
prepare_wine

stage_product "$product"
build_distribution || fail "build mode wrote no distribution"
cut_diskettes "$brevarc"
setup_exe="$drive/BrevDisks/setup.exe"

loading_title='^Setup\.\.\.$'
main_title='^Brevanshaw ! Setup\.\.\.$'
disk_title='^Setup Needs The Next Disk$'

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
  walk_wizard 0 disks "Dana Tester" "Halvernock QA" && walk_destination 0 disks ||
    fail "the pages before the copying were not answered"
  if prompt=$(wait_window "$disk_title" 120); then
    pass "setup asks for the next disk"
    screenshot 03-disk-prompt
  else
    fail "no disk prompt within 120 s"
    prompt=""
  fi
  note "starting a second setup.exe"
  timeout 30 "$wine_run" "$setup_exe" >"$build/setup-e2e-second.log" 2>&1
  code=$?
  # 4: another setup is running.
  if [ $code -eq 4 ]; then
    pass "the second setup.exe exited with code 4"
  elif [ $code -eq 124 ]; then
    fail "the second setup.exe still ran after 30 s"
  else
    fail "the second setup.exe exited with code $code"
  fi
  shot 04-after-second-start
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
  if [ -n "$prompt" ]; then
    # Cancel on the question: Escape answers it.
    if answer "$prompt" Escape; then
      pass "the disk prompt closed on Cancel"
    else
      fail "the disk prompt is still up after Cancel"
    fi
    if bad=$(wait_page "$(text_of 680)" 60); then
      shot disks-10-not-completed
      answer "$bad" Return && pass "the cancelled installation ends on \"$(text_of 680)\"" ||
        fail "the bad installation page stays up after Enter"
    else
      fail "no bad installation page after the cancelled disk prompt"
    fi
    if wait_setup_gone 30; then
      pass "setup ended after the cancelled disk prompt"
    else
      fail "setup still runs after the cancelled disk prompt"
      wineserver -k 2>/dev/null || true
    fi
    [ -f "$drive/Brevanshaw/Uninstall.exe" ] && fail "the uninstaller was installed although the installation was cancelled" ||
      pass "the cancelled installation went no further than the disk it waited for"
  else
    close_setup "$main"
  fi
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
