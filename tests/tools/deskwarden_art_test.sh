#!/usr/bin/env bash
# deskwarden-art: the same pictures on every run, the committed pictures are the tool's current output,
# and the lock screen's slides are 24-bit pictures of the size the slide show expects.
set -u
tool="$(realpath "$1")"
committed="$(realpath "$2")"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

"$tool" "$root/a" 2>/dev/null && "$tool" "$root/b" 2>/dev/null && pass || fail "the tool did not run"
diff -r "$root/a" "$root/b" >/dev/null && pass || fail "two runs differ: $(diff -rq "$root/a" "$root/b" | head -3)"
if diff -r "$root/a" "$committed" >"$root/diff"; then pass; else
    fail "data/deskwarden is not the tool's output; run tools/deskwarden-art/generate.sh"; head -5 "$root/diff"; fi

"$tool" --slides "$root/slides" 2>/dev/null && pass || fail "--slides did not run"
for n in 1 2 3 4 5; do
    f="$root/slides/screen0$n.bmp"
    # 54 bytes of headers, then 800 x 600 pixels of 3 bytes with rows already a multiple of four.
    [ -f "$f" ] && [ "$(stat -c %s "$f")" -eq $((54 + 800 * 600 * 3)) ] && pass || fail "screen0$n.bmp missing or not 800 x 600 x 24"
    [ "$(head -c 2 "$f")" = BM ] && pass || fail "screen0$n.bmp is no bitmap"
done
cmp -s "$root/slides/screen01.bmp" "$root/slides/screen02.bmp" && fail "two slides are the same picture" || pass

"$tool" >/dev/null 2>&1
[ $? -eq 2 ] && pass || fail "no folder is not a usage error"

echo "deskwarden-art: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
