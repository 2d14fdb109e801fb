#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into ./build-fuzz (or $FUZZ_BUILD_DIR) and runs each one
# as a ctest test over its seed corpus: FUZZ_SECONDS seconds each (15 by default), or, with
# FUZZ_RUNS set, that many executions each (FUZZ_RUNS=1000000 for a long local run). A crash, a
# sanitizer report or a failed round trip fails the run; the input is kept under
# <build dir>/fuzz/work/<target>/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --fuzz
build_dir="${FUZZ_BUILD_DIR:-build-fuzz}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DPUKAPUKA_BUILD_UI=OFF -DPUKAPUKA_BUILD_TESTS=OFF -DPUKAPUKA_BUILD_FUZZ=ON \
    -DPUKAPUKA_FUZZ_SECONDS="${FUZZ_SECONDS:-15}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)" >/dev/null
cd "$build_dir"
# the targets share the machine's cores; a long run gets no ctest time limit
if [ -n "${FUZZ_RUNS:-}" ]; then
    ctest --output-on-failure -L fuzz -j"$(nproc)" --timeout 86400
else
    ctest --output-on-failure -L fuzz -j"$(nproc)"
fi
