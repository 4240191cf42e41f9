#!/usr/bin/env bash
# The game on a Wayland desktop, natively (SDL_VIDEODRIVER=wayland): weston's X11 back end on
# Xvfb (1280x960, pixman renderer, so no GPU anywhere) shows the game's window, and the X
# server's screenshots are the compositor's output. Keys typed on the X server reach the game
# through weston. Checks the title screen full screen, the host's own Wayland buffers named by
# --verbose, Z toggling the filter line, Alt+Enter to a window and back, and Escape ending the
# game with status 0. Skipped (status 77) where weston is not installed.
#   wayland_test.sh path/to/tirravel ASSETS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/game_screen.sh"
if ! command -v weston >/dev/null; then
  echo "skipped: weston is not installed (scripts/install-deps installs it)"
  exit 77
fi
require_tools Xvfb xdotool import convert compare timeout
start_x_server 1280x960

# weston finds its socket in the runtime folder; no idle blanking while the test looks.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket="tirravel-test-$$"
weston --backend=x11-backend.so --use-pixman --socket="$socket" --width=1280 --height=960 \
  --no-config --idle-time=0 >"$work/weston.log" 2>&1 &
pids+=($!)
wait_until 20 test -S "$XDG_RUNTIME_DIR/$socket" || fail "weston did not start"
# weston's window names itself only in _NET_WM_NAME, which xdotool does not search: its class.
compositor=""
weston_window() { compositor="$(xdotool search --classname '^weston' 2>/dev/null | head -n 1)"; [[ -n "$compositor" ]]; }
wait_until 20 weston_window || fail "no weston window on the X server"
# Keys go to the X window that has the focus; weston hands them to the game's surface.
timeout 10 xdotool windowfocus --sync "$compositor" 2>/dev/null

make_data_folder "$(realpath "$2")"
start_game "$work/data" env SDL_VIDEODRIVER=wayland WAYLAND_DISPLAY="$socket" "$(realpath "$1")" \
  --verbose
wait_until 20 title_shown || fail "the title screen did not appear full screen"
wait_until 10 title_screen_complete
expect_title_screen
grep -q "^tirravel: showing the picture in the host's own Wayland buffers" "$work/game.log" ||
  fail "--verbose did not name the Wayland buffers: $(grep -m1 'showing' "$work/game.log")"

# Z toggles the filter line (bottom left); a second Z puts it back.
filter_line() { shoot && convert "$screen" -crop "$filter_line_area" +repage "$work/$1.png"; }
changed_pixels() { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1; }
line_toggled() { filter_line "$1" && [[ "$(changed_pixels line_before "$1")" -gt 20 ]]; }
line_back() { filter_line "$1" && [[ "$(changed_pixels line_before "$1")" == 0 ]]; }
filter_line line_before || fail "no screenshot"
xdotool key z
wait_until 5 line_toggled line_after_z || fail "Z through weston left the filter line unchanged"
xdotool key z
wait_until 5 line_back line_after_second_z || fail "a second Z did not put the filter line back"

# Alt+Enter: a window of the picture's size, so the title no longer fills the screen's top but
# the game is still on it; Alt+Enter again: full screen.
title_gone() { ! title_shown; }
orange_anywhere() { shoot && above 0.01 640x480+0+0 "${orange[@]}"; }
xdotool key alt+Return
wait_until 10 title_gone || fail "Alt+Enter left the game full screen"
orange_anywhere || fail "the game's window shows nothing after Alt+Enter"
xdotool key alt+Return
wait_until 10 title_shown || fail "a second Alt+Enter did not give full screen again"

hold Escape 0.2
expect_game_ends Escape
echo "ok: on weston the title is full screen, Z and Alt+Enter reach the game, Escape ends it"
