#!/usr/bin/env bash
# Makes the bundled sample reading: one spoken word, 3 s of 16-bit mono at 11025 samples per second
# (33075 samples), the word starting 0.6 s in, with faint room noise. Same tools, same bytes.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

espeak-ng -v it+m3 -s 140 -w "$tmp/word.wav" "hikarinomichi"
# -D: no dither, so that every run gives the same samples.
sox -R -D "$tmp/word.wav" -r 11025 -c 1 -b 16 "$tmp/word11k.wav" gain -n -6 pad 0.6 3
sox -R -D -n -r 11025 -c 1 -b 16 "$tmp/noise.wav" synth 3.2 whitenoise vol 0.003
sox -R -D -m "$tmp/word11k.wav" "$tmp/noise.wav" -b 16 "$tmp/mixed.wav"
sox -R -D "$tmp/mixed.wav" -b 16 "$here/sample.wav" trim 0s 33075s
