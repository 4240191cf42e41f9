# What the tests that drive a real window share: a scratch folder, failing with the logs shown,
# ending everything they started, bounded waits, an X server with a window manager, and finding
# the game's window. Sourced, not run.
#
# After sourcing: $work is a fresh folder removed on exit; append the PID of anything started in
# the background to the pids array, and it is ended on exit, newest first.

work="$(mktemp -d)"
pids=()

# fail MESSAGE: prints the message and the end of every log in $work, then exits 1.
log_lines=20
fail() {
  echo "FAIL: $*" >&2
  for log in "$work"/*.log; do
    [[ -f "$log" ]] && { echo "--- $(basename "$log")" >&2; tail -n "$log_lines" "$log" >&2; }
  done
  exit 1
}

cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# require_tools TOOL...: fails unless every tool is on the PATH.
require_tools() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
  done
}

# wait_until SECONDS COMMAND...: runs the command every 0.1 s until it succeeds or time is up.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS >= deadline)) && return 1
    sleep 0.1
  done
}

# start_x_server WIDTHxHEIGHT: Xvfb of that size alone, without a window manager; exports DISPLAY.
start_x_server() {
  rm -f "$work/display"  # the shell opens it for Xvfb only once Xvfb has started
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  wait_until 20 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$work/display")"
}

# start_x_session WIDTHxHEIGHT: Xvfb of that size and openbox on it; exports DISPLAY. Now and
# then, with X servers starting side by side, openbox finds no server on the display the new one
# named; then both start again, up to three times.
start_x_session() {
  local attempt
  for attempt in 1 2 3; do
    start_x_server "$1"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wait_until 20 manager_ready_or_gone "$!" || fail "openbox did not start"
    window_manager_ready && return 0
    kill "${pids[-1]}" "${pids[-2]}" 2>/dev/null
    wait "${pids[-1]}" "${pids[-2]}" 2>/dev/null
    unset 'pids[-1]'
    unset 'pids[-1]'
    echo "openbox found no X server on $DISPLAY (attempt $attempt); starting both again" >&2
  done
  fail "openbox did not start"
}
window_manager_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
manager_ready_or_gone() { window_manager_ready || ! kill -0 "$1" 2>/dev/null; }

# find_window SECONDS NAME_PATTERN: prints the first window whose name matches, waiting for it.
# A window that goes away while xdotool reads the names (as a program starting up may make and
# drop one) ends that xdotool with an X error, so the search is simply tried again.
find_window() {
  local deadline=$((SECONDS + $1)) found=""
  while [[ -z "$found" ]] && ((SECONDS < deadline)); do
    found="$(xdotool search --name "$2" 2>/dev/null | head -n 1)"
    [[ -n "$found" ]] || sleep 0.1
  done
  echo "$found"
}

# await_game_window PREFIX: waits for the game's window and puts it in $window.
await_game_window() {
  window="$(find_window 20 '^Direct3D IM test$')"
  [[ -n "$window" ]] || fail "$1no window titled 'Direct3D IM test'"
}

# focus_game_window PREFIX: waits for the game's window, puts it in $window, activates it and
# waits until it has the focus. Failures say so after PREFIX (such as "start: ").
window=""
focused() { [[ "$(xdotool getwindowfocus)" == "$window" ]]; }
# The size of $window as WIDTHxHEIGHT, and whether it is SIZE.
window_size() {
  local WIDTH="" HEIGHT=""
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=')"
  echo "${WIDTH}x${HEIGHT}"
}
window_is() { [[ "$(window_size)" == "$1" ]]; }
focus_game_window() {
  await_game_window "$1"
  timeout 10 xdotool windowactivate --sync "$window" 2>/dev/null
  wait_until 10 focused || fail "$1the window did not get the focus"
}

# hold KEY SECONDS: a key held as a player holds it; a tap shorter than a frame is never polled.
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

# make_data_folder ASSETS_DIR: $work/data, holding the game's Texture.bmp as a player's data
# folder holds it.
make_data_folder() {
  mkdir "$work/data"
  cp "$1/Texture.bmp" "$work/data/"
}

# start_game FOLDER COMMAND...: starts the game's command in FOLDER in the background, its output
# in $work/game.log; its PID is $game_pid, and it is ended on exit with the rest.
game_pid=""
start_game() {
  local folder="$1"
  shift
  (cd "$folder" && exec "$@") >"$work/game.log" 2>&1 &
  game_pid=$!
  pids+=("$game_pid")
}

# expect_game_ends WHAT: the game must end within 15 s of WHAT, with status 0.
expect_game_ends() {
  wait_until 15 bash -c "! kill -0 $game_pid" || fail "$1 did not end the game"
  wait "$game_pid"
  local status=$?
  [[ $status -eq 0 ]] || fail "the game ended with status $status"
}

# start_game_alone WIDTHxHEIGHT GAME ASSETS_DIR: the game started from a player's data folder on
# an X server of that size without a window manager (Xvfb alone, so nothing but the game acts on
# the keys or the window); its window in $window.
start_game_alone() {
  require_tools Xvfb xdotool timeout
  start_x_server "$1"
  make_data_folder "$(realpath "$3")"
  start_game "$work/data" "$(realpath "$2")"
  await_game_window ""
}
