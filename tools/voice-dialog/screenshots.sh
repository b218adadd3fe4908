#!/usr/bin/env bash
# Takes the voice dialog's screenshots of docs/screenshots under a virtual display, in a throwaway
# installation: an enrolment in progress (a reading drawn with its endpoint marks), an accepted and a
# denied verification. The readings are espeak-ng voices, as in scripts/run.sh.
# Usage: tools/voice-dialog/screenshots.sh [BUILD_DIR]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
out=$root/docs/screenshots
display=:88
width=640
height=440

cmake --build "$build" --target voice-dialog wardenctl -j2
mkdir -p "$out"
# shellcheck source=../common/virtual-desktop.sh
. "$root/tools/common/virtual-desktop.sh"
start_virtual_desktop "$display" "$width" "$height"

export WARDEN_ROOT=$tmp/root WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none
app_path=$WARDEN_ROOT/program
"$build/bin/wardenctl" init "$app_path" >/dev/null
"$build/bin/wardenctl" user create tanaka --name Tanaka --password secret --group 0 --rights 111 >/dev/null
# Without narration each result stays on screen for the dialog's half-second pause instead of a sound.
sed -i 's/^Narration=1$/Narration=0/' "$app_path/halvox.ini"

speak() { # voice, take, output
    local rate=$((150 + 6 * $2)) pitch=$((45 + 3 * $2))
    espeak-ng -v "$1" -s "$rate" -p "$pitch" -w "$tmp/raw.wav" "himawari"
    sox -V1 -R -D "$tmp/raw.wav" -r 11025 -c 1 -b 16 "$3" gain -n -8 pad 0.$((5 + $2)) 3 trim 0s 33075s
}
mkdir -p "$tmp/enrol" "$tmp/same" "$tmp/other"
for take in 0 1 2 3 4; do speak en+m3 "$take" "$tmp/enrol/$take.wav"; done
speak en+m3 5 "$tmp/same/5.wav"
speak de+f4 2 "$tmp/other/2.wav"

# The window is 420 x 320, centred; the shots keep a margin of desktop around it.
crop=460x360+90+40

# Pixels of exactly `colour` in a screen picture: the endpoint marks and result marks have colours of
# their own, so a picture that holds them shows the moment wanted.
pixels_of() { # picture, colour
    convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format "%[fx:int(mean*w*h+0.5)]" info:
}

# Runs the dialog with the readings of a folder and keeps the first screen, from `after` seconds on, that
# shows `colour`. Results last half a second, so the screen is looked at several times in that.
shoot_when() { # name, colour, after, readings, dialog arguments...
    local name=$1 colour=$2 after=$3 readings=$4
    shift 4
    WARDEN_AUDIO_INPUT=$readings "$build/bin/voice-dialog" "$@" --auto >/dev/null 2>"$tmp/err" &
    app=$!
    sleep 0.5
    xdotool mousemove 5 5
    local taken=no
    sleep "$after"
    while kill -0 "$app" 2>/dev/null; do
        import -window root "$tmp/frame.miff"
        if [ "$(pixels_of "$tmp/frame.miff" "$colour")" -gt 20 ]; then
            convert "$tmp/frame.miff" -crop "$crop" +repage "$out/$name"
            taken=yes
            break
        fi
    done
    wait "$app" || true
    app=
    [ "$taken" = yes ] || { echo "no screen of $name showed $colour" >&2; cat "$tmp/err" >&2; exit 1; }
    echo "wrote $out/$name"
}

# Each reading takes about 3.5 s: from 8 s on, the third reading of the enrolment is the one drawn.
shoot_when voice-dialog-enrol.png 'rgb(255,196,64)' 8 "$tmp/enrol" --mode 1 --purpose 4 --user tanaka
shoot_when voice-dialog-accept.png 'rgb(0,0,255)' 0 "$tmp/same" --mode 2 --purpose 0 --user tanaka
shoot_when voice-dialog-deny.png 'rgb(255,0,0)' 0 "$tmp/other" --mode 2 --purpose 0 --user tanaka
