#!/usr/bin/env bash
# Builds the engine data twice from the same corpus (by default a small subset of its training voices)
# and fails when any byte differs:
#   tools/modelbuild/check-reproducible.sh BUILD_DIR CORPUS_DIR [VOICES_PER_GENDER (default 3; 0 = all)]
# With a third argument of 0 and data/engine as reference, it also proves the committed files:
#   REFERENCE=data/engine tools/modelbuild/check-reproducible.sh build CORPUS 0
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR CORPUS_DIR [VOICES_PER_GENDER]" >&2
    exit 2
fi
tool="$1/bin/halvox-modelbuild"
corpus="$2"
voices="${3:-3}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for run in first second; do
    "$tool" --corpus "$corpus" --out "$work/$run" --vocabulary "$root/data/vocabulary.tsv" \
        --voices-per-gender "$voices" >"$work/$run.log"
done
diff -r "$work/first" "$work/second"
if [ -n "${REFERENCE:-}" ]; then
    diff -r "$REFERENCE" "$work/first"
    echo "identical to $REFERENCE"
fi
echo "two builds gave identical bytes ($(find "$work/first" -name '*.bin' | wc -l) files)"
