#!/usr/bin/env bash
# Fetches the classical verse and prose of chinese-poetry at a pinned version,
# for the idioms' classical examples and the word senses' quotations. Its
# tarball is large (85 MB), so only the collections the builders read
# (POETRY_FOLDERS of tools/common/chinese-poetry.mjs) and the licence are taken.
set -euo pipefail

dest=${1:?usage: fetch-chinese-poetry.sh DEST_DIR}
folders=(shijing lunyu sishuwujing chuci caocaoshiji quantangshi wudaishici/huajianji wudaishici/nantang songci yuanqu
  mengxue/guwenguanzhi.json)
exec "$(dirname "$0")/fetch-npm-tarball.sh" chinese-poetry 2.0.1 \
  'sha512-KtYARvV7CWNtax0na9+Jn6PlhGgSoid7PWyDzXI4KsCEm2odZcqEQyval5koaLygZnM/EQ3lfJ//25K8p3uHNg==' \
  "$dest" LICENSE "${folders[@]/#/dist/}"
