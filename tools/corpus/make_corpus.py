#!/usr/bin/python3
"""Synthetic voice corpus for the engine's shipped models and its accuracy measurement.

Every espeak-ng voice variant (each paired with one language that reads romaji well), the default voices
of more espeak-ng languages, every flite voice and vocal-tract-length and pitch perturbed copies of some of
them speak the six password words of data/vocabulary.tsv. Each reading is one 3 s recording of 33075
samples at 11025 Hz, 16-bit mono: the word at a random offset in low background noise, with random speaking
rate, pitch, level and spectral tilt, picked up by one of several microphone kinds. Replayed readings pass
through one of several named loudspeaker kinds (replay_chains.py), a room and a microphone instead. The
voices are split into a training part and an evaluation part.

Every reading is tagged with its voice family (the synthesiser or voice source) and, if replayed, its
loudspeaker family, or else its microphone kind, so that a family can be left out of the models and
measured on its own.

The output depends only on the seed, the vocabulary and the installed synthesisers: every reading
draws its random numbers from a generator keyed by (seed, voice, word, take, replay, attempt).

    make_corpus.py --out DIR [--seed N] [--jobs 2] [--check path/to/halvox] [--voices N] [--replayed-only]

With --check each reading is run through `halvox endpoint` (verification mode) and drawn again (at most
five attempts) until the engine's endpoint detection takes it; the manifest records the attempts.
With --replayed-only the live readings of the corpus already in DIR (made with the same seed) are kept and
only the replayed readings are drawn again, for work on the replay simulation.
"""

import argparse
import hashlib
import io
import multiprocessing
import os
import subprocess
import sys
import wave

import numpy as np

import replay_chains

RATE = 11025
SAMPLES = 33075
# Languages whose letter-to-sound rules read romaji close to Japanese; variant i speaks language i mod n.
# en-gb and fr-fr are left out: they silently ignore the variant.
LANGUAGES = ["it", "es", "de", "fi", "id", "pl", "cs", "hr", "nl", "ro", "sw", "eo"]
# Variants that are not a speaker (a speed test voice).
SKIPPED_VARIANTS = {"fast"}
FLITE_VOICES = [("awb", "M"), ("rms", "M"), ("slt", "F"), ("kal16", "M")]
# More languages, each with its default voice, and the languages the perturbed copies of espeak-ng voices
# speak: more letter-to-sound rules and vowel qualities than the variants' list gives.
MORE_LANGUAGES = ["pt", "sk", "sl", "hu", "lv", "ms", "tr", "sv", "et", "lt", "sq", "bs"]
# Perturbed copies: every PERTURB_STRIDE-th formant variant and every flite voice. Formants move by the
# factor (resampling), the pitch by the semitones; the duration is restored.
PERTURB_STRIDE = 7
PERTURBATIONS = [(0.9, -2.0), (1.1, 3.0), (0.92, 2.0), (1.08, -3.0)]
EVAL_SHARE = 3  # every third voice of each gender (after a seeded shuffle) is an evaluation voice
# (live, replayed) readings per voice and word. Training voices have three verification readings beyond the
# five of an enrolment, for when their family is held out of the models.
TAKES = {"train": (8, 10), "eval": (17, 5)}
ENROL_TAKES = 5
CHAIN_NAMES = list(replay_chains.CHAINS)
MICROPHONE_NAMES = list(replay_chains.MICROPHONES)
# Speaking-rate slow-down that brings a voice's words into 0.5 ... 1.5 s: the shortest word is stretched
# to this length at the nominal rate, within the limits below.
TARGET_SHORTEST = 0.72
SLOWDOWN_LIMITS = (1.0, 1.45)
MAX_ATTEMPTS = 5


def read_vocabulary(path):
    words = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            code, display, reading, trim = line.rstrip("\n").split("\t")
            words.append({"code": code, "display": display, "reading": reading, "trim": int(trim)})
    if [w["code"] for w in words] != ["aaj", "abj", "acj", "adj", "aej", "afj"]:
        sys.exit("vocabulary: expected the six codes aaj ... afj in order")
    return words


