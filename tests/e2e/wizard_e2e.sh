#!/usr/bin/env bash
# The wizard under Wine in each of its five languages, driven by keys only: the language
# chosen with the arrow keys, the welcome and licence pages passed with Enter, a name with
# "%" and letters beyond ASCII typed on the user information page, the product's pages
# answered, the installation run to its good installation page; the registry then holds the
# language and the answers as typed, and the default applications are made under their
# names in the language. One more run is cancelled on the welcome page (the exit question
# answered No once, then Yes) and ends on the bad installation page. Screenshots of every
# page of every language (the Hebrew pages right to left) land in the build's screenshots/.
# Usage: wizard_e2e.sh SETUP_EXE BUILD_DIR PRODUCT_DIR
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"

[ $# -eq 3 ] || { echo "usage: $0 SETUP_EXE BUILD_DIR PRODUCT_DIR" >&2; exit 2; }
e2e_init "$1" "$2"
ready_distribution "$3"
product_key='HKLM\SOFTWARE\Halvernock\Brevanshaw\1.0'

names=("Zoë Tester 100%" "דנה כהן 100%" "José Núñez 100%" "Jörg Müller 100%" "Daan de Vries 100%")
organisations=("Halvernock QA" "חברת הלברנוק" "Compañía Andina" "Größe & Co" "Bureau Zeeën")

for lang in 0 1 2 3 4; do
  note "language $lang: $(text_of $((30480 + lang)))"
  clean_installation
  start_distribution "w$lang"
  if walk_wizard "$lang" "w$lang" "${names[$lang]}" "${organisations[$lang]}" && walk_destination "$lang" "w$lang" &&
     watch_copying "$lang" "w$lang" && walk_folder "$lang" "w$lang" && walk_product_pages "$lang" "w$lang" no &&
     finish_wizard "$lang" "w$lang"; then
    pass "language $lang: the installation went through every page to its end"
  else
    fail "language $lang: the wizard did not reach its end"
    wineserver -k 2>/dev/null
    wait_setup_gone 10
    continue
  fi
  for pair in "LID=$lang" "UserName=${names[$lang]}" "Organization=${organisations[$lang]}"; do
    value=$(reg_text "$product_key" "${pair%%=*}")
    [ "$value" = "${pair#*=}" ] && pass "${pair%%=*} is \"$value\"" || fail "${pair%%=*} is \"$value\", not \"${pair#*=}\""
  done
  # The default applications under their names in the language, on disk and in the start record.
  first=$(page_text 30560 "$lang") second=$(page_text 30580 "$lang")
  record=$(find "$drive/windows" -maxdepth 1 -iname KalInst.Ini | head -1)
  [ -f "$drive/Brevanshaw/$first/$first.MDB" ] && [ -f "$drive/Brevanshaw/$second/$second.MDB" ] && [ -n "$record" ] &&
    iconv -f UTF-16 -t UTF-8 "$record" | tr -d '\r' | grep -qxF "Name2=$second" &&
    pass "the applications \"$first\" and \"$second\" made and recorded" || fail "no applications \"$first\" and \"$second\""
done

note "a run cancelled on the welcome page"
clean_installation
lang=3
start_distribution wcancel
walk_cancelled() {
  local w question
  w=$(wait_page "Select Setup Language..." 120) || { fail "no language choice"; return 1; }
  answer "$w" Down Down Down space || { fail "the language choice stays up"; return 1; }
  w=$(wait_page "$(page_text 80 $lang)" 60) || { fail "no welcome page"; return 1; }
  shot wcancel-05-welcome
  # Escape reaches the Cancel button; the exit question starts on No.
  press "$w" Escape
  question=$(wait_page "$(page_text 1280 $lang)" 30) || { fail "no exit question after Escape"; return 1; }
  shot wcancel-06-exit-question
  answer "$question" Return || { fail "the exit question stays up after Enter on No"; return 1; }
  window_visible "$w" && pass "No keeps the welcome page" || { fail "the welcome page went on No"; return 1; }
  leave_from_page "$w" $lang wcancel
}
walk_cancelled
wait_setup_gone 30 && pass "setup ended after the cancel" || { fail "setup still runs after the cancel"; wineserver -k 2>/dev/null; }
[ -e "$drive/Brevanshaw/Uninstall.exe" ] && fail "files were installed although the run was cancelled" ||
  pass "nothing was installed"
[ -z "$(reg_string "$product_key" LID)" ] && pass "no product key written" || fail "the cancelled run wrote the product key"

echo "Screenshots: $shots"
[ $failures -eq 0 ] && echo "PASS: the wizard in five languages" || echo "FAIL: the wizard ($failures failed checks)"
[ $failures -eq 0 ]
