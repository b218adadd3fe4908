#!/usr/bin/env bash
# DeskWarden end to end on a virtual display with a tray host: no start without a notification area or an
# installation; the first start registers the administrator, who enrols his word from WAV files and then
# passes the model test; the window hides into the tray; a second start hands a file over and ends; the
# tray menu opens the program information and, after the voice check, the user page; the menu ends the
# program. Needs Xvfb, trayer, xdotool, espeak-ng and sox (exit 77 without them).
#
#   deskwarden_test.sh WARDENCTL DESKWARDEN [SCREENSHOT_FOLDER]
set -u
wardenctl="$(realpath "$1")"
deskwarden="$(realpath "$2")"
shots="${3:-}"
for program in Xvfb trayer xdotool xwininfo espeak-ng sox import; do
    command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
done
work="$(mktemp -d)"
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null
    [ -n "${tray:-}" ] && kill "$tray" 2>/dev/null
    [ -n "${desktop:-}" ] && kill "$desktop" 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
unset QT_QPA_PLATFORM WARDEN_AUDIO_INPUT
export WARDEN_ROOT="$work/root" WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none TMPDIR="$work/tmp"
# The program listens for user transfers; keep that to loopback on a port of its own.
export WARDEN_TRANSFER_ADDRESS=127.0.0.1 WARDEN_TRANSFER_PORT=$((20000 + RANDOM % 20000))
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$TMPDIR" && mkdir -m 0700 "$XDG_RUNTIME_DIR"

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
    failed=$((failed + 1))
    echo "FAIL: $*"
}
expect() { # description, command...
    local what="$1"
    shift
    if "$@"; then pass; else fail "$what"; fi
}
# Waits up to $2 seconds for a command to succeed.
wait_for() {
    local what="$1" seconds="$2"
    shift 2
    for _ in $(seq $((seconds * 10))); do
        "$@" && { pass; return 0; }
        sleep 0.1
    done
    fail "$what (waited ${seconds}s)"
    return 1
}
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
said() { grep -qF "$1" "$work/app.err"; }
shot() { [ -n "$shots" ] && import -window root "$shots/$1.png"; }

# Readings of one speaker: five to enrol, eight for the model test, one for the settings check.
mkdir -p "$work/readings"
for take in $(seq 0 13); do
    espeak-ng -v en+m3 -s $((140 + 4 * take)) -p $((40 + 2 * (take % 8))) -w "$work/raw.wav" "himawari"
    sox -V1 -R -D "$work/raw.wav" -r 11025 -c 1 -b 16 "$work/readings/$(printf %02d "$take").wav" \
        gain -n -8 pad 0.$((5 + take % 5)) 3 trim 0s 33075s
done

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
wait_for "the virtual display starts" 10 bash -c "xdpyinfo >/dev/null 2>&1"
if [ -n "$shots" ]; then
    # A quiet desktop behind the windows of the pictures.
    convert -size 1280x800 gradient:'#5b6f95-#28344f' "$work/desktop.png"
    display -immutable -geometry +0+0 "$work/desktop.png" &
    desktop=$!
    sleep 1
fi

# Without a notification area the program would be unreachable once hidden: it does not start.
"$deskwarden" --no-splash >/dev/null 2>"$work/app.err"
expect "no tray host: refused with status 1" test $? -eq 1
expect "no tray host: one line on stderr" test "$(wc -l <"$work/app.err")" -eq 1
expect "no tray host: says what is missing" said "notification area"

trayer --edge bottom --align right --widthtype pixel --width 120 --heighttype pixel --height 28 >/dev/null 2>&1 &
tray=$!
sleep 1
"$deskwarden" --no-splash >/dev/null 2>"$work/app.err"
expect "no installation: refused with status 1" test $? -eq 1
expect "no installation: tells how to make one" said "wardenctl init"

"$wardenctl" init "$WARDEN_ROOT/program" >/dev/null || fail "wardenctl init"

# First start: the registration dialog for the administrator, then the voice dialog.
WARDEN_AUDIO_INPUT="$work/readings" "$deskwarden" --no-splash >"$work/app.out" 2>"$work/app.err" &
app=$!
wait_for "the first start opens the registration dialog" 20 visible "ユーザー登録"
shot deskwarden-registration
xdotool type --delay 30 "Taro Admin"
xdotool key Tab && xdotool type --delay 30 "secret1"
xdotool key Tab && xdotool type --delay 30 "secret1"
xdotool key Return
# Enter records a reading while the voice dialog waits, and answers the message boxes that follow.
# Yes to the by-pass key question opens the drive dialog on the one removable drive there is.
mkdir -p "$WARDEN_ROOT/media/stick"
for _ in $(seq 150); do
    visible "By-passキーの保存" && break
    xdotool key Return
    sleep 0.5