def espeak_klatt_variants():
    """Variants that select one of espeak-ng's Klatt synthesisers instead of its default formant one."""
    out = subprocess.run(["espeak-ng", "--version"], capture_output=True, text=True, check=True).stdout
    folder = os.path.join(out.split("Data at:")[-1].strip(), "voices", "!v")
    klatt = set()
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as f:
            if any(line.split()[:1] == ["klatt"] for line in f):
                klatt.add(name)
    return klatt


def list_voices():
    klatt = espeak_klatt_variants()
    out = subprocess.run(["espeak-ng", "--voices=variant"], capture_output=True, text=True, check=True).stdout
    variants = []
    for line in out.splitlines()[1:]:
        fields = line.split()
        if len(fields) < 5 or not fields[4].startswith("!v/"):
            continue
        name = fields[4][3:]
        gender = fields[2].split("/")[-1]
        if name not in SKIPPED_VARIANTS and gender in ("M", "F"):
            variants.append((name, gender))
    variants.sort()
    voices = []
    formant = []
    for i, (name, gender) in enumerate(variants):
        lang = LANGUAGES[i % len(LANGUAGES)]
        family = "espeak-klatt" if name in klatt else "espeak-formant"
        voices.append({"id": f"espeak_{lang}_{name}", "engine": "espeak", "voice": f"{lang}+{name}", "gender": gender,
                       "family": family})
        if family == "espeak-formant":
            formant.append((name, gender))
    for lang in MORE_LANGUAGES:
        voices.append({"id": f"espeak_lang_{lang}", "engine": "espeak", "voice": lang, "gender": "M",
                       "family": "espeak-languages"})
    for name, gender in FLITE_VOICES:
        voices.append({"id": f"flite_{name}", "engine": "flite", "voice": name, "gender": gender, "family": "flite"})
    # A perturbed copy keeps its source's variant in the last part of its id, so that evaluation treats the
    # pair as one speaker retouched rather than as two speakers.
    bases = [("espeak", MORE_LANGUAGES[i % len(MORE_LANGUAGES)], name, gender)
             for i, (name, gender) in enumerate(formant[::PERTURB_STRIDE])]
    bases += [("flite", "", name, gender) for name, gender in FLITE_VOICES]
    for i, (engine, lang, name, gender) in enumerate(bases):
        factor, semitones = PERTURBATIONS[i % len(PERTURBATIONS)]
        tag = f"vtl{int(round(factor * 100)):03d}"
        voice_id = f"espeak_{lang}-{tag}_{name}" if engine == "espeak" else f"flite_{tag}_{name}"
        voices.append({"id": voice_id, "engine": engine, "voice": f"{lang}+{name}" if lang else name,
                       "gender": gender, "family": "perturbed", "perturb": (factor, semitones)})
    return voices


def read_wav_bytes(data):
    with wave.open(io.BytesIO(data)) as w:
        if w.getsampwidth() != 2 or w.getnchannels() != 1:
            raise ValueError("synthesiser output is not 16-bit mono")
        x = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64)
        return x, w.getframerate()


def perturb(data, factor, semitones):
    """Moves every formant by FACTOR (resampling moves pitch and tempo with them), then puts the tempo back
    and shifts the pitch to SEMITONES from the original."""
    cents = -1200.0 * np.log2(factor) + 100.0 * semitones
    cmd = ["sox", "-t", "wav", "-", "-t", "wav", "-", "speed", f"{factor:.4f}", "tempo", "-s", f"{1.0 / factor:.4f}",
           "pitch", f"{cents:.1f}"]
    return subprocess.run(cmd, input=data, capture_output=True, check=True).stdout


