#!/usr/bin/env bash
# Starts the built program under Xvfb beside an empty dat/, lets it show,
# stops it with SIGTERM (a normal close) and checks that dat/set.ini was written.
set -euo pipefail
program=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/lexomir"
mkdir "$folder/dat"

xvfb-run -a sh -c 'echo $$ > "$1/pid"; exec "$1/lexomir"' sh "$folder" &
runner=$!
for _ in $(seq 50); do [ -s "$folder/pid" ] && break; sleep 0.1; done
sleep 2
kill -TERM "$(cat "$folder/pid")"
status=0
wait "$runner" || status=$?

ini="$folder/dat/set.ini"
[ "$status" -eq 0 ] || { echo "the program ended with status $status" >&2; exit 1; }
[ -f "$ini" ] || { echo "no $ini" >&2; exit 1; }
for key in left top width height state GridXinHua GridChengYu; do
  grep -q "^$key=-\?[0-9]\+$" "$ini" || { echo "no $key in $ini:" >&2; cat "$ini" >&2; exit 1; }
done
grep -qx '\[window\]' "$ini"
echo "set.ini written:"; cat "$ini"
