#!/usr/bin/env bash
# Fails on a C++ name that breaks the naming rule (README, "For developers"): clang-tidy's
# identifier-naming check (.clang-tidy) over the sources of the build's compile_commands.json,
# then scripts/check-names.py for what a case check cannot see (romanized words, names of the
# old controls' form, routines in UPPER_CASE) and for the fuzz targets, which the ordinary build
# does not compile. Uses ./build (or $BUILD_DIR), configuring it when it has no compilation
# database yet; JOBS sets how many clang-tidy processes run at once (2).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --names
build_dir="${BUILD_DIR:-build}"
if [ ! -f "$build_dir/compile_commands.json" ]; then
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi

status=0
python3 scripts/check-names.py || status=1

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
# every source of ours in the database (the generated moc and resource files are not ours)
if ! run-clang-tidy -p "$build_dir" -j "${JOBS:-2}" -quiet "^$PWD/(app|bench|core|tests|tools|ui)/.*\.cpp$" \
    >"$log" 2>&1; then
    status=1
    # a header's finding is reported once for every source that includes it
    grep -E '(warning|error):' "$log" | sed 's/\x1b\[[0-9;]*m//g' | sort -u >&2 ||
        tail -20 "$log" >&2
fi
if [ "$status" -ne 0 ]; then
    echo "check-names: names break the rule; see above" >&2
    exit 1
fi
echo "names: ok"
