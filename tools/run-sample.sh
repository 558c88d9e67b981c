#!/usr/bin/env bash
# `make run`: answers sample queries through the command-line front end, then
# opens the window when there is a display to show it on.
set -euo pipefail
build=${1:-build}
"$build/lexomir-cli" pinyin zhong
"$build/lexomir-cli" --show idiom 百战不=
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/lexomir"
else
  echo "No display: start the window with $build/lexomir on a desktop session."
fi
