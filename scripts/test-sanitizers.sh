#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer into ./build-asan (or
# $ASAN_BUILD_DIR) and runs them; any report fails the run. The kill test is left to the
# ordinary build, where its child runs at full speed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build_dir="${ASAN_BUILD_DIR:-build-asan}"
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build_dir" -j"$(nproc)" >/dev/null
cd "$build_dir"
# Qt's own start-up allocations that live until exit are no leaks of ours
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j"$(nproc)" -LE slow
