#!/usr/bin/env bash
# Makes the voice dialog's prompt sounds: Japanese speech from espeak-ng, converted by sox to 16-bit
# mono at 11025 Hz. Repeatable: espeak-ng is deterministic and sox runs without dither and with a fixed
# random seed (-R -D), so the same packages give the same bytes.
set -euo pipefail

out=${1:?usage: make-prompts.sh WAVE_FOLDER}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# File name and the sentence, in kana: the Japanese voice reads kana, not kanji.
prompts=(
    "sv_wordrec|おんせいあんごうを えらんでから、ろくおんボタンを おしてください。"
    "sv_rec|ろくおんボタンを おしてください。"
    "sv_read|おんせいパスワードを ろくおんしてください。"
    "sv_readmore|くりかえし よんでください。"
    "sv_readagain|もういちど よんでください。"
    "sv_verifytrue|にんしょう されました。"
    "sv_verifyfalse|もうしわけありませんが、にんしょうが きょひされました。"
    "sv_modeltrue|モデルの さくせいに せいこうしました。"
    "sv_modelfalse|とうろくに しっぱいしました。"
)

for entry in "${prompts[@]}"; do
    name=${entry%%|*}
    text=${entry#*|}
    espeak-ng -v ja -s 150 -p 55 -a 120 -w "$tmp/$name.wav" "$text"
    sox -R -D "$tmp/$name.wav" -r 11025 -c 1 -b 16 "$out/$name.wav" gain -n -3
done
