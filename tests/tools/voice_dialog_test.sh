#!/usr/bin/env bash
# voice-dialog end to end in a throwaway installation made by `wardenctl init`: one speaker enrols the
# word ひまわり with five readings, is accepted on a sixth, and another speaker is denied after five
# attempts. The readings are espeak-ng voices (as scripts/run.sh makes them); without espeak-ng or sox
# the test is skipped (exit 77).
#
#   voice_dialog_test.sh WARDENCTL VOICE_DIALOG
set -u
wardenctl="$(realpath "$1")"
dialog="$(realpath "$2")"
for program in espeak-ng sox; do
    command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export WARDEN_ROOT="$work/root" QT_QPA_PLATFORM=offscreen WARDEN_AUDIO_OUTPUT=null WARDEN_AUDIO_MIXER=none
unset WARDEN_AUDIO_INPUT
# Qt warns on stderr without a runtime folder of the user's own; the usage checks count stderr lines.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
app="$WARDEN_ROOT/program"

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
    failed=$((failed + 1))
    echo "FAIL: $*"
}
run() { # description, expected exit status, command...
    local what="$1" want="$2"
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" -eq "$want" ]; then
        pass
    else
        fail "$what: exit $got, expected $want"
        sed 's/^/  | /' "$work/out" "$work/err"
    fi
}
expect() { # description, command... (a test that must succeed)
    local what="$1"
    shift
    if "$@"; then pass; else fail "$what"; fi
}

speak() { # voice, take, output: the word at a rate, pitch and lead-in of its own per take
    local rate=$((150 + 6 * $2)) pitch=$((45 + 3 * $2))
    espeak-ng -v "$1" -s "$rate" -p "$pitch" -w "$work/raw.wav" "himawari"
    sox -V1 -R -D "$work/raw.wav" -r 11025 -c 1 -b 16 "$3" gain -n -8 pad 0.$((5 + $2)) 3 trim 0s 33075s
}
mkdir -p "$work/enrol" "$work/same" "$work/other"
for take in 0 1 2 3 4; do
    speak en+m3 "$take" "$work/enrol/$take.wav"
    speak de+f4 "$take" "$work/other/$take.wav"
done
speak en+m3 5 "$work/same/5.wav"

# Usage and start-up errors: status 2, one line on stderr, no window needed.
run "no mode" 2 "$dialog" --purpose 0 --user tanaka
expect "usage error is one line" test "$(wc -l <"$work/err")" -eq 1
run "mode out of range" 2 "$dialog" --mode 3 --purpose 0 --user tanaka
run "no installation registered" 2 "$dialog" --mode 2 --purpose 0 --user tanaka --auto
expect "start-up error is one line" test "$(wc -l <"$work/err")" -eq 1

run "wardenctl init" 0 "$wardenctl" init "$app"
run "create the user" 0 "$wardenctl" user create tanaka --name Tanaka --password secret --group 0 --rights 111
cp "$app/halvoxuvd.dat" "$work/voices-before"

# Enrolment: five readings train the model of the first word of the list, which is then stored.
WARDEN_AUDIO_INPUT="$work/enrol" run "enrolment" 0 "$dialog" --mode 1 --purpose 4 --user tanaka --auto
expect "enrolment trained a model" grep -qF "result 1: user tanaka, word ひまわり, nick aaj, model created 1" "$work/out"
run "voice list after enrolment" 0 "$wardenctl" voices list tanaka
expect "the word is in the user's voice list" test "$(cat "$work/out")" = aaj
expect "the model moved from the work folder" test ! -e "$app/work/aaj.bin"
expect "the model went into the voice dictionary" test -n "$(cmp "$app/halvoxuvd.dat" "$work/voices-before" 2>&1)"
expect "enrolment writes no result line" test ! -s "$app/result.log"

# Verification of the same voice: accepted on the first reading, with the model fetched from the
# voice dictionary (the work folder no longer holds it).
WARDEN_AUDIO_INPUT="$work/same" run "verify the enrolled voice" 0 "$dialog" --mode 2 --purpose 0 --user tanaka --auto
expect "one Accept line" test "$(grep -c '^\[[0-9-]* [0-9:]*\] tanaka : Logon : Accept$' "$app/result.log")" -eq 1

# The accepted reading once more, as a recording of that unlock would bring it: refused on every attempt
# as a replay, with its own reason in the Denied line.
WARDEN_AUDIO_INPUT="$work/same" run "the accepted reading again" 1 "$dialog" --mode 2 --purpose 0 --user tanaka --auto
expect "a Denied line with the replay's reason" \
    test "$(tail -n 1 "$app/result.log" | sed 's/^\[[0-9-]* [0-9:]*\] //')" = "tanaka : Logon : Denied (replay of an accepted reading)"

# Another voice: five denied attempts, then one Denied line and the dialog ends with 2.
WARDEN_AUDIO_INPUT="$work/other" run "verify another voice" 1 "$dialog" --mode 2 --purpose 0 --user tanaka --auto
expect "denial ends the dialog with 2" grep -qF "result 2: user tanaka" "$work/out"
expect "one Denied line after the Accept line" \
    test "$(tail -n 1 "$app/result.log" | sed 's/^\[[0-9-]* [0-9:]*\] //')" = "tanaka : Logon : Denied"
expect "three result lines in all" test "$(wc -l <"$app/result.log")" -eq 3

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
