#!/usr/bin/env bash
# The logon plug-in through the host stand-in, on throwaway installations made by `wardenctl init`: the
# entry points that answer at once, the host's test accounts, and logons by typed password, by by-pass key
# and by voice (enrolled from espeak-ng readings, as tests/tools/voice_dialog_test.sh makes them). Without
# espeak-ng or sox the voice logons are left out.
#
#   wardengate_host_test.sh HOST PLUGIN WARDENCTL VOICE_DIALOG
set -u
host="$(realpath "$1")"
plugin="$(realpath "$2")"
wardenctl="$(realpath "$3")"
dialog="$(realpath "$4")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export WARDEN_ROOT="$work/root" QT_QPA_PLATFORM=offscreen WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset WARDEN_AUDIO_INPUT
app="$WARDEN_ROOT/program"

passed=0
failed=0
check() { # description, command... (must succeed)
    local what="$1"
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what"
        sed 's/^/  | /' "$work/out" "$work/err" 2>/dev/null
    fi
}
# logon INPUT: the host's logon with INPUT typed at the terminal (no display, so no window); what it printed
# in out, the dialog in err.
logon() {
    printf '%b' "$1" | env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$host" "$plugin" logon >"$work/out" 2>"$work/err"
}
answered() { # result, user, password: exactly what CustomCtrlEntry handed back (the engine may have talked first)
    test "$(tail -n 3 "$work/out")" = "$(printf 'CustomCtrlEntry %s\nuser [%s]\npassword [%s]' "$1" "$2" "$3")"
}
said() { grep -qF -- "$1" "$work/err"; }

# Entry points that answer without a dialog.
"$host" "$plugin" about >"$work/out"
check "about text" test "$(cat "$work/out")" = "AboutPlugin WardenGate example (UNICODE).Created"
"$host" "$plugin" required >"$work/out"
check "not required" test "$(cat "$work/out")" = "IsRequired 0"
"$host" "$plugin" change-password >"$work/out"
check "password change accepted" test "$(cat "$work/out")" = "ChangeUserPassword 1"
"$host" "$plugin" hooks >"$work/out"
check "hooks do nothing" test "$(cat "$work/out")" = "$(printf 'LoginHook 0\nLogoutHook 0\nChangePluginSettings 0')"
check "hooks leave no system root behind" test ! -e "$WARDEN_ROOT"

# The host's test accounts: -1 marks a field the plug-in left alone.
login() { "$host" "$plugin" login "$1" >"$work/out"; }
login adminuser
check "adminuser" test "$(cat "$work/out")" = "$(printf 'UserLogin 1\nfield 28 1\nadministrator 1\ndescription An admin user for pGina testing\nfull name pGina Administrative User\nerror (none)')"
login reguser
check "reguser" test "$(cat "$work/out")" = "$(printf 'UserLogin 1\nfield 28 0\nadministrator 0\ndescription A "normal" user for pGina testing\nfull name pGina regular User\nerror (none)')"
login otheruser
check "otheruser writes field 28 only" test "$(cat "$work/out")" = "$(printf 'UserLogin 1\nfield 28 0\nadministrator -1\ndescription (none)\nfull name (none)\nerror (none)')"
login Adminuser
check "names compare exactly" test "$(cat "$work/out")" = "$(printf 'UserLogin 0\nfield 28 -1\nadministrator -1\ndescription (none)\nfull name (none)\nerror The username was not recognized.')"

# Without an installation nobody passes, and the host's buffers are emptied.
logon 'tanaka\nse cret\n'
check "no installation: nothing passes" answered 0 "" ""

"$wardenctl" init "$app" >/dev/null 2>&1
"$wardenctl" user create tanaka --name Tanaka --password 'se cret' --group 0 --rights 111 >/dev/null
"$wardenctl" user create suzuki --name Suzuki --password other --group 1 --rights 011 >/dev/null

