#!/usr/bin/env bash
# Proves the layering rules from the source tree itself:
#  - each game layer includes only its own folder and the layers below it;
#  - the game (app, game, math, record, render, video) includes of the platform only its contract,
#    the Windows and DirectX headers in platform/api/;
#  - platform/api includes nothing but itself and the standard library;
#  - platform/pixel, the pixel arithmetic and SIMD lanes below every module, includes nothing but
#    itself, the standard library and the compiler's intrinsics;
#  - only platform/host/sdl includes SDL; only platform/gdi includes FreeType, fontconfig, iconv;
#  - platform/raster includes nothing but itself, platform/pixel, the standard library and the
#    compiler's SIMD intrinsics, and math nothing but itself and the standard library, angle-bracket
#    includes included;
#  - the host (platform/host) includes nothing of Windows, DirectDraw, GDI or Direct3D;
#  - the game never includes platform/testing.h, the door for tests and tools, and outside the
#    platform the hooks behind that door are reached only through it.
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

sources() { find "$@" -type f -not -path "./build*" \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort; }

# check_order PREFIX RULES EXTRA MESSAGE: each folder PREFIX<name> in the table RULES (a name and
# the folders it may include beside its own) includes no other folder under PREFIX but EXTRA.
check_order() {
  local prefix="$1" extra="$3" message="$4" name allowed
  local -n rules="$2"
  for name in "${!rules[@]}"; do
    allowed="${rules[$name]// /|}${extra:+|$extra}"
    mapfile -t order_lines < <(sources "$prefix$name" |
      xargs -r grep -nE "#include \"$prefix[a-z0-9_]+/" | grep -vE "#include \"$prefix($allowed)/" ||
      true)
    offend "$prefix$name $message" "${order_lines[@]}"
  done
}

# The game's layers, lowest first: math, the record, then render and video side by side, the
# rules, the shell. Each may include its own folder and the levels below its own. Tools,
# benchmarks, fuzz targets and tests sit above them all.
game_levels=(math record "render video" game app)
declare -A game_may_include=()
below=""
for level in "${game_levels[@]}"; do
  for name in $level; do game_may_include[$name]="${below:+$below }$name"; done
  below+="${below:+ }$level"
done
check_order "" game_may_include platform "includes a layer above it or beside it"

# The platform's modules, lowest first, and the modules whose internals each may include beside
# its own. The contract, platform/api, and the pixel arithmetic, platform/pixel, sit below them
# all: any module may include pixel, and any module but the rasterizer and core the contract (the
# host only its virtual-key codes, checked below).
declare -A platform_may_include=(
  [api]="api"
  [pixel]="pixel"
  [raster]="pixel raster"
  [core]="pixel core"
  [host]="api pixel host"
  [win32]="api pixel core host win32"
  [gdi]="api pixel core host win32 gdi"
  [ddraw]="api pixel core host win32 gdi ddraw"
  [d3d]="api pixel raster core host win32 gdi ddraw d3d"
  [startup]="api pixel core host win32 gdi ddraw d3d startup"
)
check_order platform/ platform_may_include "" "includes the internals of a module above it"

mapfile -t game_lines < <(sources app game math record render video |
  xargs -r grep -nE '#include "platform/[^"]*/' | grep -vE '#include "platform/api/' || true)
offend "the game includes platform internals" "${game_lines[@]}"

mapfile -t sdl_lines < <(sources app game math record render video platform tools |
  grep -v '^platform/host/sdl/' | xargs -r grep -nE '#include [<"]SDL' || true)
offend "SDL outside platform/host/sdl" "${sdl_lines[@]}"

mapfile -t font_lines < <(sources app game math record render video platform tools |
  grep -v '^platform/gdi/' | xargs -r grep -nE '#include [<"](ft2build|freetype|fontconfig|iconv)' || true)
offend "FreeType, fontconfig or iconv outside platform/gdi" "${font_lines[@]}"

# check_self_contained MESSAGE ANGLE FOLDER...: the folders include, in quotes, only each other's
# files, and in angle brackets only headers that match ANGLE.
check_self_contained() {
  local message="$1" angle="$2" folders
  shift 2
  folders="$(printf '%s|' "$@")"
  mapfile -t contained_lines < <(sources "$@" | xargs -r grep -nE '#include [<"]' |
    grep -vE "#include \"(${folders%|})/|#include <($angle)>" || true)
  offend "$message" "${contained_lines[@]}"
}
standard='[a-z_0-9]+'
check_self_contained "platform/api depends on more than the standard library" "$standard" \
  platform/api
intrinsics="$standard|[a-z0-9]+intrin\.h"
check_self_contained "platform/pixel or platform/raster depends on more than the standard library \
and the compiler's intrinsics" "$intrinsics" platform/pixel platform/raster
check_self_contained "math depends on more than the standard library and the compiler's \
intrinsics" "$intrinsics" math

mapfile -t host_lines < <(sources platform/host | xargs -r grep -nE \
  '#include "platform/(api/(win32|ddraw|gdi|d3d)\.h|(win32|ddraw|gdi|d3d)/)' || true)
offend "the host includes a Windows header" "${host_lines[@]}"

mapfile -t door_lines < <(sources app game math record render video |
  xargs -r grep -nE '#include "platform/testing\.h"' || true)
offend "the game includes the platform's testing door" "${door_lines[@]}"

hooks='core/live_objects|core/live_object_counts|win32/user_interface|ddraw/driver_override'
hooks+='|ddraw/direct3d_hooks|ddraw/surface_texture|d3d/device_override|d3d/draw_listener'
hooks+='|d3d/install|pixel/lane_choice'
mapfile -t hook_lines < <(sources app game math record render video tests tools bench fuzz |
  xargs -r grep -nE "#include \"platform/($hooks)\.h\"" || true)
offend "a platform hook reached around platform/testing.h" "${hook_lines[@]}"

# No circle of includes anywhere in the tree: a depth-first walk over the files' own includes.
declare -A includes=() colour=()
while IFS= read -r file; do
  targets=""
  while IFS= read -r target; do
    if [[ -f "$target" ]]; then targets+="$target "; fi
  done < <(sed -nE 's/^#include "([^"]+)".*/\1/p' "$file")
  includes[${file#./}]="$targets"
done < <(sources .)
circles=()
visit() {  # visit FILE PATH...: grey while on the walk's path, black once done
  local file="$1"
  shift
  colour[$file]=grey
  local next
  for next in ${includes[$file]:-}; do
    if [[ "${colour[$next]:-}" == grey ]]; then
      circles+=("$* $file -> $next")
    elif [[ -z "${colour[$next]:-}" ]]; then
      visit "$next" "$@" "$file ->"
    fi
  done
  colour[$file]=black
}
for file in "${!includes[@]}"; do
  if [[ -z "${colour[$file]:-}" ]]; then visit "$file"; fi
done
offend "includes that go round in a circle" "${circles[@]}"

[[ $status -eq 0 ]] && echo "layers: all include rules hold"
exit $status
