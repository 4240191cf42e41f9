#!/usr/bin/env bash
# The SDL host's game controllers and pointer (sdl_controllers_probe) under Xvfb and openbox.
#   sdl_controllers_xvfb_test.sh path/to/sdl_controllers_probe
set -uo pipefail
probe="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../../support/x_session.sh"
require_tools Xvfb openbox xprop timeout
start_x_session 1280x960
timeout 120 "$probe" >"$work/probe.log" 2>&1
status=$?
log_lines=60
[[ $status -eq 0 ]] || fail "the probe ended with status $status"
grep -E '^\[  PASSED  \]' "$work/probe.log"
