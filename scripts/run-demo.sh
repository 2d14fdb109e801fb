#!/usr/bin/env bash
# Builds the program and launches it on the sample data in ./demo. The demo folder is
# copied from the shipped sample on first use and never overwritten later, so what you
# record there is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --demo
bash scripts/build.sh >/dev/null
echo "Built build/app/pukapuka"

demo="$PWD/demo"
if [ ! -d "$demo" ]; then
    mkdir -p "$demo"
    cp -n resources/sample/* "$demo"/
    echo "Made the demo folder $demo from the sample data."
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    cat >&2 <<MSG
There is no display here, so the window cannot be shown.
To run it on a virtual display instead:
    xvfb-run -a -s "-screen 0 1280x900x24" bash scripts/run-demo.sh
MSG
    exit 1
fi
cd "$demo"
exec "$OLDPWD/build/app/pukapuka"
