#!/usr/bin/env bash
# Takes the logon plug-in's screenshots of docs/screenshots under a virtual display, in a throwaway
# installation: the logon window with an ID and a password typed, and the drive window the by-pass key
# button opens at the pointer. The host stand-in shows the window as a logon host would.
# Usage: tools/wardengate/screenshots.sh [BUILD_DIR]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
out=$root/docs/screenshots
display=:89
width=800
height=480

cmake --build "$build" --target WardenGate wardengate-host wardenctl -j2
mkdir -p "$out"
# shellcheck source=../common/virtual-desktop.sh
. "$root/tools/common/virtual-desktop.sh"
start_virtual_desktop "$display" "$width" "$height"

export WARDEN_ROOT=$tmp/root WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none
"$build/bin/wardenctl" init "$WARDEN_ROOT/program" >/dev/null
"$build/bin/wardenctl" user create tanaka --name Tanaka --password secret --group 0 --rights 111 >/dev/null
"$build/bin/wardenctl" secure set logonAuthMode=2 >/dev/null
mkdir -p "$WARDEN_ROOT/media/stick"

"$build/bin/wardengate-host" "$build/lib/WardenGate.so" logon </dev/null >/dev/null 2>"$tmp/err" &
app=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Marlow$' | head -n 1)
sleep 0.5
# Without a window manager the pointer's window has the keyboard: each field is clicked, then typed into.
xdotool mousemove --window "$window" 146 67 click 1
xdotool type --delay 20 tanaka
xdotool mousemove --window "$window" 146 95 click 1
xdotool type --delay 20 secret
xdotool mousemove 5 5
sleep 0.3
# The window is 420 x 320, centred; the shots keep a margin of desktop around it.
import -window root -crop 460x360+170+60 +repage "$out/wardengate-logon.png"

xdotool mousemove --window "$window" 368 23 click 1
timeout 10 xdotool search --sync --onlyvisible --name 'ドライブを選択' >/dev/null
sleep 0.5
import -window root -crop 620x340+170+60 +repage "$out/wardengate-drives.png"
echo "wrote $out/wardengate-logon.png and $out/wardengate-drives.png"
