#!/usr/bin/env bash
# The Debian package as a player meets it: installed with apt-get, the game started by name from
# a folder without a texture under Xvfb and openbox shows its title screen and ends with status 0
# on Escape; its manual page, desktop entry and metadata are found and valid; apt-get remove
# leaves nothing of it behind. It installs into this very system, so it runs only where that is
# wanted: in CI (CI=true), whose machine is thrown away, or when asked with --on-this-system.
#   tests/package/deb_install_test.sh PACKAGE.deb [SCREENSHOT_DIR] [--on-this-system]
set -uo pipefail
package="" shots="" asked=false
for argument in "$@"; do
  case "$argument" in
    --on-this-system) asked=true ;;
    *.deb) package="$(realpath "$argument")" ;;
    *) shots="$(realpath "$argument")" ;;
  esac
done
[[ -f "$package" ]] || { echo "usage: $0 PACKAGE.deb [SCREENSHOT_DIR] [--on-this-system]" >&2; exit 2; }
if [[ "${CI:-}" != true && $asked == false ]]; then
  echo "skipped: this test installs $(basename "$package") into this system and removes it again;" \
    "CI runs it, or pass --on-this-system"
  exit 0
fi
[[ $(id -u) -eq 0 ]] || { echo "FAIL: installing the package needs root" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/game_screen.sh"
require_tools apt-get dpkg man appstreamcli desktop-file-validate Xvfb openbox xdotool xprop import
if dpkg-query -W -f='${db:Status-Status}' tirravel 2>/dev/null | grep -qx installed; then
  fail "tirravel is installed already; remove it first, so this test knows what it added"
fi

# What the system holds before, to compare with what it holds after the removal.
snapshot() { find /usr /etc /var/lib/dpkg/info -xdev 2>/dev/null | sort; }
snapshot >"$work/before.txt"

# A failure on the way still takes the package away again.
export DEBIAN_FRONTEND=noninteractive
installed_here=false
remove_on_failure() { [[ $installed_here == false ]] || apt-get remove -y tirravel >/dev/null 2>&1; }
folder=""
trap 'remove_on_failure; [[ -z "$folder" ]] || rm -rf "$folder"; cleanup' EXIT
apt-get install -y "$package" >"$work/apt-install.log" 2>&1 || fail "apt-get install failed"
installed_here=true
installed_packages="$(grep -c '^Setting up ' "$work/apt-install.log")"
[[ $installed_packages -eq 1 ]] ||
  fail "installing the game brought $installed_packages packages; the test expects the" \
    "dependencies to be there already (scripts/install-deps)"

[[ -x /usr/games/tirravel ]] || fail "no /usr/games/tirravel"
[[ -f /usr/share/games/tirravel/Texture.bmp ]] || fail "no /usr/share/games/tirravel/Texture.bmp"
page="$(man -w 6 tirravel 2>"$work/man.log")" || fail "man -w 6 tirravel finds no page"
appstreamcli validate --no-net /usr/share/metainfo/org.tirravel.Tirravel.metainfo.xml \
  >"$work/appstream.log" 2>&1 || fail "the AppStream metadata is not valid"
desktop-file-validate /usr/share/applications/org.tirravel.Tirravel.desktop \
  >"$work/desktop.log" 2>&1 || fail "the desktop entry is not valid"
for size in 48 64 128 256; do
  [[ -f /usr/share/icons/hicolor/${size}x$size/apps/tirravel.png ]] || fail "no ${size}px icon"
done

# Typed in a terminal, in a folder that holds no texture: the game finds its own.
start_x_session 1280x960
folder="$(mktemp -d -p /tmp tirravel-player.XXXXXX)"
start_game "$folder" env PATH="/usr/games:$PATH" tirravel
focus_game_window "the installed game: "
wait_until 20 title_shown || fail "the title screen did not appear"
sleep 1
shoot || fail "no screenshot"
keep installed-title
expect_title_screen
hold Escape 0.2
expect_game_ends Escape

apt-get remove -y tirravel >"$work/apt-remove.log" 2>&1 || fail "apt-get remove failed"
installed_here=false
# dpkg forgets a removed package without conffiles, or keeps it as not installed.
left="$(dpkg-query -W -f='${db:Status-Status}' tirravel 2>/dev/null || true)"
[[ -z "$left" || "$left" == not-installed ]] || fail "after apt-get remove dpkg keeps tirravel: $left"
snapshot >"$work/after.txt"
diff "$work/before.txt" "$work/after.txt" >"$work/left-behind.log" ||
  fail "apt-get remove left things behind or took things away"
echo "ok: installed, man page $page, metadata and desktop entry valid, title screen from" \
  "$folder, status 0 on Escape, nothing left after removal"
