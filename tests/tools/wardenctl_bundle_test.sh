#!/usr/bin/env bash
# wardenctl bundle end to end in a throwaway system root: pack for an owner and a permitted user, list,
# unpack as each of them, and the refusals (wrong password, a user not permitted, a missing right, a
# damaged bundle, usage errors) with their exit statuses.
set -u
tool="$(realpath "$1")"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
export WARDEN_ROOT="$root/system"
app="$root/app"
mkdir -p "$app" "$root/src/docs/deep"
printf 'alpha\n' >"$root/src/a.txt"
head -c 70000 /dev/urandom >"$root/src/docs/deep/blob.bin"
: >"$root/src/docs/empty"
printf 'pw-alice\n' >"$root/alice.pw"
printf 'pw-bob\n' >"$root/bob.pw"
printf 'pw-carol\n' >"$root/carol.pw"
printf 'wrong\n' >"$root/wrong.pw"
printf 'sesame\n' >"$root/bundle.pw"

passed=0
failed=0
check() { # description, expected exit status, command...
    local what="$1" want="$2"
    shift 2
    "$@" >"$root/out" 2>"$root/err" </dev/null
    local got=$?
    if [ "$got" -eq "$want" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what: exit $got, expected $want"
        sed 's/^/  | /' "$root/out" "$root/err"
    fi
}
has() { # description, file, text
    if grep -qF -- "$3" "$2"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $1: $2 lacks '$3'"
        sed 's/^/  | /' "$2"
    fi
}
same() { # description, file, file
    if cmp -s "$2" "$3"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $1: $2 and $3 differ"
    fi
}

"$tool" app-path "$app" >/dev/null
"$tool" user create alice --name Alice --password pw-alice --rights 111 >/dev/null
"$tool" user create bob --name Bob --password pw-bob --group 1 --rights 111 >/dev/null
"$tool" user create carol --name Carol --password pw-carol --group 1 --rights 111 >/dev/null
"$tool" user create dave --name Dave --password pw-dave --group 1 --rights 101 >/dev/null

b="$root/b.wdv"
check "pack for alice, permitting bob" 0 "$tool" bundle pack "$b" --owner alice --permit bob \
    --password-file "$root/alice.pw" "$root/src/a.txt" "$root/src/docs"
check "list the bundle" 0 "$tool" bundle list "$b"
has "owner listed" "$root/out" "owner: alice"
has "permitted user listed" "$root/out" "permitted: bob"
has "folder record listed" "$root/out" "d /docs/deep"
has "file record listed with its size" "$root/out" "f /docs/deep/blob.bin 70000"

check "the owner unpacks" 0 "$tool" bundle unpack "$b" --out "$root/out-alice" --user alice \
    --password-file "$root/alice.pw"
same "owner's copy of a.txt" "$root/src/a.txt" "$root/out-alice/a.txt"
same "owner's copy of the deep file" "$root/src/docs/deep/blob.bin" "$root/out-alice/docs/deep/blob.bin"
check "the permitted user unpacks" 0 "$tool" bundle unpack "$b" --out "$root/out-bob" --user bob \
    --password-file "$root/bob.pw"
same "permitted user's copy" "$root/src/docs/deep/blob.bin" "$root/out-bob/docs/deep/blob.bin"
check "unpacking again keeps the files there" 0 "$tool" bundle unpack "$b" --out "$root/out-bob" --user bob \
    --password-file "$root/bob.pw"
has "kept files reported" "$root/err" "kept 3 existing file(s)"

check "a user not permitted is refused" 1 "$tool" bundle unpack "$b" --out "$root/out-carol" --user carol \
    --password-file "$root/carol.pw"
has "refusal says why" "$root/err" "may not open this bundle"
[ ! -e "$root/out-carol" ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: refused unpack made output"; }
check "a wrong password is refused" 1 "$tool" bundle unpack "$b" --out "$root/x" --user alice \
    --password-file "$root/wrong.pw"
has "wrong password named" "$root/err" "wrong password"
check "without a terminal or a password file the user is refused" 1 "$tool" bundle unpack "$b" --out "$root/x" \
    --user alice
check "a user without the encryption right cannot pack" 1 "$tool" bundle pack "$root/d.wdv" --owner dave \
    --password-file <(printf 'pw-dave\n') "$root/src/a.txt"
check "permitting an unknown user is refused" 1 "$tool" bundle pack "$root/c.wdv" --owner alice --permit nobody \
    --password-file "$root/alice.pw" "$root/src/a.txt"
check "an existing bundle is kept" 1 "$tool" bundle pack "$b" --owner alice --password-file "$root/alice.pw" \
    "$root/src/a.txt"

check "several permitted users by repeating the option" 0 "$tool" bundle pack "$root/p.wdv" --owner alice \
    --permit bob --permit carol --bundle-password-file "$root/bundle.pw" --password-file "$root/alice.pw" \
    "$root/src/a.txt"
check "list shows both" 0 "$tool" bundle list "$root/p.wdv"
has "both permitted" "$root/out" "permitted: bob carol"
has "file password shown as set" "$root/out" "file password: yes"
check "the bundle password is required" 1 "$tool" bundle unpack "$root/p.wdv" --out "$root/out-p" --user carol \
    --password-file "$root/carol.pw" --bundle-password-file "$root/wrong.pw"
check "with the bundle password carol unpacks" 0 "$tool" bundle unpack "$root/p.wdv" --out "$root/out-p" \
    --user carol --password-file "$root/carol.pw" --bundle-password-file "$root/bundle.pw"

# An interrupted unpack stops and leaves no partly deciphered file: wait for the hidden file that the
# deciphering writes, then interrupt.
head -c $((40 * 1024 * 1024)) /dev/zero >"$root/big.bin"
"$tool" bundle pack "$root/big.wdv" --owner alice --password-file "$root/alice.pw" "$root/big.bin" >/dev/null
"$tool" bundle unpack "$root/big.wdv" --out "$root/out-big" --user alice --password-file "$root/alice.pw" \
    >/dev/null 2>"$root/err" &
unpacking=$!
for _ in $(seq 1 2000); do
    compgen -G "$root/out-big/.QX*" >/dev/null && break
    sleep 0.01
done
kill -INT "$unpacking"
wait "$unpacking"
status=$?
if [ "$status" -eq 1 ] && ! compgen -G "$root/out-big/.QX*" >/dev/null && [ ! -e "$root/out-big/big.bin" ]; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "FAIL: interrupted unpack: exit $status; left: $(ls -A "$root/out-big" 2>&1)"
fi

printf 'NotABundle-at-all' >"$root/bad.wdv"
check "a file that is not a bundle" 1 "$tool" bundle list "$root/bad.wdv"
has "damage named" "$root/err" "not a bundle"
head -c 600 "$b" >"$root/cut.wdv"
check "a cut bundle does not unpack" 1 "$tool" bundle unpack "$root/cut.wdv" --out "$root/out-cut" --user alice \
    --password-file "$root/alice.pw"
check "a cut bundle does not list" 1 "$tool" bundle list "$root/cut.wdv"

check "pack without an owner" 2 "$tool" bundle pack "$root/e.wdv" "$root/src/a.txt"
check "unpack without a folder" 2 "$tool" bundle unpack "$b"
check "an unknown bundle action" 2 "$tool" bundle shred "$b"
check "stderr is one line" 2 "$tool" bundle
[ "$(wc -l <"$root/err")" -eq 1 ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: usage error is not one line"; }

echo "wardenctl bundle: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
