# Shared steps of the end-to-end test and the demo: a display, the build's own Wine prefix,
# starting setup.exe, finding its windows by title, screenshots, and closing it again.
# Sourced by setup_e2e.sh and install_demo.sh; not run on its own.

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_run="$e2e_here/../../cmake/wine-run"

failures=0
xvfb_pid=""
setup_pid=""
# Switches start_distribution gives setup.exe (a test sets them for one run).
setup_args=()

pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
note() { echo "---- $*"; }

# e2e_init SETUP_EXE BUILD_DIR
e2e_init() {
  setup_exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  build=$(cd "$2" && pwd)
  shots="$build/screenshots"
  mkdir -p "$shots"
  # The same private prefix and settings as cmake/wine-run, which every Wine start goes through.
  export BREV_BUILD_DIR="$build"
  export WINEPREFIX="$build/wineprefix"
  drive="$WINEPREFIX/drive_c"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  trap e2e_cleanup EXIT
  [ -f "$setup_exe" ] || { fail "no program at $setup_exe"; exit 1; }
}

e2e_cleanup() {
  if [ -n "$setup_pid" ] && kill -0 "$setup_pid" 2>/dev/null; then
    kill "$setup_pid" 2>/dev/null
  fi
  [ -z "${machine_up:-}" ] || wineserver -k 2>/dev/null || true
  # The caller's own display gets its spare keys back.
  local keycode
  for keycode in "${letter_keys[@]}"; do xmodmap -e "keycode $keycode =" 2>/dev/null; done
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}

# Uses the caller's display, or starts a private virtual one on the first free number from :97.
start_display() {
  if [ -n "${DISPLAY:-}" ]; then
    note "display $DISPLAY"
    return 0
  fi
  local n
  for n in $(seq 97 160); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      note "started Xvfb on $DISPLAY"
      return 0
    fi
    # Another server took the number meanwhile: try the next one.
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  fail "could not start Xvfb"
  exit 1
}

# True when a window manager runs on the display.
window_manager_running() {
  if command -v xprop >/dev/null 2>&1; then
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
  else
    xdotool getactivewindow >/dev/null 2>&1
  fi
}

# Creates the prefix if needed and fits Wine to the display. Without a window manager Wine
# must place its windows itself: a window it leaves to a manager is never maximised (and
# hiding one waits two seconds for an answer that never comes).
prepare_wine() {
  "$wine_run" --init "$build"
  if window_manager_running; then
    "$wine_run" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  else
    "$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
      fail "could not configure Wine for a display without a window manager"
  fi
}

# restart_windows: the user restarts Windows. Wine carries out the moves that wait for the
# restart before wineboot returns, but ends the old session's programs a moment later, and a
# program started meanwhile is ended with them: so the prefix is let stop first.
restart_windows() {
  "$wine_run" wineboot --restart >"$build/wineboot.log" 2>&1
  timeout 60 wineserver -w || true
}

# keep_machine_up: the prefix's Windows stays up until the test ends. Wine's session ends a
# few seconds after its last program, and the next one starts as a restarted machine, carrying
# out every file move that waits for a restart; a test that looks at what waits must not
# restart the machine by looking. The session starts afresh here, the way the test found it.
keep_machine_up() {
  wineserver -k 2>/dev/null || true
  wineserver -p </dev/null >/dev/null 2>&1
  machine_up=1
}

# contact_sheet TAG: all of a run's pictures on one sheet, each named.
contact_sheet() {
  montage -font DejaVu-Sans -label '%t' "$shots/$1"-[0-9]*.png -tile 5x -geometry 320x240+6+6 "$shots/$1-contact-sheet.png" 2>/dev/null &&
    note "contact sheet $shots/$1-contact-sheet.png" || fail "no contact sheet of $1"
}

# Starts setup.exe in the background; its process id is in setup_pid.
start_setup() {
  "$wine_run" "$setup_exe" "$@" >"$build/setup-e2e.log" 2>&1 &
  setup_pid=$!
  note "started setup.exe (process $setup_pid)"
}

