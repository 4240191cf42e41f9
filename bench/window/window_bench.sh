#!/usr/bin/env bash
# What showing the picture costs the real game: tirravel under Xvfb (1920x1080x24) and openbox,
# full screen and in the Alt+Enter window, on the title screen and in flight. Over measuring
# windows of a few seconds it reads the whole process's processor time (utime + stime of
# /proc/PID/stat, all threads) and the pictures shown a second (the game, run with --verbose,
# says so once a second on standard error), and prints, as bench CSV rows, the median over every
# window of every run of milliseconds of processor time per picture shown, and the pictures shown
# per second.
#   window_bench.sh path/to/tirravel ASSETS_DIR [SCREENSHOT_DIR]
# TIRRAVEL_WINDOW_RUNS (default 2) games, TIRRAVEL_WINDOW_SPANS (3) windows of
# TIRRAVEL_WINDOW_SECONDS (3) each per mode and screen. With SCREENSHOT_DIR, the whole screen is
# kept at the end of each mode and screen (title-full.png, flight-window.png, ...).
set -uo pipefail
game="$(realpath "$1")"
assets="$(realpath "$2")"
keep_dir="${3:-}"
runs="${TIRRAVEL_WINDOW_RUNS:-2}"
spans="${TIRRAVEL_WINDOW_SPANS:-3}"
seconds="${TIRRAVEL_WINDOW_SECONDS:-3}"
support="$(dirname "${BASH_SOURCE[0]}")/../../tests/support"
source "$support/x_session.sh"
shots=""
source "$support/game_screen.sh"

require_tools Xvfb openbox xdotool xprop import convert timeout
start_x_session 1920x1080
ticks_per_second="$(getconf CLK_TCK)"
make_data_folder "$assets"

# utime + stime, in clock ticks, of the whole process (every thread). The command's name may
# hold spaces, so the fields are counted after its closing parenthesis.
process_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
log_lines() { wc -l <"$work/game.log"; }
# The mean of the game's pictures-a-second lines after the first $1 lines of its log.
rate_since() {
  tail -n +"$(($1 + 1))" "$work/game.log" |
    sed -n 's/^tirravel: \([0-9.]*\) pictures a second$/\1/p' |
    awk '{ sum += $1; n++ } END { if (n > 0) printf "%.3f", sum / n }'
}

# measure SCREEN MODE: the measuring windows, one line each ("ms per picture" "pictures per s")
# appended to $work/SCREEN-MODE.spans.
measure() {
  local i ticks0 ticks1 lines0 start end
  for ((i = 0; i < spans; i++)); do
    ticks0="$(process_ticks "$game_pid")" lines0="$(log_lines)" start="$(date +%s.%N)"
    sleep "$seconds"
    ticks1="$(process_ticks "$game_pid")" end="$(date +%s.%N)"
    awk -v t="$((ticks1 - ticks0))" -v r="$(rate_since "$lines0")" -v hz="$ticks_per_second" \
      -v s="$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" \
      'BEGIN { if (r > 0) printf "%.4f %.2f\n", t * 1000 / hz / (r * s), r }' >>"$work/$1-$2.spans"
  done
  if [[ -n "$keep_dir" ]]; then import -window root "$keep_dir/$1-$2.png" 2>/dev/null; fi
}

# toggle SIZE: Alt+Enter, then waits for the window to take SIZE and settle.
toggle() {
  xdotool key alt+Return
  wait_until 10 window_is "$1" || fail "Alt+Enter did not make the window $1: $(window_size)"
  sleep 1
}

for ((run = 1; run <= runs; run++)); do
  start_game "$work/data" "$game" --verbose
  focus_game_window "run $run: "
  wait_until 20 title_shown || fail "run $run: the title screen did not appear"
  title_seen=$SECONDS
  sleep 1
  measure title full
  toggle 1280x960
  measure title window
  toggle 1920x1080
  # Shift starts a race once the title's first orbit (under four seconds) is over.
  sleep $((title_seen + 5 - SECONDS > 0 ? title_seen + 5 - SECONDS : 0))
  hold shift 0.2
  wait_until 10 countdown_shown || fail "run $run: shift did not start the countdown"
  wait_until 10 flying_shown || fail "run $run: the race did not start after the countdown"
  xdotool keydown space
  sleep 1.2
  xdotool keydown Up
  sleep 1
  measure flight full
  toggle 1280x960
  measure flight window
  xdotool keyup Up keyup space
  hold Escape 0.2
  expect_game_ends "run $run: Escape"
  echo "window bench: run $run: $(grep -m 1 -i 'showing the picture' "$work/game.log" ||
    echo 'the game named no display path')" >&2
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for screen in title flight; do
  for mode in full window; do
    spans_file="$work/$screen-$mode.spans"
    [[ -s "$spans_file" ]] || fail "no measurement of $screen, $mode"
    label="full screen"
    [[ $mode == window ]] && label="window"
    echo "window,$screen,$label,median,$(cut -d' ' -f1 "$spans_file" | median),ms per picture"
    echo "window,$screen,$label,rate,$(cut -d' ' -f2 "$spans_file" | median),pictures/s"
  done
done
