#!/usr/bin/python3
"""Synthetic voice corpus for the engine's shipped models and its accuracy measurement.

Every espeak-ng voice variant (each paired with one language that reads romaji well) and every flite
voice speaks the six password words of data/vocabulary.tsv. Each reading is one 3 s recording of
33075 samples at 11025 Hz, 16-bit mono: the word at a random offset in low background noise, with
random speaking rate, pitch, level and spectral tilt. Replayed readings also pass through a simulated
loudspeaker, room and microphone. The voices are split into a training part and an evaluation part.

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

RATE = 11025
SAMPLES = 33075
# Languages whose letter-to-sound rules read romaji close to Japanese; variant i speaks language i mod n.
# en-gb and fr-fr are left out: they silently ignore the variant.
LANGUAGES = ["it", "es", "de", "fi", "id", "pl", "cs", "hr", "nl", "ro", "sw", "eo"]
# Variants that are not a speaker (a speed test voice).
SKIPPED_VARIANTS = {"fast"}
FLITE_VOICES = [("awb", "M"), ("rms", "M"), ("slt", "F"), ("kal16", "M")]
EVAL_SHARE = 3  # every third voice of each gender (after a seeded shuffle) is an evaluation voice
TAKES = {"train": (6, 30), "eval": (17, 5)}  # (live, replayed) readings per voice and word
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


def list_voices():
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
    for i, (name, gender) in enumerate(variants):
        lang = LANGUAGES[i % len(LANGUAGES)]
        voices.append({"id": f"espeak_{lang}_{name}", "engine": "espeak", "voice": f"{lang}+{name}", "gender": gender})
    for name, gender in FLITE_VOICES:
        voices.append({"id": f"flite_{name}", "engine": "flite", "voice": name, "gender": gender})
    return voices


def read_wav_bytes(data):
    with wave.open(io.BytesIO(data)) as w:
        if w.getsampwidth() != 2 or w.getnchannels() != 1:
            raise ValueError("synthesiser output is not 16-bit mono")
        x = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64)
        return x, w.getframerate()


def synthesise(voice, text, slow, rate, pitch):
    """Raw synthesiser output as floats and its sample rate. rate > 1 speaks faster; pitch is a relative shift."""
    if voice["engine"] == "espeak":
        wpm = max(80, int(round(175.0 * rate / slow)))
        ssml = f'<speak><prosody pitch="{pitch * 100:+.1f}%">{text}</prosody></speak>'
        cmd = ["espeak-ng", "-m", "-v", voice["voice"], "-s", str(wpm), "--stdout", ssml]
        data = subprocess.run(cmd, capture_output=True, check=True).stdout
        return read_wav_bytes(data)
    cmd = ["flite", "-voice", voice["voice"], "--setf", f"duration_stretch={slow / rate:.4f}"]
    if voice["voice"] in ("awb", "slt"):
        cmd += ["--setf", f"f0_shift={1.0 + pitch:.4f}"]
    elif voice["voice"] == "kal16":
        cmd += ["--setf", f"int_f0_target_mean={105.0 * (1.0 + pitch):.2f}"]
    cmd += ["-t", text, "-o", "/dev/stdout"]
    data = subprocess.run(cmd, capture_output=True, check=True).stdout
    return read_wav_bytes(data)


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


def spectral_gain(x, gain_of_frequency):
    n = len(x)
    spectrum = np.fft.rfft(x)
    freqs = np.fft.rfftfreq(n, 1.0 / RATE)
    return np.fft.irfft(spectrum * gain_of_frequency(freqs), n)


def tilt(x, db_per_octave):
    return spectral_gain(x, lambda f: 10.0 ** (db_per_octave * np.log2(np.maximum(f, 100.0) / 1000.0) / 20.0))


def room_noise(rng, n):
    """Background noise falling by 3 dB per octave (pink), as rooms and fans tend to sound."""
    white = rng.standard_normal(n)
    noise = spectral_gain(white, lambda f: 1.0 / np.sqrt(np.maximum(f, 60.0)))
    return noise / np.sqrt(np.mean(noise ** 2))


def rms(x):
    return float(np.sqrt(np.mean(x ** 2))) if len(x) else 0.0


def butterworth(f, corner, order, highpass):
    ratio = (corner / np.maximum(f, 1e-3)) if highpass else (f / corner)
    return 1.0 / np.sqrt(1.0 + ratio ** (2 * order))


def resonance(f, centre, gain_db, octaves):
    """A bell-shaped boost on a log-frequency axis: the cone's resonance just above its cut-off."""
    bell = np.exp(-0.5 * (np.log2(np.maximum(f, 1.0) / centre) / octaves) ** 2)
    return 10.0 ** (gain_db * bell / 20.0)


