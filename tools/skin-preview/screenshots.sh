#!/usr/bin/env bash
# Takes the screenshots of docs/screenshots under a virtual display: the skin preview at rest, with the
# mouse over the record button, and after one recording of the bundled sample reading.
# Usage: tools/skin-preview/screenshots.sh [BUILD_DIR]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
out=$root/docs/screenshots
preview=$build/bin/skin-preview
display=:87
width=640
height=440

cmake --build "$build" --target skin-preview -j2
mkdir -p "$out"
tmp=$(mktemp -d)
Xvfb "$display" -screen 0 ${width}x${height}x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${desktop:-}" ] && kill "$desktop" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

# A quiet desktop behind the shaped window, so that its outline shows.
convert -size ${width}x${height} gradient:'#5b6f95-#28344f' "$tmp/desktop.png"
display -immutable -geometry +0+0 "$tmp/desktop.png" &
desktop=$!
sleep 1

export WARDEN_AUDIO_INPUT=$root/data/samples/sample.wav WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none
# The window is 420 x 320, centred; the shots keep a margin of desktop around it.
crop=460x360+90+40

shoot() { import -window root -crop "$crop" +repage "$out/$1"; }

"$preview" --quit-after 15000 &
app=$!
sleep 2
xdotool mousemove 5 5
sleep 0.5
shoot skin-preview-normal.png
xdotool mousemove 320 332
sleep 0.8
shoot skin-preview-hover.png
kill "$app"; wait "$app" 2>/dev/null || true

"$preview" --record --quit-after 15000 &
app=$!
sleep 1.2
xdotool mousemove 5 5
sleep 1.3
shoot skin-preview-recording.png
sleep 3
shoot skin-preview-recorded.png
kill "$app"; wait "$app" 2>/dev/null || true
app=
