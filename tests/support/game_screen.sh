# Reading the game's screen in screenshots of the X session (x_session.sh is sourced first):
# what share of a region has a colour, and whether the title, the countdown or the flight is on
# screen. Sourced, not run. Set $shots to a folder to keep the pictures `keep NAME` is given.

# What is on the screen, in the game's own 640x480 pixels: the whole screen, or the part
# $picture_area (a geometry such as 1440x1080+240+0) where the picture has bars beside it.
screen="$work/screen.png"
picture_area=""
shoot() {
  import -window root "$work/raw.png" 2>/dev/null &&
    convert "$work/raw.png" ${picture_area:+-crop "$picture_area" +repage} -sample 640x480! \
      "$screen" 2>/dev/null
}
keep() { [[ -z "${shots:-}" ]] || cp "$screen" "$shots/$1.png"; }

# meeting GEOMETRY CONDITION...: sets the array $meeting to convert's arguments that make the
# region of $screen white where a pixel meets every condition and black elsewhere. A condition
# is a channel of hue, saturation or brightness (H, S, B), < or >, and a percentage: "S<20" is
# greyish.
meeting() {
  local geometry="$1" channel
  shift
  meeting=("$screen" -crop "$geometry" +repage -colorspace HSB -separate)
  for condition in "$@"; do
    case "${condition:0:1}" in H) channel=0 ;; S) channel=1 ;; B) channel=2 ;; esac
    meeting+=(\( -clone "$channel" -threshold "${condition:2}%")
    [[ "${condition:1:1}" == "<" ]] && meeting+=(-negate)
    meeting+=(\))
  done
  meeting+=(-delete 0-2 -evaluate-sequence min)
}
# share GEOMETRY CONDITION...: the share of the region's pixels that meet every condition.
share() {
  meeting "$@"
  convert "${meeting[@]}" -format "%[fx:mean]" info:
}
# above MINIMUM GEOMETRY CONDITION...: whether that share exceeds the minimum.
above() {
  local minimum="$1"
  shift
  awk -v s="$(share "$@")" -v m="$minimum" 'BEGIN { exit !(s > m) }'
}

# The screen's colours: the titles and prompts are orange (255,180,0); "SPEED" and "TIME" run
# from orange to red with the speed; the device lines are black on white cells; the wings are
# red-orange; the course's stone floor is greyish.
orange=("H>9" "H<14" "S>85" "B>85")
speed_colour=("H>1" "H<12.5" "S>85" "B>85")
white=("S<5" "B>95")
wing=("H<9" "S>55" "B>50")
floor=("S<20" "B>20" "B<85")
title_area=600x140+20+10
controls_area=600x150+20+160
device_lines_area=320x40+10+435
filter_line_area=314x14+12+441  # inside the white cell of the filter line
count_area=300x220+80+100
speed_area=250x110+20+30
prompt_area=350x35+20+440
middle=320x240+160+200
lower_half=640x240+0+240

title_shown() { shoot && above 0.08 "$title_area" "${orange[@]}"; }
countdown_shown() {
  shoot && above 0.03 "$count_area" "${orange[@]}" &&
    ! above 0.1 "$device_lines_area" "${white[@]}" && ! above 0.02 "$prompt_area" "${orange[@]}"
}
flying_shown() { shoot && above 0.05 "$prompt_area" "${orange[@]}"; }

# expect_on_screen WHAT MINIMUM GEOMETRY CONDITION...
expect_on_screen() {
  local what="$1"
  shift
  above "$@" || fail "$what is not on screen: a share of $(share "${@:2}") in $2"
}

# The parts of the title screen: the game's name and the controls, the device lines, the
# butterfly on the course as the camera circles it. title_parts CHECK calls CHECK WHAT MINIMUM
# GEOMETRY CONDITION... for each.
title_parts() {
  "$1" "the title" 0.08 "$title_area" "${orange[@]}" &&
    "$1" "the controls" 0.08 "$controls_area" "${orange[@]}" &&
    "$1" "the device lines" 0.3 "$device_lines_area" "${white[@]}" &&
    "$1" "the butterfly" 0.02 "$middle" "${wing[@]}" &&
    "$1" "the course" 0.02 "$lower_half" "${floor[@]}"
}
part_above() { above "${@:2}"; }
# Every part in a new screenshot: the title shows before the rest does, since the first frame
# has no course yet and a picture may still be arriving from the top down.
title_screen_complete() { shoot && title_parts part_above; }
# expect_title_screen: every part in the latest screenshot, or a failure naming the first missing.
expect_title_screen() { title_parts expect_on_screen; }
