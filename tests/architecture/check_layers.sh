#!/usr/bin/env bash
# Proves the layering rules from the source tree itself:
#  - the game (app, game, math, render, device) includes only the public platform headers;
#  - only platform/host/sdl includes SDL; only platform/gdi includes FreeType, fontconfig, iconv;
#  - platform/raster and math include nothing but the standard library and themselves.
# Prints every offending line and exits non-zero when there is one.
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/../.." && pwd)}"
cd "$root"
status=0

offend() {  # offend MESSAGE LINES...
  local message="$1"
  shift
  if [[ -n "$*" ]]; then
    echo "$message:"
    printf '  %s\n' "$@"
    status=1
  fi
}

sources() { find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort; }

mapfile -t game_lines < <(sources app game math render device |
  xargs -r grep -nE '#include "platform/[^"]*/' || true)
offend "the game includes platform internals" "${game_lines[@]}"

mapfile -t sdl_lines < <(sources app game math render device platform tools |
  grep -v '^platform/host/sdl/' | xargs -r grep -nE '#include [<"]SDL' || true)
offend "SDL outside platform/host/sdl" "${sdl_lines[@]}"

mapfile -t font_lines < <(sources app game math render device platform tools |
  grep -v '^platform/gdi/' | xargs -r grep -nE '#include [<"](ft2build|freetype|fontconfig|iconv)' || true)
offend "FreeType, fontconfig or iconv outside platform/gdi" "${font_lines[@]}"

mapfile -t pure_lines < <(sources platform/raster math |
  xargs -r grep -nE '#include "' | grep -vE '#include "(platform/raster|math)/' || true)
offend "platform/raster or math depends on more than the standard library" "${pure_lines[@]}"

[[ $status -eq 0 ]] && echo "layers: all include rules hold"
exit $status
