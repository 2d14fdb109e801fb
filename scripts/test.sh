#!/usr/bin/env bash
# Builds everything and runs every test; ends with the test runner's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/check-format.sh
bash scripts/build.sh
cd "${BUILD_DIR:-build}"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j"$(nproc)"
