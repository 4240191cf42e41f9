#!/usr/bin/env bash
# The game as a player meets it: tirravel on an X server (Xvfb, 1280x960, so the 640x480 picture
# is shown exactly doubled) with a window manager, driven with xdotool. It waits for the title
# screen, checks that Alt+Z leaves the filter alone while Z toggles it, starts a race with shift,
# waits out the countdown, takes off with space and speeds up, and checks in screenshots that the
# texts, the course and the butterfly are on screen; Escape must end the game with status 0.
# With --verbose the game says how it shows the picture and how many pictures a second.
# Then the game without any display: one line on standard error and a non-zero status, promptly.
# Every wait is bounded; the script ends what it started.
#   tirravel_xvfb_test.sh path/to/tirravel ASSETS_DIR [SCREENSHOT_DIR]
set -uo pipefail
game="$(realpath "$1")"
assets="$(realpath "$2")"
shots="${3:-}"
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/game_screen.sh"

require_tools Xvfb openbox xdotool xprop import convert timeout

# ---- The X server and the window manager -----------------------------------------------------
start_x_session 1280x960

# ---- A player's session -----------------------------------------------------------------------
# The game reads Texture.bmp from the folder it starts in, as a player's data folder holds it.
make_data_folder "$assets"
start_game "$work/data" "$game" --verbose

focus_game_window ""
geometry="$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')"
[[ "$geometry" == "1280x960" ]] || fail "the game is not full screen: $geometry"

wait_until 20 title_shown || fail "the title screen did not appear"
title_seen=$SECONDS
sleep 1
shoot || fail "no screenshot"
keep title
expect_title_screen

# Alt+Z comes as a system key, which the game's window leaves alone: the filter line (bottom
# left, "... バイリニア・フィルタ有効" while the filter is on) stays as it was. A plain Z changes
# it, so the comparison can tell; a second one turns the filter back on.
filter_line() { shoot && convert "$screen" -crop "$filter_line_area" +repage "$work/$1.png"; }
line_changes() { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1; }
filter_line line_before || fail "no screenshot"
xdotool key alt+z
sleep 0.5
filter_line line_after_alt_z || fail "no screenshot"
[[ "$(line_changes line_before line_after_alt_z)" == 0 ]] ||
  fail "Alt+Z changed the filter line ($(line_changes line_before line_after_alt_z) pixels)"
xdotool key z
sleep 0.5
filter_line line_after_z || fail "no screenshot"
[[ "$(line_changes line_before line_after_z)" -gt 20 ]] || fail "Z left the filter line unchanged"
xdotool key z

# Shift starts a race once the first orbit (under four seconds) is over.
sleep $((title_seen + 5 - SECONDS > 0 ? title_seen + 5 - SECONDS : 0))
hold shift 0.2
wait_until 10 countdown_shown || fail "shift did not start the countdown"
keep countdown
expect_on_screen "the speed and time" 0.04 "$speed_area" "${orange[@]}"

# Five seconds later the race is on: take off with space, then speed up.
wait_until 10 flying_shown || fail "the race did not start after the countdown"
xdotool keydown space
sleep 1.2
xdotool keydown Up
sleep 1.5
shoot || fail "no screenshot"
xdotool keyup Up
xdotool keyup space
keep flight
expect_on_screen "the give-up prompt" 0.05 "$prompt_area" "${orange[@]}"
expect_on_screen "the speed and time" 0.04 "$speed_area" "${speed_colour[@]}"
expect_on_screen "the butterfly" 0.02 "$middle" "${wing[@]}"
expect_on_screen "the course" 0.02 "$lower_half" "${floor[@]}"

hold Escape 0.2
expect_game_ends Escape
grep -q "^tirravel: showing the picture" "$work/game.log" || fail "--verbose named no display path"
grep -qE "^tirravel: [0-9]+\.[0-9] pictures a second$" "$work/game.log" ||
  fail "--verbose told no pictures a second"

# ---- No display at all: one line on standard error, a non-zero status, no hang ---------------
# A login session on a machine without a display still has its runtime folder.
mkdir -m 700 "$work/runtime"
(cd "$work/data" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
  XDG_RUNTIME_DIR="$work/runtime" timeout 20 "$game") >"$work/nodisplay.out" 2>"$work/nodisplay.err"
status=$?
[[ $status -ne 124 ]] || fail "without a display the game hung"
[[ $status -ne 0 ]] || fail "without a display the game reported success"
[[ $(wc -l <"$work/nodisplay.err") -eq 1 ]] ||
  fail "without a display the game said: $(cat "$work/nodisplay.err")"
echo "ok: title, countdown and flight on screen; Escape ends with 0; without a display:" \
  "$(cat "$work/nodisplay.err") (status $status)"
