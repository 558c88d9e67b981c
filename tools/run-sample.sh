#!/usr/bin/env bash
# `make run`: answers sample queries through the command-line front end.
set -euo pipefail
build=${1:-build}
"$build/lexomir-cli" pinyin zhong
"$build/lexomir-cli" --show idiom 百战不=