# Visible windows whose title matches an extended regular expression, one id a line.
windows_named() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null || true
}

# wait_window REGEX SECONDS: prints the first matching window's id; false after the timeout.
wait_window() {
  local regex=$1 deadline=$((SECONDS + $2)) ids
  while [ $SECONDS -lt $deadline ]; do
    ids=$(windows_named "$regex")
    if [ -n "$ids" ]; then
      echo "$ids" | head -1
      return 0
    fi
    sleep 0.1
  done
  return 1
}

screenshot() {
  if import -window root "$shots/$1.png" 2>/dev/null; then
    note "screenshot $shots/$1.png"
  else
    fail "could not take screenshot $1"
  fi
}

# is_maximised WINDOW: the window covers (nearly) the whole screen.
is_maximised() {
  local WIDTH=0 HEIGHT=0 X=0 Y=0 SCREEN=0 WINDOW=0 sw sh
  eval "$(xdotool getwindowgeometry --shell "$1")"
  read -r sw sh < <(xdotool getdisplaygeometry)
  note "window ${WIDTH}x${HEIGHT} at $X,$Y on a ${sw}x${sh} screen"
  # The caption may take some height; everything else is the window's.
  [ "$WIDTH" -ge $((sw * 95 / 100)) ] && [ "$HEIGHT" -ge $((sh * 85 / 100)) ]
}