done
wait_for "the by-pass key question opens the drive dialog" 5 visible "By-passキーの保存"
sleep 0.5
xdotool key Down Return
wait_for "the by-pass key is written to the chosen drive" 5 said "“By-passキ－”が生成されました。"
xdotool key Return
expect "the key file is on the drive" test -s "$WARDEN_ROOT/media/stick/halvox.key"
expect "the registration was reported" said "ユーザー情報登録が完了しました。"
expect "the administrator is a program user" "$wardenctl" user show Administrator >"$work/user" 2>&1
expect "his name is the typed one" grep -qx "name: Taro Admin" "$work/user"
expect "he has his enrolled word" grep -qx "voices: aaj" "$work/user"
"$wardenctl" secure show >"$work/secure"
expect "the first run is over" grep -qx "firstRun=0" "$work/secure"
wait_for "the main window hides into the tray" 10 bash -c "! xdotool search --onlyvisible --name '^Marlow\$' >/dev/null"
expect "the program keeps running" kill -0 "$app"

# A second start hands its file over and ends.
echo "report" >"$work/report.txt"
started=$(date +%s%N)
"$deskwarden" "$work/report.txt" >/dev/null 2>"$work/second.err"
status=$?
elapsed=$((($(date +%s%N) - started) / 1000000))
echo "second start handed its file over in $elapsed ms"
expect "second start ends with status 0" test "$status" -eq 0
expect "second start ends within two seconds" test "$elapsed" -lt 2000
wait_for "the main window shows" 5 visible "^Marlow$"
sleep 0.5
shot deskwarden-main-window
"$deskwarden" >/dev/null 2>&1
expect "a second start without a file ends with status 0" test $? -eq 0

# The tray menu: found where the tray host embedded the program's icon.
icon=$(xwininfo -root -tree | awk '/"DeskWarden": \("DeskWarden"/ && $0 ~ /[0-9]+x[0-9]+\+0\+0/ {print $NF; exit}')
x=${icon#+}; x=${x%+*}; y=${icon##*+}
expect "the tray icon is embedded" test -n "$icon"
xdotool mousemove $((x + 8)) $((y + 8)) click 3
sleep 1
shot deskwarden-tray-menu
xdotool key i
wait_for "the program information opens from the tray" 5 visible "^Marlow Desk Warden$"
xdotool key Return
sleep 0.5

# Settings: the voice check (ID, password, one reading), then the user page.
xdotool mousemove $((x + 8)) $((y + 8)) click 3
sleep 1
xdotool key v
sleep 1.5
# The check opens on the password; the ID field comes before it.
xdotool key shift+Tab ctrl+a && xdotool type --delay 30 "Administrator"
xdotool key Tab && xdotool type --delay 30 "secret1"
xdotool key Return
sleep 1.5
xdotool key Return
wait_for "the settings open after the voice check" 15 visible "環境設定"
expect "the check is in the result log" grep -q "Administrator : Setting : Accept" "$WARDEN_ROOT/program/result.log"
sleep 0.5
# The dialog opens on the program settings; the menu's second item shows the users, and a click on the
# user's row lists his words.
page=$(xdotool search --onlyvisible --name "環境設定" | head -1)
eval "$(xdotool getwindowgeometry --shell "$page")"
xdotool mousemove $((X + 110)) $((Y + 116)) click 1
sleep 0.5
xdotool mousemove $((X + 290)) $((Y + 94)) click 1
sleep 0.5
shot deskwarden-user-page
xdotool key Escape
wait_for "Escape closes the settings" 5 bash -c "! xdotool search --onlyvisible --name 環境設定 >/dev/null"

# The menu's last item ends the program.
xdotool mousemove $((x + 8)) $((y + 8)) click 3
sleep 1
xdotool key x
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
    fail "the tray menu's last item did not end the program"
else
    wait "$app"
    expect "ending from the tray ends the program with status 0" test $? -eq 0
    app=
fi

echo "deskwarden: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
