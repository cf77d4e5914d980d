#!/usr/bin/env bash
# Makes docs/screenshots/: every window at 1366×768 (100 %, 150 %) and 1920×1080 (100 %, 200 %),
# as a person sees it on such a screen, from the built program folder (build/app, laid out by
# ./run.sh --no-start first when missing) on a private virtual X server. To keep the repository
# light the pictures are reduced to 16 colours and stored at the screen's size in its own pixels
# at 100 % (1366 wide; 150 % made 911 wide) and at half size on the 1920×1080 screen (960 wide,
# where 200 % keeps the text as sharp as 100 % on the smaller screen).
#   scripts/screenshots.sh [OUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshots}")
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
install_missing xvfb xauth pngquant

[ -x build/app/lumno ] || ./run.sh --no-start
cmake --build build --target lumno-screenshots
shots=$(realpath build/tools/lumno-screenshots)
mkdir -p "$out"
rm -f "$out"/*.png

# A throw-away copy of the program folder: the windows read its books and may write to them.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for setting in 1366x768:1:1366 1366x768:1.5:911 1920x1080:1:960 1920x1080:2:960; do
    IFS=: read -r size scale width <<<"$setting"
    rm -rf "$work/app" && cp -a build/app "$work/app"
    percent=$(awk "BEGIN { print $scale * 100 }")
    prefix="${size}-${percent}"
    (cd "$work/app" &&
        QT_SCALE_FACTOR=$scale QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 ${size}x24" \
            "$shots" "$out" "$prefix" "$width")
    shots_made=("$out/$prefix"-*.png)
    echo "$prefix: ${#shots_made[@]} windows"
done

# 16 colours without dithering: flat window colours stay flat, the glyphs sharp.
for f in "$out"/*.png; do
    pngquant --force --skip-if-larger --nofs --speed 1 --output "$f" 16 "$f" || true
done
du -sh "$out"
