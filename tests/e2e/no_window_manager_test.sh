#!/usr/bin/env bash
# Full screen on an X server without a window manager (Xvfb alone, 1920x1080): nothing carries
# the full-screen request out, so the game must cover the screen by itself, and the picture must
# fit the window it really has: 1440x1080 at 4:3 in the middle, black bars either side. Alt+Enter
# gives the window (1280x960) and full screen again; a termination signal ends the game with 0.
#   no_window_manager_test.sh path/to/tirravel ASSETS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/game_screen.sh"
require_tools import convert
start_game_alone 1920x1080 "$1" "$2"

geometry() { xdotool getwindowgeometry "$window" | sed -n 's/.*Position: \([0-9,]*\).*/\1/p; s/.*Geometry: //p' | paste -sd' '; }
covers() { [[ "$(geometry)" == "$1" ]]; }
wait_until 10 covers "0,0 1920x1080" || fail "the window does not cover the screen: $(geometry)"

picture_area=1440x1080+240+0
wait_until 20 title_shown || fail "the title screen is not in the middle 1440x1080"
wait_until 10 title_screen_complete
expect_title_screen
bars_black() {
  [[ "$(convert "$work/raw.png" -crop 240x1080+0+0 -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" == 0 ]] &&
    [[ "$(convert "$work/raw.png" -crop 240x1080+1680+0 -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" == 0 ]]
}
bars_black || fail "the bars beside the picture are not black"

# Alt+Enter: the focus is the window's for the keys (no window manager gives it).
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key alt+Return
wait_until 10 bash -c "xdotool getwindowgeometry $window | grep -q 'Geometry: 1280x960'" ||
  fail "Alt+Enter did not give the window: $(geometry)"
picture_area=1280x960+$(geometry | sed 's/ .*//;s/,/+/')
wait_until 10 title_shown || fail "the picture does not fill the window"
xdotool key alt+Return
wait_until 10 covers "0,0 1920x1080" || fail "full screen again does not cover the screen: $(geometry)"

kill -TERM "$game_pid"
expect_game_ends "a termination signal"
echo "ok: without a window manager the game covers the screen, picture in the middle with bars"
