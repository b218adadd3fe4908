#!/usr/bin/env bash
# The PAM module end to end with pamtester, on a system root made by `wardenctl init` in a temporary folder
# and a service file of this test under /etc/pam.d (uniquely named, removed on exit). The module's line
# jumps to a marker module per failure code, so each run shows which code the module returned and that the
# next module of the stack ran. Readings are espeak-ng voices fed through WARDEN_AUDIO_INPUT. The auth log
# lines are read from a /dev/log of the test's own when the machine has none. Needs root (for /etc/pam.d),
# pamtester, espeak-ng and sox; otherwise skipped (exit 77).
#
#   pam_wardengate_test.sh MODULE HELPER WARDENCTL VOICE_DIALOG
set -u
module="$(realpath "$1")"
helper="$(realpath "$2")"
wardenctl="$(realpath "$3")"
dialog="$(realpath "$4")"
for program in pamtester espeak-ng sox python3; do
    command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
done
[ "$(id -u)" -eq 0 ] && [ -w /etc/pam.d ] || { echo "SKIP: /etc/pam.d is not writable"; exit 77; }

work="$(mktemp -d)"
service="wardengate-test-$$-$RANDOM"
syslog_pid=
own_devlog=no
cleanup() {
    rm -f "/etc/pam.d/$service"
    [ -n "$syslog_pid" ] && kill "$syslog_pid" 2>/dev/null
    [ "$own_devlog" = yes ] && rm -f /dev/log
    rm -rf "$work"
}
trap cleanup EXIT
export WARDEN_ROOT="$work/root" QT_QPA_PLATFORM=offscreen WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset WARDEN_AUDIO_INPUT
app="$WARDEN_ROOT/program"
user="$(id -un)"

# The auth log: a listener of our own on /dev/log when nothing else listens there.
if [ ! -e /dev/log ]; then
    python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
s.bind("/dev/log")
print("ready", flush=True)
with open(sys.argv[1], "ab", buffering=0) as out:
    while True:
        out.write(s.recv(8192) + b"\n")
' "$work/syslog" >"$work/syslog.ready" &
    syslog_pid=$!
    own_devlog=yes
    for _ in $(seq 50); do [ -s "$work/syslog.ready" ] && break; sleep 0.1; done
fi

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
        sed 's/^/  | /' "$work/out" "$work/marks" 2>/dev/null
    fi
}

cat >"$work/mark.sh" <<MARK
#!/bin/sh
echo "\$1" >>"$work/marks"
MARK
chmod 0755 "$work/mark.sh"
# stack HELPER TIMEOUT: the service file, with the module's code picking the marker that runs next.
stack() {
    cat >"/etc/pam.d/$service" <<STACK
auth [success=done ignore=ignore auth_err=2 authinfo_unavail=1 default=die] $module root=$WARDEN_ROOT timeout=$2 attempts=1 helper=$1
auth [success=2 default=die] pam_exec.so quiet $work/mark.sh ignore
auth [success=1 default=die] pam_exec.so quiet $work/mark.sh authinfo_unavail
auth required pam_exec.so quiet $work/mark.sh auth_err
STACK
}
# A sanitizer build's module needs its runtime loaded first into pamtester, which is not built with it.
runtime="$(ldd "$module" | awk '/libasan/ { print $3 }')"
# authenticate USER [PAMTESTER OPTIONS]: pamtester's run, its output in out and the markers that ran in marks.
authenticate() {
    rm -f "$work/marks"
    touch "$work/marks"
    local user="$1"
    shift
    env ${runtime:+LD_PRELOAD=$runtime ASAN_OPTIONS=detect_leaks=0} \
        pamtester -v "$@" "$service" "$user" authenticate >"$work/out" 2>&1
}
marks() { test "$(tr '\n' ' ' <"$work/marks")" = "$1"; }
logged() { [ "$own_devlog" = no ] || tail -n 1 "$work/syslog" | grep -qE "$1"; }

speak() { # voice, take, output
    local rate=$((150 + 6 * $2)) pitch=$((45 + 3 * $2))
    espeak-ng -v "$1" -s "$rate" -p "$pitch" -w "$work/raw.wav" "himawari"
    sox -V1 -R -D "$work/raw.wav" -r 11025 -c 1 -b 16 "$3" gain -n -8 pad 0.$((5 + $2)) 3 trim 0s 33075s
}
mkdir -p "$work/enrol" "$work/same" "$work/again" "$work/other"
for take in 0 1 2 3 4; do speak en+m3 "$take" "$work/enrol/$take.wav"; done
speak en+m3 5 "$work/same/5.wav"
# A second accepted logon gets a reading of its own: the same recording twice would be a replay.
speak en+m3 6 "$work/again/6.wav"
speak de+f4 0 "$work/other/0.wav"

"$wardenctl" init "$app" >/dev/null 2>&1
"$wardenctl" user create "$user" --name Tester --password 'never-logged' --group 0 --rights 111 >/dev/null
WARDEN_AUDIO_INPUT="$work/enrol" "$dialog" --mode 1 --purpose 4 --user "$user" --auto >"$work/out" 2>&1
check "enrolment" grep -qF "model created 1" "$work/out"
chmod 0700 "$WARDEN_ROOT"
stack "$helper" 30

