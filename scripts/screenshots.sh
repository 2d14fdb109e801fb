#!/usr/bin/env bash
# Takes a screenshot of every panel with the sample data on a virtual display and writes
# them to docs/screenshots/. Needs a build (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --shots
top="$PWD"
out="$top/docs/screenshots"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp resources/sample/* "$work"/
# the help tour would cover every panel with its guidance box
printf '"ヘルプツアー",0\r\n' > "$work/設定.TXT"

# toolbar buttons from the left, as the window lays them out at 96 dpi
panels=(main graph daily range analysis calendar diary settings)
xs=(40 112 184 256 330 408 484 556)

cat > "$work/shoot.sh" <<SHOT
#!/usr/bin/env bash
set -eu
cd "$work"
"$top/build/app/pukapuka" &
pid=\$!
sleep 3
xdotool key Return   # the sample-day notice
sleep 1
for i in \$(seq 0 $((${#panels[@]} - 1))); do
    name=\$(echo "${panels[*]}" | cut -d' ' -f\$((i + 1)))
    x=\$(echo "${xs[*]}" | cut -d' ' -f\$((i + 1)))
    xdotool mousemove "\$x" 30 click 1
    sleep 1.5
    import -window root -crop 1100x780+0+0 +repage "$out/\$name.png"
done
kill \$pid
SHOT
xvfb-run -a -s "-screen 0 1280x860x24" bash "$work/shoot.sh"
ls -1 "$out"
