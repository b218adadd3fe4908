#!/usr/bin/python3
"""Which part of the webcam microphone costs the genuine readings: its band limit or its room.

Writes a corpus of the evaluation voices of an existing corpus whose verification readings are that corpus's
full-band verification readings, each four times: as it is (`full`), through the webcam's band limit only
(`band`), through its room only (`room`), and through both with the same draws (`webcam`). The enrolment
readings are the source corpus's own. `halvox eval --corpus OUT ...` then reports false rejection per
microphone kind, one kind per part:

    microphone_parts.py --corpus /tmp/halvox-corpus-families --out /tmp/mic-parts [--seed 20261208]
    halvox eval --corpus /tmp/mic-parts --engine-data data/engine --work /tmp/w --out /tmp/mic-parts-eval --no-update
    microphone_parts.py --summarise /tmp/mic-parts-eval

The last prints false rejection and false acceptance at the dialog's margin per part from the evaluation's
trials.tsv. Deterministic for a seed.
"""

import argparse
import csv
import hashlib
import os
import sys
import wave

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import replay_chains as chains  # noqa: E402

ENROLMENT_TAKES = 5
PARTS = ("full", "band", "room", "webcam")  # the order in which each source reading's versions are written


def key(*parts):
    return int.from_bytes(hashlib.sha256("/".join(map(str, parts)).encode()).digest()[:4], "little")


def read_wav(path):
    with wave.open(path, "rb") as w:
        return np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(float)


def write_wav(path, x, peak):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    y = np.clip(np.round(x * peak / (np.abs(x).max() or 1.0)), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(chains.RATE)
        w.writeframes(y.tobytes())


def webcam_parts(seed, name, x):
    """The reading through each part of the webcam microphone; both parts draw as in the corpus's chain."""
    band_only = chains.spectral_gain(x, chains.webcam_band(np.random.default_rng([seed, key(name, "band")])))
    room_only = chains.webcam_room(np.random.default_rng([seed, key(name, "room")]), x)
    both = chains.webcam_room(np.random.default_rng([seed, key(name, "room")]), band_only)
    return dict(zip(PARTS, (x, band_only, room_only, both)))


def summarise(evaluation):
    """False rejection and acceptance per part; a probe's part follows from its verification take."""
    genuine = {p: [0, 0] for p in PARTS}
    impostor = {p: [0, 0] for p in PARTS}
    with open(os.path.join(evaluation, "trials.tsv"), encoding="utf-8") as f:
        for r in csv.DictReader(f, delimiter="\t"):
            part = PARTS[int(r["take"]) % len(PARTS)]
            if r["genuine"] == "1":
                genuine[part][0] += 1
                genuine[part][1] += r["accepted"] == "0"
            elif r["same_family"] == "0":
                impostor[part][0] += 1
                impostor[part][1] += r["accepted"] == "1"
    for part in PARTS:
        (g, rejected), (i, accepted) = genuine[part], impostor[part]
        print(f"{part:8s} false rejection {100.0 * rejected / max(1, g):6.2f} % ({rejected} of {g})   "
              f"false acceptance {100.0 * accepted / max(1, i):5.2f} % ({accepted} of {i})")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--corpus")
    ap.add_argument("--out")
    ap.add_argument("--seed", type=int, default=20261208)
    ap.add_argument("--summarise", metavar="EVALUATION", help="print the figures of an evaluation of OUT")
    args = ap.parse_args()
    if args.summarise:
        summarise(args.summarise)
        return
    if not args.corpus or not args.out:
        ap.error("--corpus and --out are needed (or --summarise)")

    with open(os.path.join(args.corpus, "manifest.tsv"), encoding="utf-8") as f:
        lines = [line for line in f if not line.startswith("#")]
    rows = list(csv.DictReader(lines, delimiter="\t"))
    fields = list(rows[0].keys())
    evaluation = [r for r in rows if r["split"] == "eval" and r["replay"] == "0"]
    out_rows = []
    by_speaker = {}
    for r in evaluation:
        by_speaker.setdefault((r["voice"], r["word"]), []).append(r)
    for (voice, word), readings in sorted(by_speaker.items()):
        readings.sort(key=lambda r: int(r["take"]))
        enrolment, verification = readings[:ENROLMENT_TAKES], readings[ENROLMENT_TAKES:]
        for r in enrolment:
            out_rows.append(dict(r, file=os.path.abspath(os.path.join(args.corpus, r["file"]))))
        take = ENROLMENT_TAKES
        for r in verification:
            if r["mic"] != "full":
                continue
            x = read_wav(os.path.join(args.corpus, r["file"]))
            peak = np.abs(x).max() or 1.0
            for part, y in webcam_parts(args.seed, r["file"], x).items():
                name = os.path.join("eval", voice, f"{word}_{take:02d}.wav")
                write_wav(os.path.join(args.out, name), y, peak)
                out_rows.append(dict(r, file=name, take=str(take), mic=part))
                take += 1
    with open(os.path.join(args.out, "manifest.tsv"), "w", encoding="utf-8", newline="") as f:
        f.write(f"# parts of the webcam microphone, seed {args.seed}, from {os.path.abspath(args.corpus)}\n")
        w = csv.DictWriter(f, fieldnames=fields, delimiter="\t", lineterminator="\n")
        w.writeheader()
        w.writerows(out_rows)
    print(f"{len(out_rows)} readings in {args.out}")


if __name__ == "__main__":
    main()
