#!/usr/bin/env bash
# Fetches the word and idiom explanations of cnchar-data at a pinned version.
# Its declared dependencies would pull in hundreds of packages we never use,
# so only explanation/ (and the licence, where the tarball has one) is taken.
set -euo pipefail

dest=${1:?usage: fetch-cnchar-data.sh DEST_DIR}
exec "$(dirname "$0")/fetch-npm-tarball.sh" cnchar-data 1.1.0 \
  'sha512-yruiTj5wm5GMC3IoGGOZmadkw3rNawWK+xHRdoe2lWWEZkzS53DZ5KKAXsNZAR5Airb5ll2wc5RKVZEC5kzOJA==' \
  "$dest" explanation -- LICENSE
