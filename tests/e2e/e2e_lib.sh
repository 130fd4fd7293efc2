# Shared steps of the end-to-end test and the demo: a display, the build's own Wine prefix,
# starting setup.exe, finding its windows by title, screenshots, and closing it again.
# Sourced by setup_e2e.sh and install_demo.sh; not run on its own.

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_run="$e2e_here/../../cmake/wine-run"

failures=0
xvfb_pid=""
setup_pid=""

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
  local product=$1 f key
  rm -rf "$drive/Brevanshaw" "$drive/BrevDist" "$drive/BrevBuild" "$drive/Brevanshaw Product" "$drive/Brevanshaw UnInstall"
  for key in 'HKLM\SOFTWARE\Halvernock' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brevanshaw' \
             'HKLM\SOFTWARE\QUENFOLDINSTALLING'; do
    "$wine_run" reg delete "$key" /f >/dev/null 2>&1
  done
  mkdir -p "$drive/Brevanshaw Product" "$drive/Brevanshaw UnInstall" "$drive/BrevBuild"
  for f in "$product"/*; do
    case "$(basename "$f")" in
      Uninstall.exe) cp -p "$f" "$drive/Brevanshaw UnInstall/" ;;
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

# install_distribution NAME: starts C:\BrevDist\setup.exe as a user starts it, takes the
# screenshots NAME-loading and NAME-main as those windows show, and waits for setup to end by
# itself; false after 300 s.
install_distribution() {
  setup_exe="$drive/BrevDist/setup.exe"
  start_setup
  local deadline=$((SECONDS + 300)) loading="" main=""
  while setup_running && [ $SECONDS -lt $deadline ]; do
    if [ -z "$loading" ] && [ -n "$(windows_named '^Setup\.\.\.$')" ]; then screenshot "$1-loading"; loading=1; fi
    if [ -z "$main" ] && [ -n "$(windows_named '^Brevanshaw ! Setup\.\.\.$')" ]; then screenshot "$1-main"; main=1; fi
    sleep 0.1
  done
  ! setup_running
}

# build_distribution: setup.exe *BUILD packs the staged product into C:\BrevDist.
build_distribution() {
  "$wine_run" 'C:\BrevBuild\setup.exe' '*BUILD' >"$build/build-mode.log" 2>&1
  [ -f "$drive/BrevDist/setup.exe" ] && [ -f "$drive/BrevDist/files.1" ]
}
