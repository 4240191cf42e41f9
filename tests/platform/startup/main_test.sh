#!/usr/bin/env bash
# Runs the main probe with a few arguments: WinMain must get the module, no previous instance,
# SW_SHOWDEFAULT and the arguments as one line, and its result must be the exit status.
set -u
probe="$1"
output="$(timeout 10 "$probe" first "two words" "")"
status=$?
expected='instance=module previous=null show=10 line=[first "two words" ""]'
if [[ "$output" != "$expected" ]]; then
  echo "expected: $expected" >&2
  echo "got:      $output" >&2
  exit 1
fi
if [[ $status -ne 7 ]]; then
  echo "exit status $status, expected 7" >&2
  exit 1
fi
echo "ok"
