#!/usr/bin/env bash
# Runs one fuzz target over its seed corpus: FUZZ_SECONDS seconds, or FUZZ_RUNS executions when
# that is set. New inputs go to a scratch corpus; the seed corpus in the repository is only read.
# Usage: run-fuzzer.sh TARGET SEED_DIR WORK_DIR
set -euo pipefail
target="$1"
seeds="$2"
work="$3"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp -r "$seeds"/. "$work/corpus/"
options=(-timeout=10 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 "-artifact_prefix=$work/artifacts/")
if [ -n "${FUZZ_DICT:-}" ] && [ -f "$FUZZ_DICT" ]; then
    options+=("-dict=$FUZZ_DICT")
fi
if [ -n "${FUZZ_RUNS:-}" ]; then
    options+=("-runs=$FUZZ_RUNS")
else
    options+=("-max_total_time=${FUZZ_SECONDS:-15}")
fi
# Qt keeps some start-up allocations until exit: no leaks of ours
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$target" "${options[@]}" "$work/corpus"
