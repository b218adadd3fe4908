#!/bin/sh
# Writes a spoken word as a 3 s recording: raw signed 16-bit little-endian mono at 11025 samples per
# second, with 0.8 s of silence before the word, as the voice dialog would capture it.
# Usage: make_spoken_word.sh OUTPUT.raw [WORD]
set -eu
out="$1"
word="${2:-window}"
tmp="$out.tmp.wav"
espeak-ng -s 120 -w "$tmp" "$word"
sox "$tmp" -r 11025 -c 1 -b 16 -e signed-integer -t raw "$out" pad 0.8 3 trim 0 3
rm -f "$tmp"
