#!/usr/bin/env bash
# Takes a screenshot of every panel with the sample data on a virtual display: the full-size
# pictures go to docs/screenshots/, copies 800 pixels wide to resources/help/screenshots/ for
# the help pages. Needs a build (scripts/build.sh); BUILD_DIR names another build folder.
#   --dark [FOLDER]  every panel under a dark desktop palette instead, as the UI test that checks
#                    their text colours draws them on a virtual display: all of them go to FOLDER
#                    (default: a new temporary folder), the main panel to docs/screenshots/dark-main.png
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --shots
top="$PWD"

if [ "${1:-}" = "--dark" ]; then
    tests="$top/${BUILD_DIR:-build}/tests/ui/ui_tests"
    [ -x "$tests" ] || { echo "No UI tests at $tests: build them first (scripts/build.sh)" >&2; exit 1; }
    shots="${2:-$(mktemp -d)}"
    mkdir -p "$shots"
    PUKAPUKA_SCREENSHOT_DIR="$shots" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
        "$tests" --gtest_filter='Appearance.EveryTextStandsOutUnderADarkPalette'
    convert "$shots/dark-fraMain.png" -strip -define png:compression-level=9 "$top/docs/screenshots/dark-main.png"
    ls -l "$shots" "$top/docs/screenshots/dark-main.png"
    exit 0
fi
program="$top/${BUILD_DIR:-build}/app/pukapuka"
[ -x "$program" ] || { echo "No program at $program: build it first (scripts/build.sh)" >&2; exit 1; }
out="$top/docs/screenshots"
help="$top/resources/help/screenshots"
mkdir -p "$out" "$help"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp resources/sample/* "$work"/
# the help tour would cover every panel with its guidance box
printf '"ヘルプツアー",0\r\n' > "$work/設定.TXT"

# the panels in the order of their toolbar keys Alt+1 ... Alt+8
panels=(main graph daily range analysis calendar diary edit)

cat > "$work/shoot.sh" <<SHOT
#!/usr/bin/env bash
set -eu
cd "$work"
"$program" &
pid=\$!
sleep 4
xdotool key Return   # the sample-day notice
sleep 1
# without a window manager nobody hands the keyboard back to the main window
main=\$(xdotool search --name 'Pukapuka☆ダイエット\$' | head -1)
key=1
for name in ${panels[*]}; do
    xdotool windowfocus --sync "\$main"
    xdotool key "alt+\$key"
    key=\$((key + 1))
    sleep 2
    import -window root -crop 1100x780+0+0 +repage "$out/\$name.png"
done
kill \$pid
SHOT
xvfb-run -a -s "-screen 0 1280x860x24" bash "$work/shoot.sh"

# the help's copies: 800 pixels wide in 256 colours keep each page's picture small
for name in "${panels[@]}"; do
    convert "$out/$name.png" -strip -define png:compression-level=9 "$out/$name.png"
    convert "$out/$name.png" -resize 800x -strip +dither -colors 256 -define png:compression-level=9 "PNG8:$help/$name.png"
done
ls -l "$out" "$help"
