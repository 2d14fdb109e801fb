#!/usr/bin/env bash
# Counts the instructions each core view executes on the 32,766- and 100,000-record logs under
# callgrind and writes the table into BENCHMARKS.md (section "Work done"), replacing the one
# there. Instruction counts do not depend on caches or on other work on the machine, so their
# growth shows whether a view does work in proportion to the log. Run it after scripts/bench.sh
# (which rewrites BENCHMARKS.md); it takes several minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v valgrind >/dev/null; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq valgrind >/dev/null
fi
build_dir="${BUILD_DIR:-build-bench}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPUKAPUKA_BUILD_BENCH=ON >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target pukapuka-bench >/dev/null
bench="$PWD/$build_dir/bench/pukapuka-bench"
out="${1:-$PWD/BENCHMARKS.md}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

rows=("floor: read データ.txt, decode CP932 into lines"
      "READ_DATA (the records every view starts from)"
      "MainView: DSP_MAIN of the busiest day"
      "RangeView: opening (DSP_TAIJYU)"
      "RangeView: keyword rebuild (起床後)"
      "AnalysisView: the four lists"
      "GraphView: DSP_RENTAI, 10-record moving average"
      "DailyAverages: whole log (DSP_HIHEIKIN)"
      "DailyAverages: one year (DSP_HIHEIKIN_KIKAN)"
      "CalendarView: DSP_CALE"
      "DiaryView: DSP_MEMO")

# one view on one log: only the measured run is counted (the log is generated outside it)
count() {
    local index="$1" size="$2"
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --callgrind-out-file="$work/cg.$index.$size" \
        --toggle-collect='std::_Function_handler<void ()*addCoreJobs*' \
        "$bench" --core-only --sizes "$size" --only "${rows[$index]}" --repeat 1 --out "$work/unused.md" \
        >/dev/null 2>"$work/err.$index.$size"
    grep -o 'refs: *[0-9,]*' "$work/err.$index.$size" | tr -d ', ' | cut -d: -f2 >"$work/ir.$index.$size"
}
export -f count
export work bench
jobs=()
for i in "${!rows[@]}"; do
    for size in 32766 100000; do
        jobs+=("$i $size")
    done
done
# the rows are passed by index: bash arrays do not cross into the workers
declare -p rows >"$work/rows.sh"
printf '%s\n' "${jobs[@]}" |
    xargs -P"$(nproc)" -L1 bash -c 'source "$work/rows.sh"; count "$0" "$1"'

section="$work/section.md"
{
    echo "## Work done (instructions)"
    echo
    echo "Instructions executed by one run of each core view, counted by callgrind"
    echo "(\`bash scripts/bench-instructions.sh\`). Unlike times they do not depend on the caches or"
    echo "on other work on the machine: a growth at the growth of the record count (3.05×) is work"
    echo "in proportion to the log."
    echo
    echo "| Measure | 32,766 records | 100,000 records | growth |"
    echo "|---|---:|---:|---:|"
    for i in "${!rows[@]}"; do
        a=$(cat "$work/ir.$i.32766")
        b=$(cat "$work/ir.$i.100000")
        awk -v name="${rows[$i]}" -v a="$a" -v b="$b" \
            'BEGIN { printf "| %s | %.1f M | %.1f M | %.3f× |\n", name, a / 1e6, b / 1e6, b / a }'
    done
} >"$section"

# replace the section (up to the next heading or the end), or add it at the end
python3 - "$out" "$section" <<'EOF'
import re, sys
path, section = sys.argv[1], open(sys.argv[2], encoding="utf-8").read()
text = open(path, encoding="utf-8").read() if __import__("os").path.exists(path) else ""
pattern = re.compile(r"## Work done \(instructions\)\n.*?(?=\n## |\Z)", re.S)
if pattern.search(text):
    text = pattern.sub(lambda m: section.rstrip("\n") + "\n", text)
else:
    text = text.rstrip("\n") + "\n\n" + section
open(path, "w", encoding="utf-8").write(text)
EOF
cat "$section"
