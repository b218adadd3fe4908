#!/usr/bin/env bash
# halvox verify with a history of accepted readings: an accepted reading given again, or played through a
# loudspeaker chain, is denied as a replay; a new reading is not; a damaged history reads as empty. The
# readings are espeak-ng voices; without espeak-ng or sox the test is skipped (exit 77).
#
#   halvox_replay_test.sh HALVOX ENGINE_DATA
set -u
halvox="$(realpath "$1")"
data="$(realpath "$2")"
for program in espeak-ng sox; do
    command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() { # description, command... (must succeed)
    local what="$1"
    shift
    if "$@"; then passed=$((passed + 1)); else
        failed=$((failed + 1))
        echo "FAIL: $what"
        sed 's/^/  | /' "$work/out" "$work/err" 2>/dev/null
    fi
}
verify() { # expected exit status, extra arguments...
    local want="$1"
    shift
    "$halvox" verify --dir "$work/engine" --user tanaka --word aaj "$@" >"$work/out" 2>"$work/err"
    test $? -eq "$want"
}
speak() { # take, output: the word at a rate, pitch and lead-in of its own per take
    espeak-ng -v en+m3 -s $((150 + 6 * $1)) -p $((45 + 3 * $1)) -w "$work/raw.wav" "himawari"
    sox -V1 -R -D "$work/raw.wav" -r 11025 -c 1 -b 16 "$2" gain -n -8 pad 0.$((5 + $1)) 3 trim 0s 33075s
}

cp -r "$data" "$work/engine"
mkdir -p "$work/engine/user" "$work/engine/work"
for take in 0 1 2 3 4 5 6 7; do speak "$take" "$work/$take.wav"; done
"$halvox" enrol --dir "$work/engine" --user tanaka --word aaj --text ひまわり "$work"/[0-4].wav >"$work/out" 2>&1
check "enrolment" grep -q "model written" "$work/out"
history="$work/engine/halvoxurh.dat"

check "--remember needs --history" verify 2 --remember "$work/5.wav"
check "a new reading is accepted and kept" verify 0 --history "$history" --remember "$work/5.wav"
check "the history is private" test "$(stat -c %a "$history")" = 600
check "the same reading again is a replay" verify 1 --history "$history" "$work/5.wav"
check "the replay's denial names its reason" grep -qx "decision: denied (replay of an accepted reading)" "$work/out"
# The accepted reading through a small loudspeaker in a room: band limits, overdrive, echo, a new level.
sox -V1 "$work/5.wav" "$work/played.wav" sinc 600-3400 overdrive 6 reverb 35 gain -n -12
check "a replay through a loudspeaker is refused" verify 1 --history "$history" "$work/played.wav"
check "its reason too" grep -qx "decision: denied (replay of an accepted reading)" "$work/out"
check "another reading of the word is not a replay" verify 0 --history "$history" "$work/6.wav"
check "and tells how near it came" grep -q "^nearest accepted reading: " "$work/out"
check "without a history the check is left out" verify 0 "$work/5.wav"
check "without a history nothing is said about one" bash -c "! grep -q 'nearest accepted' '$work/out'"

echo "garbage" >"$history"
check "a damaged history reads as empty" verify 0 --history "$history" --remember "$work/7.wav"
check "and says so" grep -qx "history: damaged, read as empty" "$work/out"
check "and is written anew" bash -c "! grep -q garbage '$history'"
check "the rewritten history refuses the kept reading" verify 1 --history "$history" "$work/7.wav"

echo "halvox replay: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
