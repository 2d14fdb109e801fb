#!/usr/bin/env bash
# Counts the instructions each core view and window action executes on the 32,766- and
# 100,000-record logs under callgrind and writes the table into BENCHMARKS.md (section "Work
# done"), replacing the one there. Instruction counts do not depend on caches or on other work
# on the machine, so their growth shows whether the work is in proportion to the log. Run it
# after scripts/bench.sh (which rewrites BENCHMARKS.md); it takes a quarter of an hour.
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

# each row: the label in the table, then the name pukapuka-bench --only picks it by
rows=("Core|floor: read データ.txt, decode CP932 into lines|floor: read"
      "Core|READ_DATA (the records every view starts from)|READ_DATA"
      "Core|MainView: DSP_MAIN of the busiest day|MainView"
      "Core|RangeView: opening (DSP_TAIJYU)|RangeView: opening"
      "Core|RangeView: keyword rebuild (起床後)|RangeView: keyword"
      "Core|AnalysisView: the four lists|AnalysisView"
      "Core|GraphView: DSP_RENTAI, 10-record moving average|GraphView"
      "Core|DailyAverages: whole log (DSP_HIHEIKIN)|DailyAverages: whole"
      "Core|DailyAverages: one year (DSP_HIHEIKIN_KIKAN)|DailyAverages: one year"
      "Core|CalendarView: DSP_CALE|CalendarView"
      "Core|DiaryView: DSP_MEMO|DiaryView"
      "Window|start-up to the main window shown|start-up"
      "Window|open 全グラフ (graph)|open 全グラフ"
      "Window|open 日平均 (daily averages)|open 日平均"
      "Window|open 範囲指定 (range)|open 範囲指定"
      "Window|open 分析リスト (analysis)|open 分析リスト"
      "Window|open カレンダー (calendar)|open カレンダー"
      "Window|open 一言日記 (diary)|open 一言日記"
      "Window|open 編集 (edit)|open 編集"
      "Window|open メイン (main, back from another panel)|open メイン"
      "Window|open 全グラフ (graph), the log read again|reread 全グラフ"
      "Window|open 日平均 (daily averages), the log read again|reread 日平均"
      "Window|open 範囲指定 (range), the log read again|reread 範囲指定"
      "Window|open 分析リスト (analysis), the log read again|reread 分析リスト"
      "Window|open カレンダー (calendar), the log read again|reread カレンダー"
      "Window|open 一言日記 (diary), the log read again|reread 一言日記"
      "Window|watched refresh: another program's append reaches the range list|watched refresh"
      "Window|calendar day click on the main panel|calendar day click"
      "Window|save a measurement: append (today)|save append"
      "Window|save a measurement: insert (a day mid-log)|save insert"
      "Window|diary save of one comment|diary save"
      "Window|situation rename on the edit panel|situation rename")
repeat=2

# one row on one log: only the measured runs are counted (the bench toggles the counting
# around them; the log is generated and the window started outside them)
count() {
    local index="$1" size="$2"
    IFS='|' read -r group label only <<<"${rows[$index]}"
    local scope=()
    [ "$group" = Core ] && scope=(--core-only)
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --collect-atstart=no \
        --callgrind-out-file="$work/cg.$index.$size" \
        "$bench" "${scope[@]}" --sizes "$size" --only "$only" --repeat "$repeat" --out "$work/unused.md" \
        >/dev/null 2>"$work/err.$index.$size"
    grep -o 'refs: *[0-9,]*' "$work/err.$index.$size" | tr -d ', ' | cut -d: -f2 >"$work/ir.$index.$size"
}
export -f count
export work bench repeat
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

for f in "$work"/ir.*; do
    if [ "$(cat "$f")" = "" ] || [ "$(cat "$f")" = 0 ]; then
        echo "bench-instructions: nothing was counted for ${f##*/ir.}; was pukapuka-bench built with" \
            "valgrind/callgrind.h (valgrind installed)? Remove $build_dir and run again." >&2
        exit 1
    fi
done

section="$work/section.md"
{
    echo "## Work done (instructions)"
    echo
    echo "Instructions executed by one run of each core view and window action (the mean of $repeat runs"
    echo "after a warm-up), counted by callgrind (\`bash scripts/bench-instructions.sh\`). Unlike times they"
    echo "do not depend on the caches or on other work on the machine: a growth at or below the growth"
    echo "of the record count (3.05×) is work in proportion to the log."
    echo
    echo "| Group | Measure | 32,766 records | 100,000 records | growth |"
    echo "|---|---|---:|---:|---:|"
    for i in "${!rows[@]}"; do
        IFS='|' read -r group label only <<<"${rows[$i]}"
        a=$(cat "$work/ir.$i.32766")
        b=$(cat "$work/ir.$i.100000")
        awk -v group="$group" -v name="$label" -v a="$a" -v b="$b" -v r="$repeat" \
            'BEGIN { printf "| %s | %s | %.1f M | %.1f M | %.2f× |\n", group, name, a / r / 1e6, b / r / 1e6, b / a }'
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