def loudspeaker(rng, x):
    """A laptop or phone speaker: no bass, a resonant bump above its cut-off, little above 4 kHz."""
    low = rng.uniform(600.0, 900.0)
    low_order = int(rng.integers(6, 11))
    high = rng.uniform(3000.0, 3600.0)
    high_order = int(rng.integers(8, 13))
    bump = low * rng.uniform(1.1, 1.5)
    bump_db = rng.uniform(8.0, 14.0)
    bump_width = rng.uniform(0.2, 0.4)
    return spectral_gain(x, lambda f: butterworth(f, low, low_order, True) * butterworth(f, high, high_order, False)
                         * resonance(f, bump, bump_db, bump_width))


def speaker_distortion(rng, x):
    """Soft clipping with a little even-order asymmetry, as an overdriven small cone adds."""
    peak = np.abs(x).max()
    u = x / peak
    drive = rng.uniform(1.0, 2.2)
    asymmetry = rng.uniform(0.05, 0.2)
    y = np.tanh(drive * (u + asymmetry * u * u)) / np.tanh(drive)
    return (y - np.mean(y)) * peak


def small_room(rng, x):
    """Direct sound plus a decaying diffuse tail."""
    rt60 = rng.uniform(0.2, 0.45)
    length = int(rt60 * RATE)
    t = np.arange(length) / RATE
    impulse = rng.standard_normal(length) * 10.0 ** (-3.0 * t / rt60)
    impulse *= 10.0 ** (-rng.uniform(0.0, 6.0) / 20.0) / np.sqrt(np.sum(impulse ** 2))
    impulse[0] = 1.0
    return np.fft.irfft(np.fft.rfft(x, len(x) + length) * np.fft.rfft(impulse, len(x) + length))[: len(x)]


def microphone(rng, x):
    """The headset or built-in microphone's own low cut."""
    corner = rng.uniform(80.0, 150.0)
    return spectral_gain(x, lambda f: butterworth(f, corner, 2, True))


def replay(rng, x, span):
    """A recording played through a small loudspeaker into the room and picked up again by the microphone."""
    peak = np.abs(x).max()
    y = speaker_distortion(rng, loudspeaker(rng, x))
    y = microphone(rng, small_room(rng, y))
    y *= peak / np.abs(y).max()
    snr = rng.uniform(20.0, 35.0)
    y += room_noise(rng, len(y)) * rms(y[span[0]: span[1]]) / 10.0 ** (snr / 20.0)
    return y


def render(voice, word, slow, rng, replayed):
    """One reading as int16 samples, with the values drawn for it."""
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
    canvas += room_noise(rng, SAMPLES) * rms(speech) / 10.0 ** (snr / 20.0)
    if replayed:
        canvas = replay(rng, canvas, (offset, offset + len(speech)))
        canvas *= 20000.0 * 10.0 ** (rng.uniform(-12.0, 0.0) / 20.0) / np.abs(canvas).max()
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
                for attempt in range(MAX_ATTEMPTS):
                    rng = np.random.default_rng([seed, voice_key(voice["id"]), w, take, replayed, attempt])
                    try:
                        samples, drawn = render(voice, word, slow, rng, replayed)
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
                             f"{drawn['duration']:.3f}"])
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
              "pitch", "level_db", "snr_db", "duration"]
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