# Password only: the typed ID and password go back exactly as typed, and no voice is asked for.
"$wardenctl" secure set logonAuthMode=2 >/dev/null
logon 'tanaka\nse cret\n'
check "password only: typed ID and password" answered 1 tanaka "se cret"
check "password only: the logon's own prompt" said "アイディーとパスワードを入力してください。"
check "password only: no reading" bash -c "! grep -qF '音声暗号' '$work/err'"
logon 'tanaka\nwrong\n'
check "wrong password: nothing passes" answered 0 "" ""
check "wrong password: told" said "入力したパスワードが違います。"
logon 'suzuki\nother\n'
check "no logon permission: nothing passes" answered 0 "" ""
check "no logon permission: the logon's wording" said "権限がないです。"
check "no result line for typed passwords" test ! -e "$app/result.log"
chmod 0644 "$app/halvoxuid.dat"
logon 'tanaka\nse cret\n'
check "store readable by others: nothing passes" answered 0 "" ""
check "store readable by others: told why" said "unsafe installation"
chmod 0600 "$app/halvoxuid.dat"

# By-pass key: an empty ID only asks for one; a key on a removable drive opens the typed account.
logon '/key\n'
check "by-pass key without ID: nothing passes" answered 0 "" ""
check "by-pass key without ID: asks for the ID" said "アイディーを入力してください。"
check "by-pass key without ID: no drive asked for" bash -c "! grep -qE 'ドライブを選択|移動保存装置' '$work/err'"
mkdir -p "$WARDEN_ROOT/media/stick"
"$wardenctl" bypass make --out "$WARDEN_ROOT/media/stick/halvox.key" >/dev/null
logon 'tanaka\n/key\n1\n'
check "by-pass key: the stored password of the typed ID" answered 1 tanaka "se cret"
printf 'not the key' >"$WARDEN_ROOT/media/stick/halvox.key"
logon 'tanaka\n/key\n1\n'
check "wrong by-pass key: nothing passes" answered 0 "" ""
check "wrong by-pass key: the logon's wording" said "誤った“By-Passキ－”です。"

for program in espeak-ng sox; do
    command -v "$program" >/dev/null || {
        echo "voice logons left out: $program is not installed"
        echo "$passed passed, $failed failed"
        [ "$failed" -eq 0 ]
        exit
    }
done
speak() { # voice, take, output
    local rate=$((150 + 6 * $2)) pitch=$((45 + 3 * $2))
    espeak-ng -v "$1" -s "$rate" -p "$pitch" -w "$work/raw.wav" "himawari"
    sox -V1 -R -D "$work/raw.wav" -r 11025 -c 1 -b 16 "$3" gain -n -8 pad 0.$((5 + $2)) 3 trim 0s 33075s
}
mkdir -p "$work/enrol" "$work/same" "$work/again"
for take in 0 1 2 3 4; do speak en+m3 "$take" "$work/enrol/$take.wav"; done
speak en+m3 5 "$work/same/5.wav"
# A second accepted logon gets a reading of its own: the same recording twice would be a replay.
speak en+m3 6 "$work/again/6.wav"
WARDEN_AUDIO_INPUT="$work/enrol" "$dialog" --mode 1 --purpose 4 --user tanaka --auto >"$work/out" 2>"$work/err"
check "enrolment for the voice logons" grep -qF "model created 1" "$work/out"
last_user="$(grep -i '^LastUser' "$app/halvox.ini")"

# Voice after password: the right password only opens the voice step; the accepted voice returns the
# stored password, writes its Accept line and leaves the last user of the program as it was.
"$wardenctl" secure set logonAuthMode=0 >/dev/null
WARDEN_AUDIO_INPUT="$work/same" logon 'tanaka\nse cret\n\n'
check "voice after password: accepted" answered 1 tanaka "se cret"
check "voice after password: the logon's first-reading prompt" said "音声暗号をおっしゃってください。"
check "voice after password: one Accept line" \
    test "$(grep -c '^\[[0-9-]* [0-9:]*\] tanaka : Logon : Accept$' "$app/result.log")" -eq 1
check "voice after password: last user kept" test "$(grep -i '^LastUser' "$app/halvox.ini")" = "$last_user"

