#!/usr/bin/env bash
# Installing without a person, under Wine. An interactive run answered with keys records its
# answers (/SAVEINF); the uninstaller then takes the installation away silently, and an
# export of the registry (HKLM, HKCU) and a listing of drive C equal those taken before the
# installation, except for what is documented to stay (the user's databases, the moves that
# wait for the restart, the logs). After the restart the record is replayed by a silent run
# (/VERYSILENT /LOADINF) that must install the same files, registry values and shortcuts. The
# exit codes of a good run (0), a cancelled run (2) and a very silent run that shows no window
# and needs a restart (3010, which a Unix shell sees as 194); a distribution whose files.1 is
# cut short ends on the bad page when a person runs it and with the failure code (1) when
# nobody does, and both logs name the archive's error.
# Usage: unattended_e2e.sh SETUP_EXE BUILD_DIR PRODUCT_DIR
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 3 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR PRODUCT_DIR" >&2; exit 2; }
e2e_init "$1" "$2"
ready_distribution "$3"
keep_machine_up
tag=30-unattended
work="$build/unattended"
rm -rf "$work" && mkdir -p "$work"
rm -f "$drive"/brev-*.log "$drive"/brev-*.inf

# What the machine holds: every registry value of HKLM and HKCU and every path of drive C, but
# not what changes by itself (Wine's own bookkeeping, temporary files) or belongs to the test.
snapshot() {
  local root
  for root in HKLM HKCU; do
    rm -f "$drive/brev-snapshot.reg"
    "$wine_run" reg export "$root" 'C:\brev-snapshot.reg' /y >/dev/null 2>&1
    # A line per key and per value, the value's key in front, continued values joined; what Wine changes by
    # itself (devices, services, its own keys) and the moves that wait for the restart left out.
    iconv -f UTF-16 -t UTF-8 "$drive/brev-snapshot.reg" | tr -d '\r' |
      awk -v root="$root" '/^\[/ { key = $0; print root " " key; next } /^$/ { next }
        { line = line $0 } /\\$/ { sub(/\\$/, "", line); next } { print root " " key " " line; line = "" }' |
      grep -v -i -e '\\Software\\Wine' -e 'Explorer' -e 'HKEY_LOCAL_MACHINE\\Hardware' -e 'Hardware Profiles' -e '\\DeviceClasses\\' \
        -e '\\Enum\\' -e '\\ServiceCurrent\]' -e '\\Control\\Video' -e 'PendingFileRenameOperations' -e 'DriverDateData' \
        -e '\\Session Manager\\Environment'
  done >"$work/$1.reg"
  rm -f "$drive/brev-snapshot.reg"
  (cd "$drive" && find . \( -path './users/*/Temp' -o -path './windows/temp' -o -path './BrevDist' -o -path './BrevCut' \
    -o -path './BrevBuild' -o -path './Brevanshaw Product' -o -path './Brevanshaw UnInstall' -o -name 'brev-*' \) -prune \
    -o -print | sort) >"$work/$1.files"
}

# run_setup CODE_VAR ARGS...: setup.exe of C:\BrevDist with these switches, to its end.
run_setup() {
  local -n code_out=$1
  shift
  "$wine_run" "$drive/BrevDist/setup.exe" "$@" >"$build/setup-e2e.log" 2>&1
  code_out=$?
}

# The state an installation leaves: its files, the product's values and its shortcuts.
installed_state() {
  (cd "$drive/Brevanshaw" && find . -type f | sort)
  reg_query 'HKLM\SOFTWARE\Halvernock\Brevanshaw\1.0'
  find "$drive/users" -path '*Start Menu/Programs/Brevanshaw/*' -printf '%P\n' 2>/dev/null | sed 's|^.*/Programs/||' | sort
}

snapshot before
note "an interactive run that records its answers"
setup_args=(/SAVEINF='C:\brev-answers.inf' /LOG='C:\brev-interactive.log')
start_distribution "$tag" && walk_wizard 2 "$tag" "Dana Tester" "Halvernock QA" && walk_destination 2 "$tag" &&
  watch_copying 2 "$tag" && walk_folder 2 "$tag" && walk_product_pages 2 "$tag" no &&
  finish_wizard 2 "$tag" || fail "the interactive run did not end on the good installation page"
wait "$setup_pid"; code=$?
setup_args=()
[ "$code" = 0 ] && pass "a good run exits with 0" || fail "a good run exited with $code"
answers=$(tr -d '\r' <"$drive/brev-answers.inf" 2>/dev/null)
for line in Lang=2 "UserName=Dana Tester" "Org=Halvernock QA" 'Dir=C:\Brevanshaw' Group=Brevanshaw AddOn=No; do
  grep -qxF "$line" <<<"$answers" && pass "the answer file holds $line" || fail "the answer file lacks $line: $answers"
done
installed_state >"$work/interactive.state"
grep -q 'Exit code 0' "$drive/brev-interactive.log" && pass "the interactive run's log ends with its exit code" ||
  fail "the interactive run's log: $(tail -3 "$drive/brev-interactive.log" 2>/dev/null)"