# True while our setup.exe, or any setup.exe in this prefix, is alive.
setup_running() {
  if [ -n "$setup_pid" ] && kill -0 "$setup_pid" 2>/dev/null; then
    return 0
  fi
  local p
  for p in /proc/[0-9]*; do
    { tr '\0' '\n' <"$p/cmdline" | grep -qi 'setup\.exe$'; } 2>/dev/null || continue
    { tr '\0' '\n' <"$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null && return 0
  done
  return 1
}

wait_setup_gone() {
  local deadline=$((SECONDS + $1))
  while [ $SECONDS -lt $deadline ]; do
    setup_running || return 0
    sleep 0.2
  done
  return 1
}

# Closes setup as a user would, with Alt+F4 on its main window; ends Wine in the prefix as a
# last resort. Prints how it went.
close_setup() {
  local main=$1 try closed=""
  # A key pressed while Wine is still settling the focus can be lost; a user presses again.
  for try in 1 2 3; do
    xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main" 2>/dev/null
    xdotool key --clearmodifiers alt+F4
    if wait_setup_gone 10; then
      closed=$try
      break
    fi
    note "setup still runs 10 s after Alt+F4 (try $try)"
  done
  if [ -n "$closed" ]; then
    pass "Alt+F4 on the main window ended setup"
  else
    fail "setup still runs after Alt+F4 on its main window, three times"
    wineserver -k 2>/dev/null || true
    wait_setup_gone 10 || true
  fi
  if [ -n "$setup_pid" ]; then
    wait "$setup_pid" 2>/dev/null
  fi
  if setup_running; then
    fail "a setup.exe process remains"
  else
    pass "no setup.exe process remains"
  fi
}

# stage_product PRODUCT_DIR: the developer's machine in the prefix: the product's files, with
# the dates they were built with, where the install description takes them from
# (C:\Brevanshaw Product, C:\Brevanshaw UnInstall), setup.exe with a BUILD.INF naming
# C:\BrevDist\, and nothing left of an earlier run.
stage_product() {
  local product=$1 f
  clean_installation
  rm -rf "$drive/BrevDist" "$drive/BrevBuild" "$drive/Brevanshaw Product" "$drive/Brevanshaw UnInstall"
  mkdir -p "$drive/Brevanshaw Product" "$drive/Brevanshaw UnInstall" "$drive/BrevBuild"
  for f in "$product"/*; do
    case "$(basename "$f")" in
      Uninstall.exe) cp -p "$f" "$drive/Brevanshaw UnInstall/" ;;
      # The default applications' source tree goes beside setup.exe; build mode ships it.
      APPS) cp -rp "$f" "$drive/BrevBuild/" ;;
      *) cp -p "$f" "$drive/Brevanshaw Product/" ;;
    esac
  done
  cp "$setup_exe" "$drive/BrevBuild/setup.exe"
  printf 'C:\\BrevDist\\\r\n' > "$drive/BrevBuild/BUILD.INF"
}

# reg_query KEY [reg options]: Wine's reg tool on the prefix, without carriage returns.
reg_query() { "$wine_run" reg query "$@" 2>/dev/null | tr -d '\r'; }

# reg_string KEY NAME: the data of one string value, empty when it is missing.
reg_string() { reg_query "$1" /v "$2" | sed -n "s/^    $2    REG_[A-Z_]*    //p"; }

# start_distribution TAG [FOLDER]: starts setup.exe of C:\BrevDist (or of another folder of
# drive C) as a user starts it and takes the screenshots TAG-01-loading and TAG-02-main as
# those windows show.
start_distribution() {
  setup_exe="$drive/${2:-BrevDist}/setup.exe"
  # Pictures of an earlier run under the same tag would mix into this run's.
  rm -f "$shots/$1"-*.png
  start_setup "${setup_args[@]}"
  wait_window '^Setup\.\.\.$' 60 >/dev/null && shot "$1-01-loading" || fail "no loading form"
  wait_window '^Brevanshaw ! Setup\.\.\.$' 60 >/dev/null && screenshot "$1-02-main" || fail "no main window"
}

# reg_text KEY NAME: the data of a string value of KEY itself (not of its sub-keys), letters
# beyond ASCII included. reg query prints in the console's code page, which has no Hebrew;
# reg export writes UTF-16.
reg_text() {
  rm -f "$drive/brev-reg-export.reg"
  "$wine_run" reg export "$1" 'C:\brev-reg-export.reg' /y >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$drive/brev-reg-export.reg" | tr -d '\r' |
    awk -v name="\"$2\"=" '/^\[/ { if (++sections > 1) exit; next } index($0, name) == 1 { print substr($0, length(name) + 1) }' |
    sed 's/^"//; s/"$//; s/\\"/"/g; s/\\\\/\\/g'
}

# install_distribution TAG [LANG NAME ORGANISATION]: the whole installation from the
# distribution, every page answered (English, a plain name unless given); false when it did
# not end with the good installation page.
install_distribution() {
  local lang=${2:-0}
  start_distribution "$1"
  walk_wizard "$lang" "$1" "${3:-Dana Tester}" "${4:-Halvernock QA}" && walk_destination "$lang" "$1" &&
    watch_copying "$lang" "$1" && walk_folder "$lang" "$1" && walk_product_pages "$lang" "$1" no && finish_wizard "$lang" "$1"
}

# ---- the wizard, answered as a user answers it: keys through the input queue ----

string_table="$e2e_here/../../resources/StringTable.txt"

# text_of ID: the string table's text under that id (empty when it has none).
text_of() { awk -F'\t' -v id="$1" '$1 == id { sub(/^[^\t]*\t/, ""); print; exit }' "$string_table"; }
# page_text BASE LANG: the text of a base in a language (0 English ... 4 Dutch).
page_text() { text_of $(($1 + $2)); }
# The caption designed into the Hebrew licence page, which carries its own texts.
hebrew_licence_caption() { sed -n "0,/^  Caption = /s/^  Caption = '\(.*\)'\$/\1/p" "$e2e_here/../../resources/HebdlgLicense.dfm"; }

# title_regex TEXT: an extended regular expression matching exactly that window title.
title_regex() { printf '^%s$' "$(printf '%s' "$1" | sed 's/[][\.*^$?+(){}|/]/\\&/g')"; }

# wait_page TITLE SECONDS [BESIDES]: the id of the window titled exactly TITLE once it
# shows; with BESIDES, a window other than that one (the picker has the title of the page
# that opens it).
wait_page() {
  local regex deadline=$((SECONDS + $2)) id
  regex=$(title_regex "$1")
  while [ $SECONDS -lt $deadline ]; do
    for id in $(windows_named "$regex"); do
      [ "$id" != "${3:-}" ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

window_visible() { xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; }

focus_window() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null; }

# press WINDOW KEY...: the keys pressed while the window has the focus.
press() {
  local w=$1
  shift
  focus_window "$w"
  xdotool key --clearmodifiers --delay 80 "$@"
}

# Letters no key gives are typed through a few spare keys of the test's own. Left to itself,
# xdotool binds such a letter for the moment of the press and takes the key back at once, and
# when Wine reads the changed keyboard map only after that, the letter is lost. Here a key keeps
# its letter until the keys after it have been typed too; there are only a few, as Wine finds
# a virtual key for just a handful of new keys.
letter_keys=()
next_letter_key=0

# bind_letter CHARACTER: a key gives the character from now on.
bind_letter() {
  local code keysym
  code=$(printf '%s' "$1" | iconv -f UTF-8 -t UTF-32BE | od -An -tu4 --endian=big | tr -d ' ')
  keysym=$((code < 0x100 ? code : 0x1000000 + code))
  xmodmap -pk 2>/dev/null | grep -qi "$(printf '0x%04x ' "$keysym")" && return 0
  if [ ${#letter_keys[@]} -eq 0 ]; then
    # Spare keys, the last two left for xdotool's own binding.
    mapfile -t letter_keys < <(xmodmap -pke 2>/dev/null | awk '$1 == "keycode" && NF == 3 && $2 > 8 { print $2 }' |
      head -n -2 | head -4)
    [ ${#letter_keys[@]} -gt 0 ] || return 0
  fi
  xmodmap -e "keycode ${letter_keys[next_letter_key]} = $(printf 'U%04X' "$code")" 2>/dev/null
  next_letter_key=$(((next_letter_key + 1) % ${#letter_keys[@]}))
}

# type_into WINDOW TEXT: typed a character at a time, letters outside the keyboard included.
type_into() {
  local ch code
  focus_window "$1"
  while IFS= read -r ch; do
    printf -v code '%d' "'$ch"
    [ "$code" -ge 32 ] && [ "$code" -le 126 ] || bind_letter "$ch"
    xdotool type --clearmodifiers --delay 60 -- "$ch"
  done < <(printf '%s' "$2" | LC_ALL=C.UTF-8 grep -o .)
}

# answer WINDOW KEY...: presses the keys and waits for the window to go; a key pressed while
# Wine still settles the focus can be lost, so a user presses again. False if it stays.
answer() {
  local w=$1 try deadline
  shift
  for try in 1 2 3; do
    press "$w" "$@"
    deadline=$((SECONDS + 5))
    while [ $SECONDS -lt $deadline ]; do
      window_visible "$w" || return 0
      sleep 0.1
    done
  done
  return 1
}

# shot NAME: a screenshot once the screen has stopped changing (the page has painted).
shot() {
  local previous="" current i
  for i in $(seq 1 40); do
    current=$(import -window root rgb:- 2>/dev/null | md5sum)
    [ "$current" = "$previous" ] && break
    previous=$current
    sleep 0.15
  done
  screenshot "$1"
}

# walk_wizard LANG TAG NAME ORGANISATION: answers the language choice, the welcome page, the
# user information and the licence agreement in language LANG; screenshots TAG-NN-page. The
# pages after it: walk_destination, watch_copying, walk_folder, finish_wizard.
walk_wizard() {
  local lang=$1 tag=$2 name=$3 organisation=$4 w keys=() i licence
  w=$(wait_page "Select Setup Language..." 120) || { fail "no language choice within 120 s"; return 1; }
  shot "$tag-03-language"
  for ((i = 0; i < lang; i++)); do keys+=(Down); done
  if [ ${#keys[@]} -gt 0 ]; then
    press "$w" "${keys[@]}"
    shot "$tag-04-language-chosen"
  fi
  answer "$w" space || { fail "the language choice stays up after the space bar"; return 1; }
  pass "language $lang chosen"

  w=$(wait_page "$(page_text 80 "$lang")" 60) || { fail "no welcome page \"$(page_text 80 "$lang")\""; return 1; }
  shot "$tag-05-welcome"
  answer "$w" Return || { fail "the welcome page stays up after Enter"; return 1; }
  pass "welcome page \"$(page_text 80 "$lang")\" passed"

  w=$(wait_page "$(page_text 30120 "$lang")" 60) || { fail "no user information page"; return 1; }
  shot "$tag-06-user-information"
  type_into "$w" "$name"
  press "$w" Tab
  type_into "$w" "$organisation"
  shot "$tag-07-user-information-filled"
  answer "$w" Return || { fail "the user information page stays up after Enter"; return 1; }
  pass "user information given"

  if [ "$lang" = 1 ]; then licence=$(hebrew_licence_caption); else licence=$(page_text 30540 "$lang"); fi
  w=$(wait_page "$licence" 60) || { fail "no licence page \"$licence\""; return 1; }
  shot "$tag-08-licence"
  answer "$w" Return || { fail "the licence page stays up after Enter"; return 1; }
  pass "licence agreement accepted"
}

# replace_text WINDOW TEXT: the focused field's text replaced by TEXT.
replace_text() {
  press "$1" End shift+Home BackSpace
  type_into "$1" "$2"
}

# answer_field_page TITLE SECONDS SHOT DONE [TEXT]: a page with one field to fill: TEXT typed
# over what it proposes when given, then Enter; screenshots SHOT and SHOT-typed.
answer_field_page() {
  local w
  w=$(wait_page "$1" "$2") || { fail "no page \"$1\""; return 1; }
  shot "$3"
  if [ -n "${5:-}" ]; then
    replace_text "$w" "$5"
    shot "$3-typed"
  fi
  answer "$w" Return || { fail "the page \"$1\" stays up after Enter"; return 1; }
  pass "$4"
}

# walk_destination LANG TAG [DIRECTORY]: the destination directory page.
walk_destination() { answer_field_page "$(page_text 200 "$1")" 60 "$2-09-destination" "destination chosen" "${3:-}"; }

# watch_copying LANG TAG: two screenshots of the copy window while it counts.
watch_copying() {
  local lang=$1 tag=$2 title
  title=$(title_regex "$(page_text 360 "$lang")")
  wait_window "$title" 60 >/dev/null || { fail "no copy window \"$(page_text 360 "$lang")\""; return 1; }
  screenshot "$tag-11-copying"
  sleep 0.3
  [ -n "$(windows_named "$title")" ] && screenshot "$tag-12-copying-later"
  pass "the copy window showed the copying"
}

# walk_folder LANG TAG [FOLDER]: the program folder page (the copying may take a while).
walk_folder() { answer_field_page "$(page_text 460 "$1")" 300 "$2-13-folder" "program folder chosen" "${3:-}"; }

# answer_install_type LANG TAG keep|over: the question a destination with the product's
# database asks: "keep" takes the choice it starts with (the applications stay), "over" the
# other one (they go, and the product's are installed again).
answer_install_type() {
  local lang=$1 tag=$2 w
  w=$(wait_page "$(page_text 30340 "$lang")" 60) || { fail "no question \"$(page_text 30340 "$lang")\""; return 1; }
  shot "$tag-10-applications-found"
  [ "$3" = over ] && press "$w" Down
  answer "$w" Return || { fail "the question about the applications stays up after Enter"; return 1; }
  pass "the question about the applications answered ($3)"
}

# walk_product_pages LANG TAG ADDON: the application page (Install), its copy window, and the
# add-on page: ADDON "yes" keeps the choice it starts with, "no" takes the other option.
walk_product_pages() {
  local lang=$1 tag=$2 addon=$3 w
  w=$(wait_page "$(page_text 1520 "$lang")" 300) || { fail "no application page \"$(page_text 1520 "$lang")\""; return 1; }
  shot "$tag-16-applications"
  press "$w" Return
  wait_window "$(title_regex "$(page_text 20000 "$lang")")" 30 >/dev/null && screenshot "$tag-17-applications-copying"
  wait_gone "$w" 60 || { fail "the application page stays up after Enter"; return 1; }
  pass "the default applications installed"
  w=$(wait_page "$(page_text 1800 "$lang")" 120) || { fail "no add-on page \"$(page_text 1800 "$lang")\""; return 1; }
  shot "$tag-18-add-on"
  if [ "$addon" = no ]; then
    press "$w" Tab space
    shot "$tag-19-add-on-declined"
  fi
  answer "$w" Return || { fail "the add-on page stays up after Enter"; return 1; }
  pass "add-on page answered ($addon)"
}

# finish_restart LANG TAG: the restart page answered "later" (the second option); setup ends.
finish_restart() {
  local lang=$1 tag=$2 w
  w=$(wait_page "$(page_text 2020 "$lang")" 120) || { fail "no restart page \"$(page_text 2020 "$lang")\""; return 1; }
  shot "$tag-20-restart"
  press "$w" Down
  shot "$tag-21-restart-later"
  answer "$w" Return || { fail "the restart page stays up after Enter"; return 1; }
  wait_setup_gone 30 || { fail "setup still runs after its restart page"; return 1; }
  pass "restart page answered: later; setup ended"
}

# wait_gone WINDOW SECONDS: true once the window is no longer shown.
wait_gone() {
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    window_visible "$1" || return 0
    sleep 0.2
  done
  return 1
}

# leave_from_page WINDOW LANG TAG: Escape on a page, the exit question answered Yes, the bad
# installation page closed with Enter.
leave_from_page() {
  local w=$1 lang=$2 tag=$3 question
  press "$w" Escape
  question=$(wait_page "$(page_text 1280 "$lang")" 30) || { fail "no exit question after Escape"; return 1; }
  shot "$tag-21-exit-question"
  answer "$question" Tab Return || { fail "the exit question stays up after Yes"; return 1; }
  w=$(wait_page "$(page_text 680 "$lang")" 60) || { fail "no bad installation page after Yes"; return 1; }
  shot "$tag-22-not-completed"
  answer "$w" Return || { fail "the bad installation page stays up after Enter"; return 1; }
  pass "the run left from the page ended on \"$(page_text 680 "$lang")\""
}

# finish_wizard LANG TAG: waits for the good installation page (the copying may take a while),
# closes it with Enter and waits for setup to end.
finish_wizard() {
  local lang=$1 tag=$2 w
  w=$(wait_page "$(page_text 580 "$lang")" 300) || { fail "no good installation page \"$(page_text 580 "$lang")\""; return 1; }
  shot "$tag-22-complete"
  answer "$w" Return || { fail "the good installation page stays up after Enter"; return 1; }
  wait_setup_gone 30 || { fail "setup still runs after its last page"; return 1; }
  pass "setup complete page closed, setup ended"
}

# clean_installation: nothing left of an earlier installation in the prefix, whoever made it
# (another test, the demo, a run that was stopped): the product's folder, keys and counts, its
# program folder, the database runtime, and the dialog library swap the add-on page stages.
clean_installation() {
  local key value f system32="$drive/windows/system32" shared='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDlls'
  rm -rf "$drive/Brevanshaw" "$drive/Program Files/Common Files/Microsoft Shared/DAO"
  for key in 'HKLM\SOFTWARE\Halvernock' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brevanshaw' \
             'HKLM\SOFTWARE\QUENFOLDINSTALLING'; do
    "$wine_run" reg delete "$key" /f >/dev/null 2>&1
  done
  # The product's libraries for the system folder, with their counts, and the start record.
  local system_files
  system_files=$(awk -F';' '$2 == "FileGroup1" || $2 == "FileGroup6" { print $3 }' "$e2e_here/../../product/files.txt")
  for f in $system_files; do find "$system32" -maxdepth 1 -iname "$f" -delete; done
  find "$drive/windows" -maxdepth 1 -iname KalInst.Ini -delete
  reg_query "$shared" | sed -n 's/^    \(.*\)    REG_DWORD    .*/\1/p' |
    grep -i -e '^C:\\Brevanshaw\\' -e '\\Microsoft Shared\\DAO\\' $(printf -- '-e \\\\%s$ ' $system_files) |
    while IFS= read -r value; do "$wine_run" reg delete "$shared" /v "$value" /f >/dev/null 2>&1; done
  find "$drive/users" -type d -path '*Start Menu/Programs/Brevanshaw' -prune -exec rm -rf {} + 2>/dev/null
  find "$drive/users" \( -ipath '*Start Menu/Brevanshaw.lnk' -o -ipath '*Startup/Brevanshaw * Add-On Agent.lnk' \) -delete 2>/dev/null
  for value in BREVANSHAW.HLP KALADDON.HLP TUTORIAL.HLP; do
    "$wine_run" reg delete 'HKLM\SOFTWARE\Microsoft\Windows\Help' /v "$value" /f >/dev/null 2>&1
  done
  # Wine ships none of the runtime's files: a copy in the system folder is an earlier run's.
  for f in MSJT3032.dll MSJTER32.dll MSJINT32.dll VBAJET32.dll VBAR2232.dll VEN2232.olb MSVCRT20.dll; do
    find "$system32" -maxdepth 1 -iname "$f" ! -exec grep -qs 'Wine builtin DLL' {} \; -delete
  done
  "$wine_run" reg delete 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations /f >/dev/null 2>&1
  find "$system32" -maxdepth 1 -iname COMDLG32.1 -delete
  # A swap a restart carried out: the system's library is back under its own name.
  value=$(find "$system32" -maxdepth 1 -iname COMDLGOL.DLL | head -1)
  if [ -n "$value" ]; then
    find "$system32" -maxdepth 1 -iname COMDLG32.DLL -delete
    mv "$value" "$system32/comdlg32.dll"
  fi
}

# ready_distribution PRODUCT_DIR: a display, the prefix, the product staged and packed into
# C:\BrevDist; the script ends when build mode writes nothing.
ready_distribution() {
  start_display
  prepare_wine
  stage_product "$(cd "$1" && pwd)"
  build_distribution && pass "the distribution is built" || { fail "build mode wrote no distribution"; exit 1; }
}

# cut_diskettes BREVARC_EXE: the distribution's files cut into 1.44 MB volumes in
# C:\BrevDisks beside its setup.exe, as on diskettes; disk 3 and those after it are not in
# the drive but in C:\BrevDisk3.
cut_diskettes() {
  local brevarc=$1 disks="$drive/BrevDisks" stored
  rm -rf "$disks" "$drive/BrevDisk3" && mkdir -p "$disks" "$drive/BrevDisk3"
  # The first diskette carries what build mode puts beside setup.exe.
  cp -r "$drive/BrevDist/setup.exe" "$drive/BrevDist/APPS" "$disks/"
  mapfile -t stored < <("$wine_run" "$brevarc" list 'C:\BrevDist\files.1' 2>/dev/null | tr -d '\r' | sed -n 's/.* \(C:\\.*\)$/\1/p')
  "$wine_run" "$brevarc" build 'C:\BrevDisks\files.1' --volume-size=1.44m "${stored[@]}" >/dev/null 2>&1
  [ -f "$disks/files.3" ] && pass "the product fills $(ls "$disks"/files.* | wc -l) diskettes" || fail "no third diskette was cut"
  mv "$disks"/files.[3-9] "$drive/BrevDisk3/" 2>/dev/null
}

# build_distribution: setup.exe *BUILD packs the staged product into C:\BrevDist.
build_distribution() {
  "$wine_run" 'C:\BrevBuild\setup.exe' '*BUILD' >"$build/build-mode.log" 2>&1
  [ -f "$drive/BrevDist/setup.exe" ] && [ -f "$drive/BrevDist/files.1" ]
}
