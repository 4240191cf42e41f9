#!/usr/bin/env bash
# `cmake --install` into a temporary prefix (with a space in it) and into a staging folder: the
# game in games/, Texture.bmp in share/games/tirravel/, the desktop entry naming the game, the
# metadata, the icons and the manual page. Then the game is started the way a desktop starts it
# from the entry (its Exec, in a folder without a texture) under Xvfb, and must find its own
# texture, show its title screen and end with status 0 on Escape.
#   install_test.sh CMAKE BUILD_DIR ASSETS_DIR
set -uo pipefail
cmake="$1" build="$(realpath "$2")" assets="$(realpath "$3")"
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"

# entry_value FILE KEY: a key's value in the desktop entry, a quoted program without its quotes.
entry_value() { sed -n "s/^$2=//p" "$1" | head -n 1 | sed 's/^"\(.*\)"$/\1/'; }

# check_tree ROOT PREFIX: the installed files under ROOT for an installation at PREFIX.
check_tree() {
  local root="$1" prefix="$2"
  local entry="$root/share/applications/org.tirravel.Tirravel.desktop"
  local metainfo="$root/share/metainfo/org.tirravel.Tirravel.metainfo.xml"
  [[ -x "$root/games/tirravel" ]] || fail "no executable $root/games/tirravel"
  cmp -s "$root/share/games/tirravel/Texture.bmp" "$assets/Texture.bmp" ||
    fail "share/games/tirravel/Texture.bmp is missing or not the game's texture"
  [[ -f "$root/share/man/man6/tirravel.6" ]] || fail "no manual page in share/man/man6"
  for size in 48 64 128 256; do
    local icon="$root/share/icons/hicolor/${size}x$size/apps/tirravel.png"
    [[ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" == "PNG ${size}x$size" ]] ||
      fail "the icon $icon is not a ${size}x$size PNG"
  done
  desktop-file-validate "$entry" >"$work/desktop.log" 2>&1 || fail "the entry is not valid"
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "the metadata is not valid"
  grep -qx 'Icon=tirravel' "$entry" || fail "the entry does not name the icon"
  [[ "$(entry_value "$entry" Exec)" == "$prefix/games/tirravel" ]] ||
    fail "the entry runs '$(entry_value "$entry" Exec)', not $prefix/games/tirravel"
}

require_tools desktop-file-validate appstreamcli identify
prefix="$work/a prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "install failed"
check_tree "$prefix" "$prefix"

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /opt/tirravel >"$work/stage.log" 2>&1 ||
  fail "staged install failed"
check_tree "$work/stage/opt/tirravel" /opt/tirravel

# ---- Started as the desktop starts it, from a folder without a texture ------------------------
require_tools Xvfb openbox xdotool xprop import convert timeout
source "$(dirname "${BASH_SOURCE[0]}")/../support/game_screen.sh"
start_x_session 1280x960

entry="$prefix/share/applications/org.tirravel.Tirravel.desktop"
mkdir "$work/home"
start_game "$work/home" "$(entry_value "$entry" Exec)"
focus_game_window "the installed game: "
wait_until 20 title_shown || fail "the installed game shows no title screen"
hold Escape 0.2
expect_game_ends Escape
echo "ok: installed files, desktop entry, metadata, icons and manual page; the entry starts the" \
  "game in a folder without a texture"