note "the uninstaller, silently"
"$wine_run" 'C:\Brevanshaw\Uninstall.exe' Brevanshaw /VERYSILENT /LOG='C:\brev-uninstall.log' >/dev/null 2>&1
code=$?
[ "$code" = 0 ] || [ "$code" = 194 ] && pass "the uninstaller exits with $code" || fail "the uninstaller exited with $code"
snapshot after-uninstall
# Documented to stay: the user's databases and the folders holding them, the uninstaller
# and its folder until the restart.
diff "$work/before.files" "$work/after-uninstall.files" | grep '^>' |
  grep -v -i -e '\.mdb$' -e '^> \./Brevanshaw$' -e '^> \./Brevanshaw/Uninstall\.exe$' -e '^> \./Brevanshaw/[^/]*$' >"$work/files.left"
if [ -s "$work/files.left" ]; then fail "the uninstaller left files: $(head -20 "$work/files.left")"; else pass "drive C is as it was, but the kept data"; fi
diff "$work/before.files" "$work/after-uninstall.files" | grep '^<' >"$work/files.lost"
[ -s "$work/files.lost" ] && fail "the uninstaller took what was there before: $(head -20 "$work/files.lost")"
if diff "$work/before.reg" "$work/after-uninstall.reg" >"$work/registry.diff"; then
  pass "the registry is as it was"
else
  fail "the registry differs from before: $(head -40 "$work/registry.diff")"
fi
grep -q 'Kept the user' "$drive/brev-uninstall.log" && pass "the uninstaller says what it kept" ||
  fail "the uninstaller's log tells no kept data: $(cat "$drive/brev-uninstall.log" 2>/dev/null | head -20)"

note "the restart, then the record replayed by a silent run"
wineserver -k 2>/dev/null; "$wine_run" wineboot --restart >/dev/null 2>&1; keep_machine_up
rm -rf "$drive/Brevanshaw"
run_setup code /VERYSILENT /LOADINF='C:\brev-answers.inf' /LOG='C:\brev-silent.log'
[ "$code" = 0 ] && pass "the silent replay exits with 0" || fail "the silent replay exited with $code: $(tail -5 "$drive/brev-silent.log")"
installed_state >"$work/silent.state"
if diff "$work/interactive.state" "$work/silent.state" >"$work/state.diff"; then
  pass "the silent replay installs the same files, values and shortcuts"
else
  fail "the silent replay differs: $(head -20 "$work/state.diff")"
fi

note "a cancelled run and a run that needs a restart"
setup_args=(/LOG='C:\brev-cancelled.log')
start_distribution "$tag-cancel"
w=$(wait_page "Select Setup Language..." 120) && answer "$w" space &&
  w=$(wait_page "$(page_text 80 0)" 60) && leave_from_page "$w" 0 "$tag-cancel" || fail "the run could not be left"
wait "$setup_pid"; code=$?
setup_args=()
[ "$code" = 2 ] && pass "a cancelled run exits with 2" || fail "a cancelled run exited with $code"
clean_installation
# Watched while it runs: a very silent run shows none of setup's windows.
"$wine_run" "$drive/BrevDist/setup.exe" /VERYSILENT /NORESTART "/USERNAME=Dana Tester" /ORG=QA /LOG='C:\brev-restart.log' \
  >/dev/null 2>&1 &
pid=$! shown=""
while kill -0 "$pid" 2>/dev/null; do
  shown+=$(windows_named "^Setup\.\.\.\$|^Brevanshaw ! Setup\.\.\.\$|$(title_regex "$(page_text 360 0)")")
  sleep 0.2
done
wait "$pid"; code=$?
[ -z "$shown" ] && pass "a very silent run shows no window" || fail "a very silent run showed windows $shown"
[ "$code" = 194 ] && pass "a run whose add-on waits for the restart exits with 3010 (194 to the shell)" ||
  fail "the run with the add-on exited with $code: $(tail -5 "$drive/brev-restart.log")"
grep -q 'Exit code 3010' "$drive/brev-restart.log" && pass "its log says 3010" || fail "its log: $(tail -3 "$drive/brev-restart.log")"
clean_installation

note "a distribution whose files.1 is cut short"
rm -rf "$drive/BrevCut" && cp -r "$drive/BrevDist" "$drive/BrevCut"
truncate -s $(($(stat -c %s "$drive/BrevCut/files.1") / 2)) "$drive/BrevCut/files.1"
"$wine_run" "$drive/BrevCut/setup.exe" /SILENT /LOG='C:\brev-cut-silent.log' >/dev/null 2>&1
code=$?
[ "$code" = 1 ] && pass "the silent run of a cut archive exits with 1" || fail "the silent run of a cut archive exited with $code"
setup_args=(/LOG='C:\brev-cut.log')
start_distribution "$tag-cut" BrevCut
w=$(wait_page "$(page_text 680 0)" 120) && shot "$tag-cut-03-not-completed" && answer "$w" Return &&
  pass "the interactive run of a cut archive ends on the bad installation page" ||
  fail "no bad installation page for a cut archive"
wait "$setup_pid"; code=$?
setup_args=()
[ "$code" = 1 ] && pass "and exits with 1" || fail "the interactive run of a cut archive exited with $code"
for log in brev-cut-silent.log brev-cut.log; do
  grep -q 'Error: Could not read the file headers' "$drive/$log" && pass "$log names the archive's error" ||
    fail "$log: $(cat "$drive/$log" 2>/dev/null | head -10)"
done
rm -rf "$drive/BrevCut"
clean_installation
contact_sheet "$tag"
echo "failures: $failures"
[ "$failures" -eq 0 ]
