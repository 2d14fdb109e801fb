#!/usr/bin/env bash
# Builds pukapuka-bench in ./build-bench (RelWithDebInfo) and runs it; it writes BENCHMARKS.md.
# Extra arguments go to the bench (--quick for a short smoke run, --out FILE).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build-bench}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPUKAPUKA_BUILD_BENCH=ON >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target pukapuka-bench
QT_QPA_PLATFORM=offscreen "$build_dir/bench/pukapuka-bench" "$@"
