#!/usr/bin/env bash
# Runs one fuzz target for a while on a scratch copy of its seed corpus and
# prints one line of what it did. Exits non-zero when the target crashed.
#
#   run-fuzzer.sh <target binary> <seed folder> <work folder> <seconds>
#
# The work folder gets corpus/<target> (rebuilt from the seeds each run, so
# the committed seeds are never written to), artifacts/<target>/ for crash
# inputs and logs/<target>.log.
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 <target binary> <seed folder> <work folder> <seconds>" >&2
  exit 2
fi
binary=$1 seeds=$2 work=$3 seconds=$4
name=$(basename "$binary")
corpus=$work/corpus/$name
artifacts=$work/artifacts/$name
log=$work/logs/$name.log

rm -rf "$corpus"
mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
cp "$seeds"/* "$corpus"/

options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
         -artifact_prefix="$artifacts/")
dictionary=$(dirname "$0")/$name.dict
[ -f "$dictionary" ] && options+=(-dict="$dictionary")

status=0
"$binary" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?

stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
# libFuzzer's last status line: "#<execs> DONE cov: <n> ft: <n> corp: <n>/<size> ...".
field() { grep -E '^#[0-9]+[[:space:]]+DONE ' "$log" | tail -n 1 | sed -n "s/.* $1: \([^ ]*\).*/\1/p"; }

if [ "$status" -eq 0 ]; then
  echo "$name: clean, $(stat number_of_executed_units) execs in ${seconds} s" \
       "($(stat average_exec_per_sec)/s), cov $(field cov), ft $(field ft)," \
       "corpus $(field corp) (inputs/bytes)"
  exit 0
fi

echo "$name: FAILED (exit $status) after $(stat number_of_executed_units) execs; log: $log" >&2
grep -m 1 -E 'ERROR: |runtime error|invariant failed|deadly signal|uncaught exception' "$log" >&2 || true
grep -E 'Test unit written to|artifact_prefix' "$log" >&2 || tail -n 20 "$log" >&2
exit 1
