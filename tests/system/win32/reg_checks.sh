# Checks of the real registry through Wine's own reg tool, for the probe tests. Sourced after
# the script has defined run (the build's wine-run) and fail=0; a failed check sets fail=1.

query() { run reg query "$1" 2>/dev/null | tr -d '\r'; }
expect() {  # key, value name as reg shows it, type, data
  local line
  line=$(query "$1" | grep -F "    $2    $3    " | head -1)
  if [ "$line" = "    $2    $3    $4" ]; then
    echo "PASS: $1 [$2] = $4"
  else
    echo "FAIL: $1 [$2]: expected '$3 $4', reg shows '${line:-nothing}'"
    fail=1
  fi
}
absent() {
  if query "$1" | grep -qF "    $2    "; then echo "FAIL: $1 [$2] should not exist"; fail=1; else echo "PASS: $1 has no [$2]"; fi
}
contains() {  # what, text, expected piece
  if printf '%s' "$2" | grep -qF -- "$3"; then echo "PASS: $1"; else echo "FAIL: $1: '$3' not in '$2'"; fail=1; fi
}
