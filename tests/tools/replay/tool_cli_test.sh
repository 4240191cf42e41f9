#!/usr/bin/env bash
# The replay tool as a program: mistakes in the arguments or the script are one line on standard
# error and status 2, before the game starts; the game's own status comes through otherwise.
#   tool_cli_test.sh path/to/tirravel-replay ASSETS_DIR
set -uo pipefail
tool="$(realpath "$1")" assets="$(realpath "$2")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# expect STATUS LINE ARGUMENTS...: runs the tool and checks its status and the first line it
# printed on standard error (LINE may end in * to check only the start).
expect() {
  local want_status="$1" want_line="$2"
  shift 2
  "$tool" "$@" >"$work/out" 2>"$work/err"
  local status=$?
  [[ $status -eq $want_status ]] || fail "$*: status $status, expected $want_status"
  # shellcheck disable=SC2053  # LINE is a pattern
  [[ "$(head -n 1 "$work/err")" == $want_line ]] ||
    fail "$*: said '$(head -n 1 "$work/err")', expected '$want_line'"
}

printf 'frames 2 16\n\n# a comment\nfly 3\n' >bad.replay
expect 2 "tirravel-replay: bad.replay:4: unknown command 'fly' (frames or message)" \
  bad.replay --trace never.csv
[[ $(wc -l <err) -eq 1 ]] || fail "a script error takes more than one line"
[[ ! -e never.csv ]] || fail "the trace was started although the script is wrong"

printf 'frames 2 16 jump\n' >key.replay
expect 2 "tirravel-replay: key.replay:1: unknown key 'jump' (up, left, right, space, shift)" \
  key.replay
printf 'frames 2 -16\n' >number.replay
expect 2 "tirravel-replay: number.replay:1: bad milliseconds '-16' (a whole number from 0 to 4294967295)" \
  number.replay
expect 2 "tirravel-replay: cannot read missing.replay: No such file or directory" missing.replay
expect 2 "tirravel-replay: unknown option --fast" bad.replay --fast
expect 2 "tirravel-replay: bad --scale '0.5' (a number from 1 to 17, or native)" \
  bad.replay --scale 0.5
expect 2 "tirravel-replay: bad --view '16:9' (4:3 or wide)" bad.replay --view 16:9
expect 2 "tirravel-replay: bad --display '1920' (WIDTHxHEIGHT, for instance 1920x1080)" \
  bad.replay --display 1920
expect 2 "tirravel-replay: no script given"

printf 'frames 3 16\n' >short.replay
expect 2 "tirravel-replay: --frames asks for frame 4 but the script has only 3" \
  short.replay --png pictures --frames 2,4
[[ ! -e pictures ]] || fail "the picture folder was made although the arguments are wrong"

# No Texture.bmp here: the game's own one-line failure and status.
expect 1 "InitScene failed*" \
  short.replay

# With the texture: the trace has its header and a row per frame, and the pictures are there.
cp "$assets/Texture.bmp" .
expect 0 "" short.replay --trace trace.csv --png pictures --frames all
[[ $(wc -l <trace.csv) -eq 4 ]] || fail "the trace has $(wc -l <trace.csv) lines, not 4"
head -n 1 trace.csv | grep -q '^frame,frameSeconds,gameState,' || fail "the trace has no header"
for n in 1 2 3; do [[ -s "pictures/frame-0000$n.png" ]] || fail "no picture of frame $n"; done
echo "ok: the replay tool's command line"
