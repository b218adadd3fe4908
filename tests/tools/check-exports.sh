#!/usr/bin/env bash
# Compares the dynamic symbols a shared library defines with the committed list of its interface:
# anything more is a leak of internals, anything less a missing function.
#
#   check-exports.sh LIBRARY LIST            compare
#   check-exports.sh --update LIBRARY LIST   rewrite LIST from LIBRARY (after an intended change)
#
# Names are compared demangled, so a C++ list reads like the declarations it stands for; C names pass
# through unchanged. The linker's own markers (__bss_start, _edata, _end) are no part of an interface.
set -euo pipefail
update=no
if [ "${1:-}" = "--update" ]; then
    update=yes
    shift
fi
if [ $# -ne 2 ]; then
    echo "usage: $0 [--update] LIBRARY LIST" >&2
    exit 2
fi
library="$1"
expected="$2"

# A symbol of local binding may still sit in the dynamic table (the linker leaves some there that a version
# script made local, as in the sanitizer build); no other module can bind to it, so it is no export. nm
# writes local types in lower case, except u, v, w and i, which are unique, weak and indirect globals.
exported_names() {
    nm -DC --defined-only "$library" | awk '$2 !~ /^[a-z]$/ || $2 ~ /^[uvwi]$/' | cut -d' ' -f3- | grep -v '^_' |
        LC_ALL=C sort -u
}

actual="$(exported_names)"
if [ "$update" = yes ]; then
    printf '%s\n' "$actual" >"$expected"
    echo "wrote $(wc -l <"$expected") exported names of $(basename "$library") to $expected"
    exit 0
fi
if ! diff -u "$expected" <(printf '%s\n' "$actual"); then
    echo "exported symbols of $library differ from $expected"
    echo "(+ exported but not listed, - listed but not exported)."
    echo "If the change of the interface is intended, rewrite the list and commit it:"
    echo "    $0 --update $library $expected"
    exit 1
fi
echo "exports of $(basename "$library") match $(basename "$expected")"
