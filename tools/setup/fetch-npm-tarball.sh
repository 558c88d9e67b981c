#!/usr/bin/env bash
# Fetches part of an npm package's tarball at a pinned version: taken with
# `npm pack` rather than installed (so none of its dependencies come along),
# checked against its integrity, and only the paths named extracted into
# DEST_DIR, which then holds a stamp .NAME-VERSION.
# usage: fetch-npm-tarball.sh NAME VERSION INTEGRITY DEST_DIR PATH... [-- OPTIONAL_PATH...]
set -euo pipefail

name=${1:?usage: fetch-npm-tarball.sh NAME VERSION INTEGRITY DEST_DIR PATH...}
version=${2:?}
integrity=${3:?}
dest=${4:?}
shift 4
wanted=()
optional=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do wanted+=("$1"); shift; done
[ $# -gt 0 ] && shift
optional=("$@")

# The stamp lists the paths taken, so that asking for others fetches again.
stamp="$dest/.$name-$version"
listed=$(printf '%s\n' "${wanted[@]}" -- "${optional[@]}")
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$listed" ] && exit 0

mkdir -p "$dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "$name@$version" >/dev/null)
tarball="$work/$name-$version.tgz"
actual="sha512-$(openssl dgst -sha512 -binary "$tarball" | base64 -w0)"
if [ "$actual" != "$integrity" ]; then
  echo "$name-$version.tgz: integrity mismatch ($actual)" >&2
  exit 1
fi

tar -xzf "$tarball" -C "$work" "${wanted[@]/#/package/}"
for path in "${optional[@]}"; do tar -xzf "$tarball" -C "$work" "package/$path" 2>/dev/null || true; done
# Each top-level entry extracted replaces the one in DEST_DIR.
for top in $(cd "$work/package" && ls -A); do
  rm -rf "${dest:?}/$top"
  mv "$work/package/$top" "$dest/$top"
done
printf '%s\n' "$listed" >"$stamp"