# The enrolled voice: success, and no module after this one runs.
WARDEN_AUDIO_INPUT="$work/same" authenticate "$user"
check "accepted voice: success" grep -qF "successfully authenticated" "$work/out"
check "accepted voice: no further module" marks ""
check "accepted voice: the word to say came through the conversation" grep -qF "ひまわり" "$work/out"
check "accepted voice: nobody is asked to press Record" bash -c "! grep -qF '録音ボタン' '$work/out'"
check "accepted voice: logged with its score" logged "voice logon user=$user result=accept .*score=[0-9.]+/[0-9.]+ decision_ms=[0-9]+"
[ "$own_devlog" = yes ] &&
    echo "figure: end of the reading to the PAM result: $(tail -n 1 "$work/syslog" | sed 's/.*decision_ms=//') ms"

# The accepted reading once more, as a recording of that logon would bring it: refused, with its reason.
WARDEN_AUDIO_INPUT="$work/same" authenticate "$user"
check "replayed logon: auth_err, then the next module" marks "auth_err "
check "replayed logon: logged with its reason" logged "result=deny .*reason=replay of an accepted reading"

# A session with a display (a screen locker names it as the terminal): the voice dialog's window takes the
# reading, and nothing goes through the conversation.
# Under the sanitizers the window system's own libraries report leaks at exit, which the module rightly
# takes for a failing helper; the window session is left to the ordinary build there.
if [ -n "$runtime" ]; then
    echo "window session left out: the window libraries leak under the sanitizers"
elif command -v Xvfb >/dev/null; then
    for number in $(seq 90 130); do [ -e "/tmp/.X11-unix/X$number" ] || break; done
    Xvfb ":$number" -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
    WARDEN_AUDIO_INPUT="$work/again" authenticate "$user" -I "tty=:$number"
    check "window: success" grep -qF "successfully authenticated" "$work/out"
    check "window: no prompt through the conversation" bash -c "! grep -qF 'ひまわり' '$work/out'"
    check "window: logged with its score" logged "result=accept .*reason=voice accepted in the window score=[0-9.]+/[0-9.]+ "
    # The window's accepted reading played again: refused there too, and the log says why.
    WARDEN_AUDIO_INPUT="$work/again" authenticate "$user" -I "tty=:$number"
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    check "window replay: auth_err, then the next module" marks "auth_err "
    check "window replay: logged with its reason" logged "result=deny .*reason=replay of an accepted reading in the window "
    # A display whose server refuses the helper's credentials: the reading is asked for through the
    # conversation instead of the window system ending the helper.
    for locked in $(seq $((number + 1)) 139); do [ -e "/tmp/.X11-unix/X$locked" ] || break; done
    xauth -q -f "$work/cookie" add ":$locked" . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
    Xvfb ":$locked" -auth "$work/cookie" -nolisten tcp -screen 0 640x480x24 >/dev/null 2>&1 &
    locked_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$locked" ] && break; sleep 0.1; done
    mkdir -p "$work/fourth"
    speak en+m3 7 "$work/fourth/7.wav"
    WARDEN_AUDIO_INPUT="$work/fourth" authenticate "$user" -I "tty=:$locked"
    kill "$locked_pid" 2>/dev/null
    wait "$locked_pid" 2>/dev/null
    check "refused display: success through the conversation" grep -qF "successfully authenticated" "$work/out"
    check "refused display: the word to say came through the conversation" grep -qF "ひまわり" "$work/out"
else
    echo "window session left out: Xvfb is not installed"
fi

# Another voice: refused as a failed authentication; the next module decides.
WARDEN_AUDIO_INPUT="$work/other" authenticate "$user"
check "denied voice: auth_err, then the next module" marks "auth_err "
check "denied voice: logged" logged "result=deny .*reason=voice denied"

# No microphone: the voice cannot be judged.
WARDEN_AUDIO_INPUT="$work/no-such-input" authenticate "$user"
check "no microphone: authinfo_unavail" marks "authinfo_unavail "
check "no microphone: logged" logged "result=unavailable .*reason=no sound input"

# A user the installation does not know: the module stays out of the decision.
WARDEN_AUDIO_INPUT="$work/same" authenticate "nobody-$$"
check "unknown user: ignore" marks "ignore "
check "unknown user: logged" logged "user=nobody-$$ result=unknown"

# A store that others could read: the installation is not trusted, whatever the voice.
chmod 0644 "$app/halvoxuid.dat"
WARDEN_AUDIO_INPUT="$work/same" authenticate "$user"
check "loose store mode: authinfo_unavail" marks "authinfo_unavail "
check "loose store mode: logged" logged "result=unavailable .*reason=unsafe installation"
chmod 0600 "$app/halvoxuid.dat"

# A helper that crashes after claiming acceptance, and one that never answers.
printf '#!/bin/sh\necho "result accept 0.1/0.5 voice accepted"\nkill -SEGV $$\n' >"$work/crashing-helper"
chmod 0755 "$work/crashing-helper"
stack "$work/crashing-helper" 30
authenticate "$user"
check "crashed helper: authinfo_unavail" marks "authinfo_unavail "
check "crashed helper: logged" logged "result=crash"
printf '#!/bin/sh\nexec sleep 60\n' >"$work/silent-helper"
chmod 0755 "$work/silent-helper"
stack "$work/silent-helper" 1
authenticate "$user"
check "helper past its time: authinfo_unavail" marks "authinfo_unavail "
check "helper past its time: logged" logged "result=timeout"
check "no password in the auth log" bash -c "! grep -qF never-logged '$work/syslog' 2>/dev/null"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
