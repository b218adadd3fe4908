#!/usr/bin/env bash
# wardenctl transfer end to end between two installations on loopback: a user enrolled by voice in A
# arrives in B and is accepted there by his voice; a user without voices arrives without models; the
# receiver drops junk and a cut-off message and goes on waiting; declining answers RECEIVED CANCEL; an
# existing ID is replaced. The readings are espeak-ng voices; without espeak-ng or sox the test is skipped.
#
#   wardenctl_transfer_test.sh WARDENCTL VOICE_DIALOG
set -u
wardenctl="$(realpath "$1")"
dialog="$(realpath "$2")"
for program in espeak-ng sox; do
    command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
done
work="$(mktemp -d)"
receiver=""
trap '[ -n "$receiver" ] && kill "$receiver" 2>/dev/null; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none WARDEN_TRANSFER_ADDRESS=127.0.0.1
unset WARDEN_AUDIO_INPUT WARDEN_TRANSFER_PORT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

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
in_a() { WARDEN_ROOT="$work/a" "$@"; }
in_b() { WARDEN_ROOT="$work/b" "$@"; }

speak() { # take, output
    espeak-ng -v en+m3 -s $((150 + 6 * $1)) -p $((45 + 3 * $1)) -w "$work/raw.wav" "himawari"
    sox -V1 -R -D "$work/raw.wav" -r 11025 -c 1 -b 16 "$2" gain -n -8 pad 0.$((5 + $1)) 3 trim 0s 33075s
}
mkdir -p "$work/enrol" "$work/same"
for take in 0 1 2 3 4; do speak "$take" "$work/enrol/$take.wav"; done
speak 5 "$work/same/5.wav"

in_a "$wardenctl" init "$work/a/program" >/dev/null || fail "init A"
in_b "$wardenctl" init "$work/b/program" >/dev/null || fail "init B"
in_a "$wardenctl" user create tanaka --name Tanaka --password secret --group 0 --rights 111 >/dev/null
in_a "$wardenctl" user create silent --name Silent --password quiet --group 1 --rights 100 >/dev/null
WARDEN_ROOT="$work/a" WARDEN_AUDIO_INPUT="$work/enrol" "$dialog" --mode 1 --purpose 4 --user tanaka --auto \
    >"$work/enrol.out" 2>&1 || fail "enrolment in A"

# Starts a receiver in B on a free port with the given answers on its standard input; sets $port.
start_receiver() { # answers, options...
    local answers="$1"
    shift
    printf '%b' "$answers" | in_b "$wardenctl" transfer receive --port 0 "$@" >"$work/received" 2>&1 &
    receiver=$!
    port=""
    for _ in $(seq 100); do
        port="$(sed -n 's/^waiting on port \([0-9]*\)$/\1/p' "$work/received")"
        [ -n "$port" ] && return 0
        sleep 0.1
    done
    fail "the receiver did not start"
    sed 's/^/  | /' "$work/received"
}
finish_receiver() { # expected status
    local status
    wait "$receiver"
    status=$?
    receiver=""
    [ "$status" -eq "$1" ] || { fail "receiver exit $status, expected $1"; sed 's/^/  | /' "$work/received"; }
}
send() { # expected status, ID
    in_a "$wardenctl" transfer send "$2" --to "127.0.0.1:$port" >"$work/sent" 2>&1
    local status=$?
    [ "$status" -eq "$1" ] || { fail "send $2: exit $status, expected $1"; sed 's/^/  | /' "$work/sent"; }
}

# Junk and a message cut off after its lengths are dropped; the receiver still takes the next whole one.
start_receiver "" --accept
printf 'GET / HTTP/1.0\r\n\r\n' >"/dev/tcp/127.0.0.1/$port"
printf 'MODEL TRANSFER?\x04\x00HOST' >"/dev/tcp/127.0.0.1/$port"
send 0 tanaka
finish_receiver 0
expect "junk dropped" test "$(grep -c '^dropped a connection' "$work/received")" -eq 2
expect "sender told of the import" grep -qF "送信されました。" "$work/sent"
expect "receiver imported one model" grep -qF "imported user tanaka with 1 model(s); replied RECEIVED DONE! " "$work/received"
in_b "$wardenctl" user show tanaka >"$work/show" 2>&1
expect "arrived as a general user without rights" grep -qF "rights (logon, encrypt, decrypt): 000" "$work/show"
expect "arrived with his voice" grep -qF "voices: aaj" "$work/show"
WARDEN_ROOT="$work/b" WARDEN_AUDIO_INPUT="$work/same" "$dialog" --mode 2 --purpose 4 --user tanaka --auto \
    >"$work/verify.out" 2>&1
expect "his voice is accepted in B" grep -qF "result 1: user tanaka" "$work/verify.out"

start_receiver "" --accept
send 0 silent
finish_receiver 0
expect "a user without voices arrives without models" grep -qF "imported user silent with 0 model(s)" "$work/received"

start_receiver "n\n"
send 1 tanaka
finish_receiver 1
expect "declining replies RECEIVED CANCEL" grep -qF "declined; replied RECEIVED CANCEL" "$work/received"
expect "the sender is told of the refusal" grep -qF "取り消しされました。" "$work/sent"

in_a "$wardenctl" user set tanaka --password changed >/dev/null
start_receiver "y\ny\n"
send 0 tanaka
finish_receiver 0
expect "the overwrite question is asked" grep -qF "同名のユーザーが既に存在します。上書きしますか？" "$work/received"
expect "an existing ID is replaced" grep -qF "replaced user tanaka with 1 model(s)" "$work/received"
in_b "$wardenctl" users >"$work/users"
expect "one tanaka in B" test "$(grep -c '^tanaka$' "$work/users")" -eq 1
in_b "$wardenctl" user show tanaka >"$work/show" 2>&1
expect "the replacement's voice is kept" grep -qF "voices: aaj" "$work/show"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