def synthesise(voice, text, slow, rate, pitch):
    """Raw synthesiser output as floats and its sample rate. rate > 1 speaks faster; pitch is a relative shift."""
    data = synthesise_bytes(voice, text, slow, rate, pitch)
    if "perturb" in voice:
        data = perturb(data, *voice["perturb"])
    return read_wav_bytes(data)


def synthesise_bytes(voice, text, slow, rate, pitch):
    if voice["engine"] == "espeak":
        wpm = max(80, int(round(175.0 * rate / slow)))
        ssml = f'<speak><prosody pitch="{pitch * 100:+.1f}%">{text}</prosody></speak>'
        cmd = ["espeak-ng", "-m", "-v", voice["voice"], "-s", str(wpm), "--stdout", ssml]
        return subprocess.run(cmd, capture_output=True, check=True).stdout
    cmd = ["flite", "-voice", voice["voice"], "--setf", f"duration_stretch={slow / rate:.4f}"]
    if voice["voice"] in ("awb", "slt"):
        cmd += ["--setf", f"f0_shift={1.0 + pitch:.4f}"]
    elif voice["voice"] == "kal16":
        cmd += ["--setf", f"int_f0_target_mean={105.0 * (1.0 + pitch):.2f}"]
    cmd += ["-t", text, "-o", "/dev/stdout"]
    return subprocess.run(cmd, capture_output=True, check=True).stdout


