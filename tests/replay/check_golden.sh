#!/usr/bin/env bash
# Replays one golden script and compares what it gives with what is checked in: the trace as
# exact text, and the pictures the script's "# pictures:" line names pixel for pixel.
#   check_golden.sh path/to/tirravel-replay SCRIPT EXPECTED_DIR ASSETS_DIR [--size WxH ARGS...]
# With --size, the replay runs with the tool's further arguments (a render scale, a view, a
# display, threads): the trace must still be the same to the byte, since only the drawing
# changes, and the pictures are checked to be WxH instead of compared; given --threads too, they
# must be those of the same replay drawn on one thread, pixel for pixel.
# The pictures must match exactly: the rasterizer is integer arithmetic over exactly specified
# floats, and the glyphs come from the fonts the build's Debian packages pin. A deliberate change
# is taken in with scripts/update-goldens.
set -uo pipefail
tool="$(realpath "$1")" script="$(realpath "$2")" expected="$(realpath "$3")" assets="$4"
shift 4
size=""
if [[ "${1:-}" == --size ]]; then
  size="$2"
  shift 2
fi
name="$(basename "$script" .replay)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL $name: $*" >&2
  echo "(if the change is intended: scripts/update-goldens $name, then look at the diff)" >&2
  exit 1
}

pictures="$(sed -n 's/^# pictures: *//p' "$script" | head -n 1)"
arguments=(--trace "$work/trace.csv")
[[ -n "$pictures" ]] && arguments+=(--png "$work/png" --frames "$pictures")
arguments+=("$@")

# The game reads Texture.bmp from the folder it starts in; nothing is written there.
(cd "$assets" && timeout 300 "$tool" "$script" "${arguments[@]}") 2>"$work/stderr"
status=$?
[[ $status -eq 0 ]] || fail "the replay ended with status $status: $(head -n 3 "$work/stderr")"

if ! cmp -s "$expected/$name.csv" "$work/trace.csv"; then
  echo "--- first differences (expected, then replayed):" >&2
  diff "$expected/$name.csv" "$work/trace.csv" | head -n 8 | cut -c 1-300 >&2
  fail "the trace differs from $expected/$name.csv"
fi

one_thread=""
if [[ -n "$size" && " $* " == *" --threads "* ]]; then
  one_thread="$work/one-thread"
  (cd "$assets" && timeout 300 "$tool" "$script" --png "$one_thread" --frames "$pictures" "$@" \
    --threads 1) 2>"$work/stderr" || fail "the replay on one thread failed: $(head -n 3 "$work/stderr")"
fi

IFS=, read -r -a frames <<<"$pictures"
for frame in "${frames[@]}"; do
  file="$(printf 'frame-%05d.png' "$frame")"
  want="$expected/$name/$file"
  if [[ -n "$size" ]]; then
    shape="$(identify -format %wx%h "$work/png/$file" 2>&1)"
    [[ "$shape" == "$size" ]] || fail "frame $frame is $shape, not $size"
    [[ -z "$one_thread" ]] && continue
    differing="$(compare -metric AE "$one_thread/$file" "$work/png/$file" null: 2>&1)"
    [[ "$differing" == "0" ]] || fail "frame $frame: $differing pixels differ from one thread's"
    continue
  fi
  [[ -f "$want" ]] || fail "no expected picture $want"
  # compare prints the number of differing pixels; its status is 1 when there are any.
  differing="$(compare -metric AE "$want" "$work/png/$file" null: 2>&1)"
  [[ "$differing" == "0" ]] || fail "frame $frame: $differing pixels differ from $want"
done
echo "ok $name: $(($(wc -l <"$work/trace.csv") - 1)) frames, ${#frames[@]} pictures"
