#!/usr/bin/env bash
# Makes docs/screenshot.png: the real window over build/dat under Xvfb, with a
# pinyin search typed and clicked through xdotool and the eighth character's
# entry opened by a double click.
#   tools/screenshot.sh [build folder] [output png]
set -euo pipefail

if [ "${1:-}" = --inside-xvfb ]; then
  stage=$2 out=$3
  "$stage/lexomir" &
  program=$!
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Lexomir' 2>/dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the window did not appear" >&2; kill "$program"; exit 1; }
  sleep 1
  # Places inside the window, for the layout of the character page.
  xdotool mousemove --window "$window" 245 89 click 1
  xdotool type --delay 40 zhong
  xdotool mousemove --window "$window" 274 164 click 1
  sleep 2
  xdotool mousemove --window "$window" 264 199 click --repeat 2 --delay 80 1
  sleep 1
  xdotool mousemove --window "$window" 600 40
  import -window "$window" "$out"
  kill -TERM "$program"
  wait "$program"
  exit 0
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$repo/build}")
out=$(realpath -m "${2:-$repo/docs/screenshot.png}")
if [ ! -x "$build/lexomir" ] || [ ! -f "$build/dat/XinHua.dat" ]; then
  echo "No program with its data in $build: run make build first." >&2
  exit 1
fi
for tool in xvfb-run xdotool import; do
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
printf '[window]\nleft=0\ntop=0\nwidth=987\nheight=640\nstate=0\nGridXinHua=160\nGridChengYu=160\n' \
  > "$stage/dat/set.ini"

mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1000x700x24" "$0" --inside-xvfb "$stage" "$out"
echo "wrote $out"
