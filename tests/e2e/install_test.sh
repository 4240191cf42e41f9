#!/usr/bin/env bash
# `cmake --install` into a temporary prefix (with a space in it) and into a staging folder: the
# game in bin/, Texture.bmp in share/tirravel/, the desktop entry naming both, the icon. Then the
# game is started the way a desktop starts it from the entry (its Exec, in its Path) under Xvfb,
# and must find its texture, open its window and end with status 0 on Escape.
#   install_test.sh CMAKE BUILD_DIR ASSETS_DIR
set -uo pipefail
cmake="$1" build="$(realpath "$2")" assets="$(realpath "$3")"
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"

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
require_tools Xvfb openbox xdotool xprop timeout
start_x_session 1280x960

entry="$prefix/share/applications/tirravel.desktop"
(cd "$(entry_value "$entry" Path)" && exec "$(entry_value "$entry" Exec)") >"$work/game.log" 2>&1 &
game_pid=$!
pids+=("$game_pid")
focus_game_window "the installed game: "
sleep 1
xdotool keydown Escape
sleep 0.2
xdotool keyup Escape
wait_until 15 bash -c "! kill -0 $game_pid" || fail "Escape did not end the installed game"
wait "$game_pid"
status=$?
[[ $status -eq 0 ]] || fail "the installed game ended with status $status"
echo "ok: installed files, desktop entry and icon; the entry starts the game"
