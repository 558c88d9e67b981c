#!/usr/bin/env bash
# Makes docs/screenshot.png: the real window over build/dat under Xvfb and
# openbox at its first-start size, with a pinyin search typed and run with
# Enter through xdotool and the first character's entry opened by a double
# click.
#   tools/screenshot.sh [build folder] [output png]
set -euo pipefail

if [ "${1:-}" = --inside-xvfb ]; then
  stage=$2 out=$3
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  sleep 1
  "$stage/lexomir" &
  program=$!
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Lexomir' 2>/dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the window did not appear" >&2; kill "$program" "$wm"; exit 1; }
  sleep 1
  # The focus starts in 拼音或汉字, where Enter searches.
  xdotool type --delay 40 zhong
  xdotool key Return
  sleep 1
  # The first cell of the grid, below the search controls: 中.
  xdotool mousemove --window "$window" 17 "$GRID_ROW_Y" click --repeat 2 --delay 80 1
  sleep 1
  xdotool mousemove --window "$window" 600 40
  import -window "$window" "$out"
  kill -TERM "$program"
  wait "$program"
  kill "$wm" || true
  exit 0
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$repo/build}")
out=$(realpath -m "${2:-$repo/docs/screenshot.png}")
if [ ! -x "$build/lexomir" ] || [ ! -f "$build/dat/XinHua.dat" ]; then
  echo "No program with its data in $build: run make build first." >&2
  exit 1
fi
for tool in xvfb-run xdotool import openbox; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: apt-get install -y xvfb xdotool imagemagick" >&2; exit 1; }
done

# A copy of the program beside links to the real data and settings of its own,
# so that build/dat/set.ini stays as it was.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$build/lexomir" "$stage/"
mkdir "$stage/dat"
for file in "$build"/dat/*; do
  [ "$(basename "$file")" = set.ini ] || ln -s "$(realpath "$file")" "$stage/dat/"
done
# No set.ini: the window as it first starts, at its least size.

mkdir -p "$(dirname "$out")"
GRID_ROW_Y=${GRID_ROW_Y:-205} xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside-xvfb "$stage" "$out"
echo "wrote $out"
