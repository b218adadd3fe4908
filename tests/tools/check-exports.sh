#!/usr/bin/env bash
# Compares the dynamic symbols a shared library defines with the committed list of its interface:
# anything more is a leak of internals, anything less a missing function.
set -euo pipefail
library="$1"
expected="$2"
actual="$(nm -D --defined-only "$library" | awk '{print $3}' | grep -v '^_' | LC_ALL=C sort)"
if ! diff -u "$expected" <(printf '%s\n' "$actual"); then
    echo "exported symbols of $library differ from $expected"
    exit 1
fi
echo "exports of $(basename "$library") match $(basename "$expected")"
