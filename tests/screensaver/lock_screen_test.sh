#!/usr/bin/env bash
# The lock screen end to end on a virtual display: a throwaway installation with two users enrolled from
# espeak-ng readings (tanaka may log on, sato may not), then one lock that is tried with keys, clicks,
# refused and killed voice checks and a message left, until tanaka's voice opens it. Without Xvfb,
# xdotool, espeak-ng or sox the test is skipped (exit 77).
#
#   lock_screen_test.sh WARDENCTL VOICE_DIALOG SCREENVEIL
set -u
wardenctl="$(realpath "$1")"
dialog="$(realpath "$2")"
screenveil="$(realpath "$3")"
for program in Xvfb xdotool xwininfo display espeak-ng sox; do
    command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
done
work="$(mktemp -d)"
lock=
first=
xvfb=
host=
preview=
hung=
cleanup() {
    [ -n "$hung" ] && kill -9 "$hung" 2>/dev/null
    [ -n "$lock" ] && kill "$lock" 2>/dev/null
    [ -n "$first" ] && kill "$first" 2>/dev/null
    [ -n "$preview" ] && kill "$preview" 2>/dev/null
    [ -n "$host" ] && kill "$host" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export WARDEN_ROOT="$work/root" WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset WARDEN_AUDIO_INPUT WARDEN_VOICE_AUTO QT_QPA_PLATFORM
app="$WARDEN_ROOT/program"

passed=0
failed=0
expect() { # description, command...
    local what="$1"
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what"
    fi
}
# Waits up to $2 seconds for a command to succeed.
within() {
    local seconds="$1"
    shift
    local tries=$((seconds * 10))
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}
count() { grep -c "$1" "$work/lock.err"; }
counted() { test "$(count "$1")" -eq "$2"; }
lock_alive() { kill -0 "$lock" 2>/dev/null; }
lock_shown() { xdotool search --onlyvisible --name '^ScreenVeil$' >/dev/null 2>&1; }
window_named() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
window_class() { xdotool search --onlyvisible --class "$1" >/dev/null 2>&1; }
voice_child() { pgrep -P "$lock" -f screenveil-voice; }
no_voice_child() { ! voice_child >/dev/null; }
last_user() { sed -i "/^LastUser=/d" "$app/halvox.ini" && sed -i "s/^\[DESK_WARDEN\]$/[DESK_WARDEN]\nLastUser=$1/" "$app/halvox.ini"; }
readings() { ln -sfn "$work/$1" "$work/input"; }

speak() { # voice, take, output
    local rate=$((150 + 6 * $2)) pitch=$((45 + 3 * $2))
    espeak-ng -v "$1" -s "$rate" -p "$pitch" -w "$work/raw.wav" "himawari"
    sox -V1 -R -D "$work/raw.wav" -r 11025 -c 1 -b 16 "$3" gain -n -8 pad 0.$((5 + $2)) 3 trim 0s 33075s
}
mkdir -p "$work"/{tanaka-enrol,sato-enrol,tanaka,sato,stranger}
for take in 0 1 2 3 4; do
    speak en+m3 "$take" "$work/tanaka-enrol/$take.wav"
    speak de+f4 "$take" "$work/sato-enrol/$take.wav"
done
speak en+m3 5 "$work/tanaka/5.wav"
speak de+f4 5 "$work/sato/5.wav"
speak en+f2 2 "$work/stranger/2.wav"

# The installation: tanaka may log on, sato may encrypt and decrypt only; both enrol the first word.
"$wardenctl" init "$app" >/dev/null || { echo "FAIL: wardenctl init"; exit 1; }
"$wardenctl" user create tanaka --name Tanaka --password secret --group 0 --rights 111 >/dev/null
"$wardenctl" user create sato --name Sato --password secret --group 1 --rights 011 >/dev/null
for user in tanaka sato; do
    WARDEN_AUDIO_INPUT="$work/$user-enrol" QT_QPA_PLATFORM=offscreen \
        "$dialog" --mode 1 --purpose 4 --user "$user" --auto >/dev/null 2>&1 || echo "FAIL: enrolment of $user"
done
printf '[DESK_WARDEN]\n[SCREEN_SAVER]\nWaitTime=5\n[IMAGE_FILES]\n1=%s\n2=%s\n' \
    "$app/images/screen01.bmp" "$app/images/screen02.bmp" >>"$app/halvox.ini"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
within 10 test -s "$work/display" || { echo "FAIL: no virtual display"; exit 1; }
export DISPLAY=":$(cat "$work/display")"

# The preview draws inside another program's window, needs no set-up, and ends with that window.
display -geometry 320x240+10+10 -size 320x240 xc:gray >/dev/null 2>&1 &
host=$!
within 10 window_class display
host_window="$(xdotool search --onlyvisible --class display | head -n 1)"
"$screenveil" /p "$host_window" 2>/dev/null &
preview=$!
expect "the preview draws inside the given window" \
    within 10 bash -c "xwininfo -children -id '$host_window' | grep -q 'ScreenVeil preview'"
kill "$host"
host=
expect "the preview ends with its window" within 10 bash -c "! kill -0 $preview 2>/dev/null"
preview=
"$screenveil" /p 2>/dev/null
expect "a preview without a window ends at once" test $? -eq 1

# Not set up yet (the tray program's first run has not happened): a message, no lock.
"$screenveil" /k 2>/dev/null &
lock=$!
expect "first run: a message instead of a lock" within 30 window_named '^Marlow$'
expect "first run: no lock window" test -z "$(xdotool search --onlyvisible --name '^ScreenVeil$' 2>/dev/null)"
xdotool key Return
expect "first run: the program ends" within 5 bash -c "! kill -0 $lock 2>/dev/null"
"$wardenctl" secure set firstRun=0 >/dev/null

"$screenveil" /a
expect "/a ends at once" test $? -eq 0
expect "/s without a tray program asks nobody" bash -c "'$screenveil' /s 2>&1 | grep -q 'no lock requested'"

# The lock. Each voice check takes the readings the input link points at, and presses Record by itself.
# Another program (here a first lock) holds the input when it starts: it says so, covers the screen all
# the same and keeps trying until the input is free.
"$screenveil" /k 2>"$work/first.err" &
first=$!
within 10 grep -q "keyboard and pointer held" "$work/first.err" || echo "FAIL: the first lock holds nothing"
last_user tanaka
readings stranger
WARDEN_AUDIO_INPUT="$work/input" WARDEN_VOICE_AUTO=1 "$screenveil" /k 2>"$work/lock.err" &
lock=$!
expect "a lock finds the input held elsewhere" within 10 grep -q "held elsewhere; trying again" "$work/lock.err"
expect "and covers the screen all the same" test "$(xdotool search --onlyvisible --name '^ScreenVeil$' | wc -l)" -eq 2
kill "$first"
first=
expect "it takes the input once it is free" within 10 grep -q "keyboard and pointer held" "$work/lock.err"
expect "the lock window shows" lock_shown
sleep 1

xdotool mousemove 100 100 mousemove 400 300 mousemove 700 500
sleep 1
expect "a pointer move starts no voice check" counted "voice check started" 0

xdotool key alt+Tab
expect "Alt+Tab reaches the lock and starts a check" within 5 counted "voice check started" 1
expect "a stranger is refused" within 60 counted "voice check refused" 1
xdotool key ctrl+Escape
expect "Ctrl+Esc reaches the lock and starts a check" within 5 counted "voice check started" 2
expect "refused again" within 60 counted "voice check refused" 2
expect "the lock stays after refusals" lock_alive
expect "the lock stays on the screen" lock_shown

# One click, one check: more clicks and keys while it runs start no second one.
xdotool click 1
expect "a click starts a check" within 5 counted "voice check started" 3
xdotool click 1 key a key b click 2
expect "no second check while one runs" within 60 counted "voice check refused" 3
expect "exactly one check for the click" counted "voice check started" 3

# A check killed or crashing with tanaka's voice in the input keeps the lock.
readings tanaka
for signal in KILL SEGV; do
    xdotool click 1
    child=""
    within 5 voice_child >/dev/null && child="$(voice_child)"
    expect "check started for SIG$signal" test -n "$child"
    [ -n "$child" ] && kill -s "$signal" "$child"
    expect "SIG$signal: the check ends" within 10 no_voice_child
    sleep 0.5
    expect "SIG$signal: the lock stays" lock_alive
done
expect "killed checks opened nothing" counted "unlocked by" 0

# A message left at the lock.
xdotool click 3
expect "a right click opens the message dialog" within 5 window_named '^Memo$'
xdotool type "Back at three"
xdotool key Tab type "Suzuki"
xdotool key Return
expect "the message dialog closes" within 5 bash -c "! xdotool search --onlyvisible --name '^Memo$' >/dev/null 2>&1"

# sato's own voice is accepted, but he may not log on.
last_user sato
readings sato
# The voice dialog refuses him before it records and waits for him to give up; he does, by ending it.
xdotool key space
expect "sato's check started" within 5 counted "voice check started" 6
# Longer than a check may go without holding the input: its window holds it all the while.
sleep 12
expect "a check whose window holds the input is not ended" counted "holds no input" 0
expect "a user without the logon permission does not unlock" counted "unlocked by" 0
expect "his voice is never even taken" test "$(grep -c 'sato : Logon' "$app/result.log" 2>/dev/null)" = 0
child="$(voice_child)"
[ -n "$child" ] && kill "$child"
expect "his check ends refused" within 10 counted "voice check refused" 6
expect "the lock stays for him" lock_alive

# tanaka opens it, and the message left is shown.
last_user tanaka
readings tanaka
xdotool key space
expect "tanaka unlocks" within 60 counted "unlocked by tanaka" 1
expect "the lock window is gone" within 5 bash -c "! xdotool search --onlyvisible --name '^ScreenVeil$' >/dev/null 2>&1"
expect "the messages are shown" within 5 window_named '^メッセージ$'
expect "one message was left" counted "1 messages left" 1
xdotool key Escape
expect "the program ends after the messages" within 5 bash -c "! kill -0 $lock 2>/dev/null"
if ! kill -0 "$lock" 2>/dev/null; then
    wait "$lock"
    expect "it ends with status 0" test $? -eq 0
    lock=
fi

# A check that hangs before its window takes the input (here a stand-in that only sleeps, beside a copy of
# the lock) leaves the desktop reachable around the lock: it is ended after ten seconds, and the lock goes on.
mkdir "$work/hung"
cp "$screenveil" "$work/hung/"
printf '#!/bin/sh\nexec sleep 600\n' >"$work/hung/screenveil-voice"
chmod 0755 "$work/hung/screenveil-voice"
"$work/hung/$(basename "$screenveil")" /k 2>"$work/hung.err" &
hung=$!
hung_said() { test "$(grep -c "$1" "$work/hung.err")" -eq "$2"; }
within 10 grep -q "keyboard and pointer held" "$work/hung.err"
xdotool click 1
expect "hung check: started" within 5 hung_said "voice check started" 1
sleep 5
expect "hung check: still waited for after five seconds" hung_said "holds no input" 0
expect "hung check: ended for holding no input" within 15 hung_said "holds no input; it is ended" 1
expect "hung check: its process is gone" within 5 bash -c "! pgrep -P $hung -f screenveil-voice >/dev/null"
expect "hung check: the lock stays" kill -0 "$hung"
xdotool key space
expect "hung check: the lock takes keys again" within 5 hung_said "voice check started" 2
kill -9 "$hung" 2>/dev/null
hung=

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] || sed 's/^/  | /' "$work/lock.err"
[ "$failed" -eq 0 ]