def resample(x, source_rate):
    """Band-limited resampling of a whole signal by its spectrum (exact for any rate ratio)."""
    if source_rate == RATE:
        return x.copy()
    n_out = int(round(len(x) * RATE / source_rate))
    spectrum = np.fft.rfft(x)
    keep = min(len(spectrum), n_out // 2 + 1)
    out_spectrum = np.zeros(n_out // 2 + 1, dtype=complex)
    out_spectrum[:keep] = spectrum[:keep]
    return np.fft.irfft(out_spectrum, n_out) * (n_out / len(x))


def trim_silence(x):
    level = np.abs(x)
    above = np.nonzero(level > 0.01 * level.max())[0] if level.max() > 0 else np.array([], dtype=int)
    if len(above) == 0:
        return x[:0]
    margin = int(0.01 * RATE)
    return x[max(0, above[0] - margin): above[-1] + margin + 1]


def tilt(x, db_per_octave):
    return replay_chains.spectral_gain(
        x, lambda f: 10.0 ** (db_per_octave * np.log2(np.maximum(f, 100.0) / 1000.0) / 20.0))


rms = replay_chains.rms


def chain_of(take):
    """The loudspeaker kind of a replayed take: takes cycle through the kinds, so every voice and word has
    replays of each."""
    return CHAIN_NAMES[take % len(CHAIN_NAMES)]


def microphone_of(split, take):
    """The microphone kind of a live take. Evaluation voices enrol through the full-band microphone and
    verify through every kind in turn; training voices cycle through the kinds."""
    if split == "eval":
        return "full" if take < ENROL_TAKES else MICROPHONE_NAMES[(take - ENROL_TAKES) % len(MICROPHONE_NAMES)]
    return MICROPHONE_NAMES[take % len(MICROPHONE_NAMES)]


def render(voice, word, slow, rng, replayed, chain, mic):
    """One reading as int16 samples, with the values drawn for it: through loudspeaker kind CHAIN if
    replayed, else through microphone kind MIC."""
    rate = 1.0 + rng.uniform(-0.12, 0.12)
    pitch = rng.uniform(-0.08, 0.08) if voice["voice"] != "rms" else 0.0
    raw, source_rate = synthesise(voice, word["reading"], slow, rate, pitch)
    speech = trim_silence(resample(raw, source_rate))
    duration = len(speech) / RATE
    if duration < 0.45 or duration > 2.1:
        raise ValueError(f"{voice['id']} {word['code']}: word lasts {duration:.2f} s")
    speech = tilt(speech, rng.uniform(-2.0, 2.0))
    level_db = rng.uniform(-12.0, 0.0)
    speech *= 20000.0 * 10.0 ** (level_db / 20.0) / np.abs(speech).max()
    offset = int(rng.uniform(0.3, 3.0 - duration - 0.45) * RATE)
    canvas = np.zeros(SAMPLES)
    canvas[offset: offset + len(speech)] = speech
    snr = rng.uniform(20.0, 40.0)
    canvas += replay_chains.pink_noise(rng, SAMPLES) * rms(speech) / 10.0 ** (snr / 20.0)
    if replayed:
        canvas = replay_chains.replay(rng, chain, canvas, (offset, offset + len(speech)))
        canvas *= 20000.0 * 10.0 ** (rng.uniform(-12.0, 0.0) / 20.0) / np.abs(canvas).max()
    else:
        peak = np.abs(canvas).max()
        canvas = replay_chains.MICROPHONES[mic](rng, canvas)
        canvas *= peak / np.abs(canvas).max()
    samples = np.clip(np.round(canvas), -32768, 32767).astype("<i2")
    return samples, {"rate": rate, "pitch": pitch, "level_db": level_db, "snr_db": snr, "offset": offset / RATE,
                     "duration": duration}


def write_wav(path, samples):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(samples.tobytes())


def passes_endpoint(checker, path):
    if not checker:
        return True
    return subprocess.run([checker, "endpoint", path], capture_output=True).returncode == 0


def voice_key(voice_id):
    return int.from_bytes(hashlib.sha256(voice_id.encode()).digest()[:4], "little")


def slowdown_for(voice, words):
    """The per-voice slow-down that stretches the voice's shortest word to TARGET_SHORTEST."""
    durations = []
    for word in words:
        raw, source_rate = synthesise(voice, word["reading"], 1.0, 1.0, 0.0)
        durations.append(len(trim_silence(resample(raw, source_rate))) / RATE)
    slow = min(max(TARGET_SHORTEST / min(durations), SLOWDOWN_LIMITS[0]), SLOWDOWN_LIMITS[1])
    return slow, durations


def make_voice(job):
    """Every reading of one voice; returns its manifest rows and notes."""
    seed, out, checker, voice, split, words, kept_live = job
    try:
        slow, durations = slowdown_for(voice, words)
    except (subprocess.CalledProcessError, ValueError) as e:
        return [], [f"{voice['id']}: unusable ({e})"]
    notes = []
    nominal = [d * slow for d in durations]
    if min(nominal) < 0.5 or max(nominal) > 1.5:
        return [], [f"{voice['id']}: words last {min(nominal):.2f} ... {max(nominal):.2f} s, left out"]
    rows = []
    live_takes, replay_takes = TAKES[split]
    for w, word in enumerate(words):
        for replayed, count in ((0, live_takes), (1, replay_takes)):
            for take in range(count):
                name = f"{word['code']}_{take:02d}{'_replay' if replayed else ''}.wav"
                path = os.path.join(out, split, voice["id"], name)
                if kept_live is not None and not replayed:
                    # A reading that failed before stays left out, so the live part is exactly the old one.
                    row = kept_live.get(os.path.relpath(path, out))
                    if row:
                        rows.append(row)
                    continue
                chain = chain_of(take) if replayed else "-"
                mic = "-" if replayed else microphone_of(split, take)
                for attempt in range(MAX_ATTEMPTS):
                    rng = np.random.default_rng([seed, voice_key(voice["id"]), w, take, replayed, attempt])
                    try:
                        samples, drawn = render(voice, word, slow, rng, replayed, chain, mic)
                    except (subprocess.CalledProcessError, ValueError) as e:
                        notes.append(str(e))
                        continue
                    write_wav(path, samples)
                    if passes_endpoint(checker, path):
                        break
                else:
                    notes.append(f"{path}: no attempt passed the endpoint detection")
                    if os.path.exists(path):
                        os.remove(path)
                    continue
                rows.append([os.path.relpath(path, out), voice["id"], voice["gender"], split, word["code"],
                             str(take), str(replayed), str(attempt + 1), f"{slow:.3f}", f"{drawn['rate']:.3f}",
                             f"{drawn['pitch']:+.3f}", f"{drawn['level_db']:.1f}", f"{drawn['snr_db']:.1f}",
                             f"{drawn['duration']:.3f}", voice["family"], chain, mic])
    return rows, notes


def read_kept_live(out, seed):
    """Live rows and notes of an existing corpus in OUT, for regenerating only its replayed readings."""
    with open(os.path.join(out, "manifest.tsv"), encoding="utf-8") as f:
        lines = f.read().splitlines()
    if not lines or lines[0] != f"# seed {seed}":
        sys.exit(f"{out}/manifest.tsv was not made with seed {seed}")
    kept = {}
    for line in lines[2:]:
        row = line.split("\t")
        if row[6] == "0":
            kept[row[0]] = row
    notes_path = os.path.join(out, "notes.txt")
    notes = []
    if os.path.exists(notes_path):
        with open(notes_path, encoding="utf-8") as f:
            notes = [n for n in f.read().splitlines() if n and "_replay.wav" not in n]
    return kept, notes


def split_voices(voices, seed):
    rng = np.random.default_rng([seed, 7])
    splits = {}
    for gender in ("M", "F"):
        ids = sorted(v["id"] for v in voices if v["gender"] == gender)
        order = rng.permutation(len(ids))
        for rank, index in enumerate(order):
            splits[ids[index]] = "eval" if rank % EVAL_SHARE == 0 else "train"
    return splits


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", required=True)
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--check", default="", help="halvox tool: keep only readings its endpoint command takes")
    parser.add_argument("--replayed-only", action="store_true",
                        help="keep the live readings of the corpus already in --out, draw the replayed ones again")
    parser.add_argument("--voices", type=int, default=0, help="use only the first N voices (a quick run)")
    parser.add_argument("--vocabulary", default=os.path.join(os.path.dirname(__file__), "..", "..", "data",
                                                             "vocabulary.tsv"))
    args = parser.parse_args()

    words = read_vocabulary(args.vocabulary)
    voices = list_voices()
    if args.voices:
        voices = voices[:: max(1, len(voices) // args.voices)][: args.voices]
    splits = split_voices(voices, args.seed)
    kept_live, old_notes = read_kept_live(args.out, args.seed) if args.replayed_only else (None, [])
    jobs = [(args.seed, args.out, args.check, v, splits[v["id"]], words, kept_live) for v in voices]
    os.makedirs(args.out, exist_ok=True)
    with multiprocessing.Pool(max(1, args.jobs)) as pool:
        results = pool.map(make_voice, jobs, chunksize=1)
    header = ["file", "voice", "gender", "split", "word", "take", "replay", "attempts", "slowdown", "rate",
              "pitch", "level_db", "snr_db", "duration", "family", "chain", "mic"]
    rows = [r for rs, _ in results for r in rs]
    with open(os.path.join(args.out, "manifest.tsv"), "w", encoding="utf-8") as f:
        f.write(f"# seed {args.seed}\n")
        f.write("\t".join(header) + "\n")
        for row in rows:
            f.write("\t".join(row) + "\n")
    notes = old_notes + [n for _, ns in results for n in ns]
    with open(os.path.join(args.out, "notes.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(notes) + ("\n" if notes else ""))
    first = sum(1 for r in rows if r[7] == "1")
    used = {r[1] for r in rows}
    print(f"voices: {len(used)} of {len(voices)} ({sum(1 for v in used if splits[v] == 'eval')} for evaluation)")
    print(f"readings: {len(rows)}; taken by the endpoint detection at the first attempt: {first} "
          f"({100.0 * first / max(1, len(rows)):.1f} %)")
    for n in notes[:20]:
        print("note:", n)


if __name__ == "__main__":
    main()
