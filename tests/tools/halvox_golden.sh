#!/usr/bin/env bash
# Runs halvox over the bundled sample in each endpoint mode and compares with the recorded results,
# so that any change of the engine's detection shows up as a diff to be explained.
set -u
tool="$1"
sample="$2"
expected="$3"
actual="$(mktemp)"
trap 'rm -f "$actual"' EXIT
for flags in "" "--trim" "--enrol" "--enrol --trim"; do
    echo "## endpoint $flags"
    # shellcheck disable=SC2086
    "$tool" endpoint "$sample" $flags
    echo "exit $?"
done >"$actual" 2>&1
echo "## features (first and last vector)" >>"$actual"
"$tool" features "$sample" | sed -n '2p;$p' >>"$actual"
if diff -u "$expected" "$actual"; then
    echo "halvox: 1 passed, 0 failed"
else
    echo "halvox: 0 passed, 1 failed"
    exit 1
fi
