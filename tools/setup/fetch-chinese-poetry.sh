#!/usr/bin/env bash
# Fetches the classical verse and prose of chinese-poetry at a pinned version,
# for the idioms' classical examples. The tarball is large (85 MB), so it is
# taken with `npm pack` rather than installed, checked against its integrity,
# and only the collections the builder reads are extracted.
set -euo pipefail

version=2.0.1
integrity='sha512-KtYARvV7CWNtax0na9+Jn6PlhGgSoid7PWyDzXI4KsCEm2odZcqEQyval5koaLygZnM/EQ3lfJ//25K8p3uHNg=='
# POETRY_FOLDERS of tools/chengyu/classical-citations.mjs.
folders=(shijing lunyu sishuwujing chuci caocaoshiji quantangshi wudaishici/huajianji songci yuanqu)
dest=${1:?usage: fetch-chinese-poetry.sh DEST_DIR}

stamp="$dest/.chinese-poetry-$version"
[ -f "$stamp" ] && exit 0

mkdir -p "$dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "chinese-poetry@$version" >/dev/null)
tarball="$work/chinese-poetry-$version.tgz"
actual="sha512-$(openssl dgst -sha512 -binary "$tarball" | base64 -w0)"
if [ "$actual" != "$integrity" ]; then
  echo "chinese-poetry-$version.tgz: integrity mismatch ($actual)" >&2
  exit 1
fi

rm -rf "$dest/dist"
tar -xzf "$tarball" -C "$work" package/LICENSE "${folders[@]/#/package/dist/}"
mv "$work/package/dist" "$dest/dist"
cp "$work/package/LICENSE" "$dest/LICENSE"
touch "$stamp"
