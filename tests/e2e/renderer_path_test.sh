#!/usr/bin/env bash
# The path a GPU takes, on llvmpipe: TIRRAVEL_DISPLAY_PATH=renderer keeps the SDL renderer (a
# crisp whole-factor enlargement, then a smooth fit) where the host would otherwise scale into
# the window's surface. On Xvfb with openbox (1920x1080, so the fit is not a whole factor), at
# the render scales 1 and 2 and in the wide view, the title screen must sit where the surface
# path puts it and look the same within the smooth fit's blur; Alt+Enter to a window, a window
# of another shape and Alt+Enter back must keep it in place.
#   renderer_path_test.sh path/to/tirravel ASSETS_DIR
set -uo pipefail
game="$(realpath "$1")"
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/game_screen.sh"
require_tools Xvfb openbox xdotool xwininfo import convert timeout
start_x_session 1920x1080
make_data_folder "$(realpath "$2")"

# The title band of the picture in the last screenshot, brought to 320x240 by averaging (less
# aliased than the 640x480 sample): where the game's name is orange.
title_band() {
  local screen="$work/small.png"
  convert "$work/raw.png" -crop "$picture_area" +repage -resize 320x240! "$screen"
  meeting 320x62+0+0 "${orange[@]}"
  convert "${meeting[@]}" "$work/$1.png"
}
# How well the orange of two bands overlaps: the pixels orange in both over those orange in
# either, from 0 to 1.
overlap() {
  local both either
  both="$(convert "$work/$1.png" "$work/$2.png" -evaluate-sequence min -format "%[fx:mean]" info:)"
  either="$(convert "$work/$1.png" "$work/$2.png" -evaluate-sequence max -format "%[fx:mean]" info:)"
  awk -v b="$both" -v e="$either" 'BEGIN { printf "%.3f\n", (e > 0 ? b / e : 0) }'
}

# start PATH AREA ARGUMENT...: the game on the surface or renderer path, full screen, until its
# title screen is complete in AREA.
start() {
  local path="$1"
  picture_area="$2"
  shift 2
  local setting="${surface_setting:-}"
  [[ "$path" == surface ]] || setting=renderer
  start_game "$work/data" env TIRRAVEL_DISPLAY_PATH="$setting" "$game" --verbose "$@"
  focus_game_window "$path $*: "
  wait_until 20 title_shown || fail "$path $*: no title screen in $picture_area"
  wait_until 10 title_screen_complete
  local taken=surface
  grep -q "showing the picture through the renderer" "$work/game.log" && taken=renderer
  [[ "$taken" == "$path" ]] || fail "$path $*: $(grep -m1 'showing' "$work/game.log")"
}
quit() {
  hold Escape 0.2
  expect_game_ends "Escape ($*)"
}

# The window's client area on the screen as WIDTHxHEIGHT+X+Y, shrunk to the picture's shape.
window_area() {
  xwininfo -id "$window" | awk -v aspect="$1" '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF }
    END { pw = w; ph = int(w / aspect + 0.5); if (ph > h) { ph = h; pw = int(h * aspect + 0.5) }
          printf "%dx%d+%d+%d\n", pw, ph, x + int((w - pw) / 2), y + int((h - ph) / 2) }'
}
# like_surface NAME WHAT: a new screenshot's title band overlaps the surface path's by more than
# 0.85 (the course crossing the band costs a little; 6 pixels out of place give 0.57); the figure
# is kept in $shared.
shared=""
like_surface() {
  shoot && title_band "$1-$2" || return 1
  shared="$(overlap "$1-surface" "$1-$2")"
  awk -v s="$shared" 'BEGIN { exit !(s > 0.85) }'
}
# expect_like_surface NAME WHAT: within ten seconds.
expect_like_surface() {
  wait_until 10 like_surface "$1" "$2" ||
    fail "$1: the renderer's title $2 ($picture_area) overlaps the surface's by only $shared"
  echo "$1: the renderer's title $2 overlaps the surface's by $shared"
}

# case NAME AREA ASPECT ARGUMENT...: the surface path's title at those options, then the
# renderer's, full screen, in the window Alt+Enter gives, in a window of another shape, and full
# screen again.
case_of() {
  local name="$1" area="$2" aspect="$3"
  shift 3
  start surface "$area" "$@"
  title_band "$name-surface"
  quit "$name on the surface path"
  cp "$work/game.log" "$work/surface.log"
  start renderer "$area" "$@"
  expect_like_surface "$name" "full screen"
  xdotool key alt+Return
  wait_until 10 window_is 1280x960 || fail "$name: Alt+Enter gave no window: $(window_size)"
  picture_area="$(window_area "$aspect")"
  expect_like_surface "$name" "in a window"
  xdotool windowsize "$window" 1200 600
  wait_until 10 window_is 1200x600 || fail "$name: the window kept its size: $(window_size)"
  picture_area="$(window_area "$aspect")"
  expect_like_surface "$name" "in a wide window"
  xdotool key alt+Return
  picture_area="$area"
  expect_like_surface "$name" "full screen again"
  quit "$name on the renderer path"
}

# A value the game does not know is named once and ignored: the surface path as without it.
surface_setting=gpu
case_of "scale 1" 1440x1080+240+0 1.3333 --scale 1
grep -q "^tirravel: TIRRAVEL_DISPLAY_PATH=gpu is not understood" "$work/surface.log" ||
  fail "an unknown TIRRAVEL_DISPLAY_PATH was not named"
surface_setting=""
case_of "scale 2" 1440x1080+240+0 1.3333 --scale 2
case_of "wide view" 1920x1080+0+0 1.7778 --view wide
echo "ok: the renderer path shows the title where and as the surface path does"
