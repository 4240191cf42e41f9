#!/usr/bin/env bash
# The real program: --help and --version print and end with status 0; a bad option or a bad line
# of the settings file prints one line naming it and ends with status 2, before any window (no
# display is offered, so a start would end with another status).
set -u
game="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect STATUS STDOUT_PATTERN STDERR_PATTERN ARGUMENTS...: runs the game without a display (an
# empty pattern checks nothing).
expect() {
  local status="$1" out_pattern="$2" err_pattern="$3"
  shift 3
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" timeout 10 "$game" "$@" \
    >"$work/out" 2>"$work/err"
  local got=$?
  [[ $got -eq $status ]] || fail "$*: status $got, expected $status ($(cat "$work/err"))"
  [[ -z $out_pattern ]] || grep -qE "$out_pattern" "$work/out" || fail "$*: standard output lacks /$out_pattern/"
  [[ -z $err_pattern ]] || grep -qE "$err_pattern" "$work/err" || fail "$*: standard error lacks /$err_pattern/"
  if [[ $status -eq 2 && $(wc -l <"$work/err") -ne 1 ]]; then
    fail "$*: more than one line on standard error"
  fi
}

expect 0 '^Usage: tirravel' '' --help
expect 0 '^tirravel [0-9]' '' --version
expect 2 '' "^tirravel: unknown option '--fast' \(the options are --help" --fast
expect 2 '' "option '--view' needs a value: 4:3 or wide" --view
expect 2 '' "does not take '1\\\\n2'" $'--scale=1\n2'  # a line break given is shown, not made

mkdir -p "$work/config/tirravel"
printf '# mine\nscale = 2\nscale = huge\n' >"$work/config/tirravel/tirravel.conf"
expect 2 '' "^tirravel: $work/config/tirravel/tirravel.conf:3: scale = 'huge' is not" --window
expect 0 '^Usage' '' --help  # help needs no settings

[[ $failures -eq 0 ]] && echo ok
exit $((failures > 0))
