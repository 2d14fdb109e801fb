#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# Usage: scripts/deps.sh [--demo|--shots|--fuzz|--package|--names]   (--demo adds Xvfb for xvfb-run; --shots
# also xdotool and ImageMagick; --fuzz clang and its libFuzzer run-time; --package lintian for the package
# check; --names clang-tidy for the naming check)
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
    libqt6opengl6-dev libgl1-mesa-dev libxkbcommon-dev
    libgtest-dev clang-format
    fonts-noto-cjk
    desktop-file-utils appstream dpkg-dev file
)
case "${1:-}" in
    --demo) packages+=(xvfb xauth) ;;
    --shots) packages+=(xvfb xauth xdotool imagemagick) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --package) packages+=(lintian) ;;
    --names) packages+=(clang-tidy python3) ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "These Debian packages are missing; run this as root (or with sudo): ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