# Voice only: nothing typed but the ID, and the stored password comes back.
"$wardenctl" secure set logonAuthMode=1 >/dev/null
WARDEN_AUDIO_INPUT="$work/again" logon 'tanaka\n'
check "voice only: the stored password" answered 1 tanaka "se cret"

# With a display the host's logon shows the plug-in's window, on an application the plug-in makes for the
# call (the host has none). A person is played by xdotool on Xvfb, without a window manager: the pointer's
# window has the keyboard, so each field is clicked before it is typed into. Positions are the default skin's.
for program in Xvfb xdotool; do
    command -v "$program" >/dev/null || {
        echo "window logons left out: $program is not installed"
        echo "$passed passed, $failed failed"
        [ "$failed" -eq 0 ]
        exit
    }
done
for number in $(seq 140 180); do [ -e "/tmp/.X11-unix/X$number" ] || break; done
Xvfb ":$number" -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
window_logon() { # starts the host's logon on the display; its window id in $window
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=":$number" "$host" "$plugin" logon </dev/null >"$work/out" 2>"$work/err" &
    host_pid=$!
    window="$(DISPLAY=":$number" timeout 10 xdotool search --sync --onlyvisible --name '^Marlow$' | head -n 1)"
    sleep 0.4 # the password start comes 200 ms after the window
}
at() { DISPLAY=":$number" xdotool mousemove --window "$window" "$1" "$2" click 1; } # x, y in the window
typed() { DISPLAY=":$number" xdotool type --delay 20 "$1"; }
press() { DISPLAY=":$number" xdotool key "$1"; }
host_ended() { # waits at most $1 seconds for the host's logon to return
    for _ in $(seq $(($1 * 10))); do kill -0 "$host_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$host_pid" 2>/dev/null
    wait "$host_pid" 2>/dev/null
}

"$wardenctl" secure set logonAuthMode=2 >/dev/null
window_logon
check "window: shown on the display" test -n "$window"
at 146 67 && typed tanaka && at 146 95 && typed 'se cret' && press Return
host_ended 10
check "window, password only: typed ID and password" answered 1 tanaka "se cret"
check "window: nothing asked on the terminal" bash -c "! grep -qF 'ID:' '$work/err'"

# Voice after password in the window: the password opens the voice step, Record takes the reading, and the
# accepted voice returns the stored password.
"$wardenctl" secure set logonAuthMode=0 >/dev/null
mkdir -p "$work/third"
speak en+m3 7 "$work/third/7.wav"
accepts() { grep -c '^\[[0-9-]* [0-9:]*\] tanaka : Logon : Accept$' "$app/result.log"; }
accepted_before="$(accepts)"
export WARDEN_AUDIO_INPUT="$work/third"
window_logon
at 146 67 && typed tanaka && at 146 95 && typed 'se cret' && press Return
sleep 0.6
check "window, voice after password: the password alone ends nothing" kill -0 "$host_pid"
at 210 272
host_ended 15
unset WARDEN_AUDIO_INPUT
check "window, voice after password: the stored password" answered 1 tanaka "se cret"
check "window, voice after password: its Accept line" test "$(accepts)" -eq $((accepted_before + 1))

# A display whose server refuses this process's credentials is no display: the logon asks at the terminal
# instead of the window system ending the host.
for locked in $(seq $((number + 1)) 199); do [ -e "/tmp/.X11-unix/X$locked" ] || break; done
xauth -q -f "$work/cookie" add ":$locked" . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
Xvfb ":$locked" -auth "$work/cookie" -nolisten tcp -screen 0 640x480x24 >/dev/null 2>&1 &
locked_pid=$!
trap 'kill "$xvfb_pid" "$locked_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$locked" ] && break; sleep 0.1; done
"$wardenctl" secure set logonAuthMode=2 >/dev/null
printf 'tanaka\nse cret\n' | env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=":$locked" XAUTHORITY="$work/no-cookie" \
    "$host" "$plugin" logon >"$work/out" 2>"$work/err"
check "refused display: the terminal logon instead" answered 1 tanaka "se cret"
check "refused display: the terminal's prompt" said "アイディーとパスワードを入力してください。"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
