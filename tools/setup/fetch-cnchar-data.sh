#!/usr/bin/env bash
# Fetches the word and idiom explanations of cnchar-data at a pinned version.
# Its declared dependencies would pull in hundreds of packages we never use,
# so the tarball is taken with `npm pack`, checked against its integrity, and
# only explanation/ is extracted.
set -euo pipefail

version=1.1.0
integrity='sha512-yruiTj5wm5GMC3IoGGOZmadkw3rNawWK+xHRdoe2lWWEZkzS53DZ5KKAXsNZAR5Airb5ll2wc5RKVZEC5kzOJA=='
dest=${1:?usage: fetch-cnchar-data.sh DEST_DIR}

stamp="$dest/.cnchar-data-$version"
[ -f "$stamp" ] && exit 0

mkdir -p "$dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "cnchar-data@$version" >/dev/null)
tarball="$work/cnchar-data-$version.tgz"
actual="sha512-$(openssl dgst -sha512 -binary "$tarball" | base64 -w0)"
if [ "$actual" != "$integrity" ]; then
  echo "cnchar-data-$version.tgz: integrity mismatch ($actual)" >&2
  exit 1
fi

rm -rf "$dest/explanation"
tar -xzf "$tarball" -C "$work" package/explanation package/LICENSE 2>/dev/null \
  || tar -xzf "$tarball" -C "$work" package/explanation
mv "$work/package/explanation" "$dest/explanation"
[ -f "$work/package/LICENSE" ] && cp "$work/package/LICENSE" "$dest/LICENSE"
touch "$stamp"
