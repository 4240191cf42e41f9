#!/usr/bin/env bash
# `cmake --install` into a temporary prefix (with a space in it) and into a staging folder: the
# game in bin/, Texture.bmp in share/tirravel/, the desktop entry naming both, the icon. Then the
# game is started the way a desktop starts it from the entry (its Exec, in its Path) under Xvfb,
# and must find its texture, open its window and end with status 0 on Escape.
#   install_test.sh CMAKE BUILD_DIR ASSETS_DIR
set -uo pipefail
cmake="$1" build="$(realpath "$2")" assets="$(realpath "$3")"
work="$(mktemp -d)"
pids=()

fail() {
  echo "FAIL: $*" >&2
  for log in "$work"/*.log; do
    [[ -f "$log" ]] && { echo "--- $(basename "$log")" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS >= deadline)) && return 1
    sleep 0.2
  done
}

# entry_value FILE KEY: a key's value in the desktop entry, a quoted program without its quotes.
entry_value() { sed -n "s/^$2=//p" "$1" | head -n 1 | sed 's/^"\(.*\)"$/\1/'; }

# check_tree ROOT PREFIX: the installed files under ROOT for an installation at PREFIX.
check_tree() {
  local root="$1" prefix="$2"
  local entry="$root/share/applications/tirravel.desktop"
  local icon="$root/share/icons/hicolor/256x256/apps/tirravel.png"
  [[ -x "$root/bin/tirravel" ]] || fail "no executable $root/bin/tirravel"
  cmp -s "$root/share/tirravel/Texture.bmp" "$assets/Texture.bmp" ||
    fail "share/tirravel/Texture.bmp is missing or not the game's texture"
  [[ -f "$entry" ]] || fail "no desktop entry $entry"
  [[ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" == "PNG 256x256" ]] ||
    fail "the icon $icon is not a 256x256 PNG"
  grep -qx 'Type=Application' "$entry" || fail "the entry is not an application"
  grep -qx 'Icon=tirravel' "$entry" || fail "the entry does not name the icon"
  [[ "$(entry_value "$entry" Exec)" == "$prefix/bin/tirravel" ]] ||
    fail "the entry runs '$(entry_value "$entry" Exec)', not $prefix/bin/tirravel"
  [[ "$(entry_value "$entry" Path)" == "$prefix/share/tirravel" ]] ||
    fail "the entry starts in '$(entry_value "$entry" Path)', not $prefix/share/tirravel"
}

prefix="$work/a prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "install failed"
check_tree "$prefix" "$prefix"

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /opt/tirravel >"$work/stage.log" 2>&1 ||
  fail "staged install failed"
check_tree "$work/stage/opt/tirravel" /opt/tirravel

# ---- Started as the desktop starts it --------------------------------------------------------
for tool in Xvfb openbox xdotool xprop timeout; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done
Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_until 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_until 20 wm_ready || fail "openbox did not start"

entry="$prefix/share/applications/tirravel.desktop"
(cd "$(entry_value "$entry" Path)" && exec "$(entry_value "$entry" Exec)") >"$work/game.log" 2>&1 &
game_pid=$!
pids+=("$game_pid")
window="$(timeout 20 xdotool search --sync --name '^Direct3D IM test$' | head -n 1)"
[[ -n "$window" ]] || fail "the installed game opened no window"
timeout 10 xdotool windowactivate --sync "$window" 2>/dev/null
focused() { [[ "$(xdotool getwindowfocus)" == "$window" ]]; }
wait_until 10 focused || fail "the window did not get the focus"
sleep 1
xdotool keydown Escape
sleep 0.2
xdotool keyup Escape
wait_until 15 bash -c "! kill -0 $game_pid" || fail "Escape did not end the installed game"
wait "$game_pid"
status=$?
[[ $status -eq 0 ]] || fail "the installed game ended with status $status"
echo "ok: installed files, desktop entry and icon; the entry starts the game"
