#!/usr/bin/env bash
# `make run`: answers a sample query through the command-line front end.
set -euo pipefail
build=${1:-build}
"$build/lexomir-cli" pinyin zhong
