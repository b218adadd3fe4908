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
# shellcheck source=../common/virtual-desktop.sh
. "$root/tools/common/virtual-desktop.sh"
start_virtual_desktop "$display" "$width" "$height"

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
