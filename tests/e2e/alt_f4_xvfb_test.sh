#!/usr/bin/env bash
# Alt+F4 quits the game by itself: tirravel on an X server without a window manager (Xvfb
# alone, so nothing but the game can act on the keys), its title screen drawn, Alt+F4 typed;
# the game must end with status 0. Every wait is bounded; the script ends what it started.
#   alt_f4_xvfb_test.sh path/to/tirravel ASSETS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/game_screen.sh"
require_tools import convert
start_game_alone 1280x960 "$1" "$2"

# Without a window manager the focus is given by hand.
timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null
wait_until 10 focused || fail "the window did not get the focus"
# Without a window manager SDL's full screen is not granted, so the window shows only part of
# the picture: the game is judged running once anything is drawn.
drawn() { shoot && above 0.1 640x480+0+0 "B>20"; }
wait_until 20 drawn || fail "the game drew nothing"

xdotool key alt+F4
expect_game_ends Alt+F4
echo "ok: Alt+F4 ends the game with status 0 without a window manager"
