#!/usr/bin/env bash
# Takes the lock screen's screenshots of docs/screenshots under a virtual display, in a throwaway
# installation: the settings dialog with a comment typed in, the message dialog over the lock, and the
# lock with its slide, the comment and the message left.
# Usage: screensaver/screenshots.sh [BUILD_DIR]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=$root/docs/screenshots
display=:89
width=1024
height=768

cmake --build "$build" --target ScreenVeil wardenctl deskwarden_images -j2
mkdir -p "$out"
# shellcheck source=../tools/common/virtual-desktop.sh
. "$root/tools/common/virtual-desktop.sh"
start_virtual_desktop "$display" "$width" "$height"

export WARDEN_ROOT=$tmp/root
app_path=$WARDEN_ROOT/program
"$build/bin/wardenctl" init "$app_path" >/dev/null
"$build/bin/wardenctl" user create tanaka --name Tanaka --password secret --group 0 --rights 111 >/dev/null
"$build/bin/wardenctl" secure set firstRun=0 >/dev/null
printf '[SCREEN_SAVER]\nWaitTime=30\n[IMAGE_FILES]\n1=%s\n2=%s\n3=%s\n' "$app_path/images/screen01.bmp" \
    "$app_path/images/screen03.bmp" "$app_path/images/screen04.bmp" >>"$app_path/halvox.ini"

wait_window() { # name
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "no window named $1" >&2
    return 1
}

# The settings dialog: a comment of two lines, the automatic start after ten minutes.
"$build/bin/ScreenVeil" /c &
app=$!
wait_window "スクリーンセーバーの設定"
settings=$(xdotool search --onlyvisible --name "スクリーンセーバーの設定" | head -n 1)
xdotool windowmove "$settings" 162 64
sleep 0.5
xdotool mousemove 500 540 click 1
xdotool type --delay 20 "席を外しています。"
xdotool key Return
xdotool type --delay 20 "15時に戻ります。ご用の方はメッセージをどうぞ。"
xdotool mousemove 180 492 click 1
xdotool mousemove 500 492 click 1 key ctrl+a type "10"
sleep 0.5
import -window "$settings" "$out/lock-settings.png"
xdotool key Return
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && { echo "the settings were not accepted" >&2; exit 1; }

# The lock, with a message left through its dialog.
"$build/bin/ScreenVeil" /k &
app=$!
wait_window '^ScreenVeil$'
sleep 3
xdotool click 3
wait_window '^Memo$'
xdotool type --delay 20 "書類を机の上に置いておきました。"
xdotool key Tab type --delay 20 "鈴木"
sleep 1.2
import -window root "$out/lock-memo.png"
xdotool key Return
sleep 1
import -window root "$out/lock-screen.png"
