#!/usr/bin/env bash
# Builds the Debian package and checks it without installing it and without a display:
# what it holds, that lintian, the desktop entry and the metainfo validate without an error or
# a warning, what it depends on, that the programs run from it, and how the launcher fills a
# new data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --package
bash scripts/build.sh >/dev/null
build_dir="${BUILD_DIR:-build}"
app_id=io.github.pukapuka.Pukapuka

fail() {
    echo "test-package: $*" >&2
    exit 1
}

rm -f "$build_dir"/pukapuka_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
debs=("$build_dir"/pukapuka_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single pukapuka_*.deb"
deb=${debs[0]}
echo "Package: $deb ($(du -k "$deb" | cut -f1) KiB)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
dpkg-deb -x "$deb" "$root"

# --- contents ---
for f in usr/bin/pukapuka usr/bin/pukapuka-report usr/bin/pukapuka-log usr/bin/pukapuka-launcher; do
    [ -x "$root/$f" ] || fail "$f is missing or not executable"
done
for f in usr/bin/pukapuka usr/bin/pukapuka-report usr/bin/pukapuka-log; do
    file -b "$root/$f" | grep -q '^ELF' || fail "$f is no program"
done
for f in "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg" usr/share/doc/pukapuka/copyright; do
    [ -s "$root/$f" ] || fail "$f is missing"
done
file -b "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" | grep -qi 'svg' || fail "the icon is no SVG"
for f in resources/help/*.html resources/help/*.css; do
    cmp -s "$f" "$root/usr/share/pukapuka/help/$(basename "$f")" || fail "help page $(basename "$f") is missing"
done
if [ -d resources/help/screenshots ]; then
    diff -r resources/help/screenshots "$root/usr/share/pukapuka/help/screenshots" >/dev/null ||
        fail "the help screenshots differ"
fi
[ ! -e "$root/usr/share/pukapuka/help/help.qrc" ] || fail "help.qrc is shipped"
# every program has its manual page, and the package its changelog
for f in "$root"/usr/bin/*; do
    [ -s "$root/usr/share/man/man1/$(basename "$f").1.gz" ] || fail "no manual page for $(basename "$f")"
done
[ -s "$root/usr/share/doc/pukapuka/changelog.gz" ] || fail "no changelog"
diff -r resources/sample "$root/usr/share/pukapuka/sample" >/dev/null || fail "the sample data differ"

# --- validation: no errors and no warnings ---
# lintian speaks only of what an override does not explain; it warns when run as root
out=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $out"
if grep -q '^[EW]:' <<<"$out"; then fail "lintian: $out"; fi
out=$(desktop-file-validate "$root/usr/share/applications/$app_id.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" 2>&1) ||
    fail "appstreamcli: $out"
if grep -q '^[EW]:' <<<"$out"; then fail "appstreamcli: $out"; fi

# --- dependencies: what the linker saw and what it cannot see ---
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libqt6printsupport6 \
    qt6-qpa-plugins libqt6svg6 fonts-noto-cjk; do
    grep -Eq "(^|, )$p([ ,]|$)" <<<"$depends" || fail "Depends does not name $p"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -Eq "(^|, )qt6-translations-l10n([ ,]|$)" <<<"$recommends" ||
    fail "Recommends does not name qt6-translations-l10n (Qt's boxes in Japanese)"

# --- the programs from the package: their version is the package's, asked without a display ---
version=$(dpkg-deb -f "$deb" Version)
for p in pukapuka pukapuka-report pukapuka-log; do
    [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/$p" --version)" = "$p $version" ] ||
        fail "$p --version does not say $version"
    env -u DISPLAY "$root/usr/bin/$p" --help | grep -q "^usage: $p " || fail "$p --help shows no usage"
done
[ "$(env -u DISPLAY HOME=/nonexistent "$root/usr/bin/pukapuka-launcher" --version)" = "pukapuka $version" ] ||
    fail "pukapuka-launcher --version does not reach the program"

# --- the report program from the package, on a copy of the packaged sample ---
data="$scratch/report data"
cp -r "$root/usr/share/pukapuka/sample" "$data"
report=$("$root/usr/bin/pukapuka-report" -C "$data" main --date 2003/11/08)
# the sample day: five measurements, the 106th day of the diet, a smiling face
grep -q '106日経過' <<<"$report" || fail "pukapuka-report shows no sample day: $report"
[ "$(sed -n '/^# msgDayList/,/^lbl/p' <<<"$report" | grep -c '^[0-9]')" -eq 5 ] ||
    fail "pukapuka-report lists another day than the sample day: $report"
grep -q "^face$(printf '\t')imgwara" <<<"$report" || fail "pukapuka-report shows another face: $report"
diff -r resources/sample "$data" >/dev/null || fail "pukapuka-report changed a data file"

# --- the log program from the package: the sample data take no measurement (exit 1, the
# window's text), a user's own folder takes one ---
if out=$("$root/usr/bin/pukapuka-log" -C "$data" add --weight 68 2>&1); then
    fail "pukapuka-log saved into the sample data: $out"
elif [ $? -ne 1 ] || ! grep -q '新規スタート' <<<"$out"; then
    fail "pukapuka-log did not refuse the sample data as the window does: $out"
fi
diff -r resources/sample "$data" >/dev/null || fail "pukapuka-log changed the sample data"
printf '"\x8e\x81\x96\xbc","\x89\xd4\x8eq"\r\n"\x90\x67\x92\xb7",158\r\n"\x96\xda\x95\x57\x91\xcc\x8f\x64",50\r\n' \
    >"$data/ﾌﾟﾗｲﾍﾞｰﾄ.txt"
out=$("$root/usr/bin/pukapuka-log" -C "$data" --today 2003/11/23 add --weight 68.2 --situation 朝 --fat 20) ||
    fail "pukapuka-log add failed: $out"
# the log is Shift_JIS: its line is matched as bytes, which a UTF-8 locale's "." would not match
tail -n 1 "$data/データ.txt" | LC_ALL=C grep -q '^"2003/11/23",".*",68.2,"",20,""' || fail "pukapuka-log wrote no record"

# --- the launcher: seeds an empty data folder once, runs the program there ---
home="$scratch/home with space"
mkdir -p "$home"
fake="$scratch/fake program"
printf '#!/bin/sh\npwd > "%s/ran in"\n' "$scratch" >"$fake"
chmod +x "$fake"
launch() { env -u XDG_DATA_HOME HOME="$home" PUKAPUKA_PROGRAM="$fake" "$@" "$root/usr/bin/pukapuka-launcher"; }

launch
folder="$home/.local/share/pukapuka"
diff -r resources/sample "$folder" >/dev/null || fail "the first run did not seed $folder"
[ "$(cat "$scratch/ran in")" = "$folder" ] || fail "the program ran in $(cat "$scratch/ran in")"

# a user's folder is never touched again: a changed file stays, a removed one stays away
printf '"2026/12/01","起床後",60,"",25,""\r\n' >"$folder/データ.txt"
rm "$folder/マーカー.TXT"
before=$(cd "$folder" && ls -l --time-style=+%s.%N && md5sum ./*)
launch
[ "$(cd "$folder" && ls -l --time-style=+%s.%N && md5sum ./*)" = "$before" ] || fail "the second run changed the folder"

# a folder holding any file at all is the user's: nothing is added
mkdir -p "$home/xdg data/pukapuka"
touch "$home/xdg data/pukapuka/.keep"
launch XDG_DATA_HOME="$home/xdg data"
[ "$(ls -A "$home/xdg data/pukapuka")" = ".keep" ] || fail "a folder with a file was seeded"
[ "$(cat "$scratch/ran in")" = "$home/xdg data/pukapuka" ] || fail "XDG_DATA_HOME was not followed"

# XDG_DATA_HOME that is not absolute is ignored
launch XDG_DATA_HOME="relative"
[ "$(cat "$scratch/ran in")" = "$folder" ] || fail "a relative XDG_DATA_HOME was used"

echo "test-package: all checks passed"
