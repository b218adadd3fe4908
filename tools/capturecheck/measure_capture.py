#!/usr/bin/python3
"""Measures the captured-unlock check: how far a replay of a reading lies from that reading, and how far two
live readings of one speaker and word lie from each other, under `halvox fingerprint`.

Live readings are made as the voice corpus makes them (its synthesis, resampling and silence trimming are
imported from tools/corpus/make_corpus.py): the word at a random offset with a random speaking rate, pitch,
level, spectral tilt and room noise. Each live reading is then played back through every loudspeaker chain
below (and through every named chain of the corpus's replay_chains module, when the corpus offers one), and
each replay is compared with its own source reading. Live readings are compared pairwise within one voice
and word.

    measure_capture.py --halvox build/bin/halvox --out DIR [--voices 12] [--takes 6] [--seed 7]
                       [--threshold 1.0] [--words aaj,abj,...] [--chains small,wide,...|none] [--variation V]

Prints percentiles of both distributions, the share of replays refused and of live pairs refused at the
threshold, per chain, and the share of live readings that would be refused against a history holding the
other live readings of their voice and word; writes every distance with its two readings to
DIR/distances.tsv. Deterministic for a seed.
"""

import argparse
import hashlib
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "corpus"))
import make_corpus as corpus  # noqa: E402

try:
    import replay_chains  # noqa: E402  (the corpus's named loudspeaker kinds, when present)
except ImportError:
    replay_chains = None

RATE = 11025
SAMPLES = 33075
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))


def gain(x, of_frequency):
    spectrum = np.fft.rfft(x)
    freqs = np.fft.rfftfreq(len(x), 1.0 / RATE)
    return np.fft.irfft(spectrum * of_frequency(freqs), len(x))


def band(x, low, low_order, high, high_order):
    def g(f):
        hp = 1.0 / np.sqrt(1.0 + (low / np.maximum(f, 1e-3)) ** (2 * low_order))
        lp = 1.0 / np.sqrt(1.0 + (f / high) ** (2 * high_order))
        return hp * lp
    return gain(x, g)


def bell(x, centre, gain_db, octaves):
    return gain(x, lambda f: 10.0 ** (gain_db * np.exp(-0.5 * (np.log2(np.maximum(f, 1.0) / centre) / octaves) ** 2)
                                      / 20.0))


def clip(x, drive, asymmetry):
    peak = np.abs(x).max() or 1.0
    u = x / peak
    y = np.tanh(drive * (u + asymmetry * u * u)) / np.tanh(drive)
    return (y - y.mean()) * peak


def compressor(x, ratio, threshold_db):
    frame = int(0.01 * RATE)
    power = np.convolve(x * x, np.ones(frame) / frame, mode="same")
    level = 10.0 * np.log10(power + 1e-9)
    over = np.maximum(level - (level.max() + threshold_db), 0.0)
    target = -over * (1.0 - 1.0 / ratio)
    # fast attack, slow release
    smooth = np.empty_like(target)
    g = 0.0
    for i, t in enumerate(target):
        g = t if t < g else g + (t - g) * 0.0008
        smooth[i] = g
    return x * 10.0 ** (smooth / 20.0)


def room(rng, x, rt60, tail_db):
    n = int(rt60 * RATE)
    t = np.arange(n) / RATE
    tail = rng.standard_normal(n) * np.exp(-6.9 * t / rt60)
    tail *= 10.0 ** (tail_db / 20.0) / np.sqrt(np.sum(tail ** 2))
    tail[0] += 1.0
    return np.convolve(x, tail)[: len(x)]


def noise(rng, x, snr_db, span):
    white = rng.standard_normal(len(x))
    pink = gain(white, lambda f: 1.0 / np.sqrt(np.maximum(f, 60.0)))
    speech = x[span[0]: span[1]]
    ref = np.sqrt(np.mean(speech ** 2)) if len(speech) else 1.0
    return x + pink / np.sqrt(np.mean(pink ** 2)) * ref * 10.0 ** (-snr_db / 20.0)


def mic(x, low):
    return gain(x, lambda f: 1.0 / np.sqrt(1.0 + (low / np.maximum(f, 1e-3)) ** 4))


# Loudspeaker + room + microphone chains of our own; each takes (rng, samples, span of the word).
def small_speaker(rng, x, span):
    low = rng.uniform(600, 900)
    y = band(x, low, rng.integers(6, 11), rng.uniform(3000, 3600), rng.integers(8, 13))
    y = bell(y, low * rng.uniform(1.1, 1.5), rng.uniform(8, 14), rng.uniform(0.2, 0.4))
    y = clip(y, rng.uniform(1.0, 2.2), rng.uniform(0.05, 0.2))
    y = room(rng, y, rng.uniform(0.2, 0.45), rng.uniform(-6, 0))
    return noise(rng, mic(y, rng.uniform(80, 150)), rng.uniform(20, 35), span)


def wide_speaker(rng, x, span):
    y = band(x, rng.uniform(120, 250), 4, rng.uniform(4500, 5400), 6)
    y = compressor(y, rng.uniform(1.5, 2.5), rng.uniform(-20, -12))
    y = room(rng, y, rng.uniform(0.15, 0.3), rng.uniform(-10, -4))
    return noise(rng, mic(y, rng.uniform(60, 100)), rng.uniform(25, 40), span)


def bluetooth_speaker(rng, x, span):
    y = band(x, rng.uniform(150, 300), 6, rng.uniform(3400, 4200), 10)  # a narrow-band codec
    y = bell(y, rng.uniform(150, 300) * 1.3, rng.uniform(4, 8), 0.4)
    y = compressor(y, rng.uniform(3.0, 6.0), rng.uniform(-24, -14))
    y = clip(y, rng.uniform(1.5, 3.0), rng.uniform(0.0, 0.1))
    y = room(rng, y, rng.uniform(0.3, 0.6), rng.uniform(-6, -1))
    return noise(rng, mic(y, rng.uniform(80, 150)), rng.uniform(20, 35), span)


def phone_speaker(rng, x, span):
    y = band(x, rng.uniform(800, 1100), 8, rng.uniform(3400, 4000), 10)
    y = bell(y, rng.uniform(1500, 2500), rng.uniform(6, 12), 0.3)
    y = clip(y, rng.uniform(2.0, 3.5), rng.uniform(0.1, 0.25))
    y = room(rng, y, rng.uniform(0.1, 0.2), rng.uniform(-14, -8))  # held close to the microphone
    return noise(rng, mic(y, rng.uniform(80, 150)), rng.uniform(15, 30), span)


def far_in_big_room(rng, x, span):
    y = band(x, rng.uniform(300, 500), 4, rng.uniform(4000, 5000), 8)
    y = room(rng, y, rng.uniform(0.5, 0.9), rng.uniform(-2, 3))  # more echo than direct sound
    return noise(rng, mic(y, rng.uniform(80, 150)), rng.uniform(12, 22), span)


CHAINS = {"small": small_speaker, "wide": wide_speaker, "bluetooth": bluetooth_speaker, "phone": phone_speaker,
          "far-room": far_in_big_room}


def key(*parts):
    return int.from_bytes(hashlib.sha256("/".join(map(str, parts)).encode()).digest()[:4], "little")


def through_sox(x, *effect):
    """x (floats at RATE) through one sox effect."""
    with tempfile.TemporaryDirectory() as folder:
        source, target = os.path.join(folder, "in.wav"), os.path.join(folder, "out.wav")
        peak = np.abs(x).max() or 1.0
        corpus.write_wav(source, np.round(x / peak * 16000.0).astype("<i2"))
        subprocess.run(["sox", source, target] + [str(e) for e in effect], check=True, capture_output=True)
        with wave.open(target, "rb") as w:
            y = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(float)
    return y / 16000.0 * peak


def vary_timing(rng, speech, percent):
    """Three sections of the word, each spoken at its own tempo (within +-percent), joined with short
    crossfades: a person lingers on one part of a word and hurries another, differently every time."""
    n = len(speech)
    cuts = [0] + sorted(int(c * n) for c in rng.uniform(0.25, 0.75, 2)) + [n]
    fade = int(0.01 * RATE)
    out = np.zeros(0)
    for k in range(3):
        factor = 1.0 + rng.uniform(-1.0, 1.0) * percent / 100.0
        version = through_sox(speech, "tempo", "-s", f"{factor:.4f}")
        a = int(cuts[k] / factor)
        b = min(len(version), int(cuts[k + 1] / factor) + (fade if k < 2 else 0))
        piece = version[a:b]
        if len(out) >= fade and len(piece) >= fade:
            ramp = np.linspace(0.0, 1.0, fade)
            out[-fade:] = out[-fade:] * (1.0 - ramp) + piece[:fade] * ramp
            piece = piece[fade:]
        out = np.concatenate([out, piece])
    return out


def vary_pitch(rng, speech, cents):
    """The pitch contour bent up and down (each bend within +-cents) over four stretches of the word."""
    quarter = len(speech) / RATE / 4.0
    bends = []
    for _ in range(4):
        bend = rng.uniform(-1.0, 1.0) * cents
        bend = np.copysign(max(abs(bend), 0.1), bend)  # sox refuses a bend of zero cents
        # Each bend starts where the one before it ended.
        bends.append(f"0,{bend:.1f},{quarter:.3f}")
    return through_sox(speech, "bend", *bends)[: len(speech)]


def live_reading(rng, voice, word, slow, variation=0.0):
    rate = 1.0 + rng.uniform(-0.12, 0.12)
    pitch = rng.uniform(-0.08, 0.08) if voice["voice"] != "rms" else 0.0
    raw, source_rate = corpus.synthesise(voice, word["reading"], slow, rate, pitch)
    speech = corpus.trim_silence(corpus.resample(raw, source_rate))
    if variation > 0.0:
        # A synthesiser says a word the same way every time but for the rate and pitch it is given; a
        # person does not. `variation` scales the reading-to-reading differences within the word.
        speech = vary_pitch(rng, vary_timing(rng, speech, 6.0 * variation), 30.0 * variation)
    duration = len(speech) / RATE
    tilt = rng.uniform(-2.0, 2.0)
    speech = gain(speech, lambda f: 10.0 ** (tilt * np.log2(np.maximum(f, 100.0) / 1000.0) / 20.0))
    speech *= 20000.0 * 10.0 ** (rng.uniform(-12.0, 0.0) / 20.0) / np.abs(speech).max()
    offset = int(rng.uniform(0.3, max(0.31, 3.0 - duration - 0.45)) * RATE)
    canvas = np.zeros(SAMPLES)
    end = min(SAMPLES, offset + len(speech))
    canvas[offset:end] = speech[: end - offset]
    span = (offset, end)
    canvas = noise(rng, canvas, rng.uniform(20.0, 40.0), span)
    return canvas, span, rate, pitch


def as_int16(x, rng):
    x = x * 20000.0 * 10.0 ** (rng.uniform(-12.0, 0.0) / 20.0) / (np.abs(x).max() or 1.0)
    return np.clip(np.round(x), -32768, 32767).astype("<i2")


def distances(halvox, word, reference, others):
    out = subprocess.run([halvox, "fingerprint", "--word", word, reference] + others, capture_output=True, text=True)
    result = {}
    for line in out.stdout.splitlines():
        fields = line.split("\t")
        if fields[1] == "none":
            result[fields[0]] = None
            continue
        parts = dict(f.split(" ") for f in fields[2:])
        result[fields[0]] = (float(fields[1]), float(parts["scale"]), float(parts["pitch"]), float(parts["spread"]),
                             float(parts["correlation"]))
    return result


def percentiles(values):
    if not values:
        return "none"
    v = np.array(values)
    return " ".join(f"p{p}={np.percentile(v, p):.2f}" for p in (0, 1, 5, 25, 50, 75, 95, 99, 100))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--halvox", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--voices", type=int, default=12)
    ap.add_argument("--takes", type=int, default=6)
    ap.add_argument("--seed", type=int, default=7)
    ap.add_argument("--threshold", type=float, default=1.0)
    ap.add_argument("--words", default="aaj,abj,acj,adj,aej,afj")
    ap.add_argument("--variation", type=float, default=0.0,
                    help="scale of the within-word timing (6 %%) and pitch (30 cents) variation of live readings")
    ap.add_argument("--chains", default="", help="chains to measure (default all; none: live readings only)")
    args = ap.parse_args()

    words = [w for w in corpus.read_vocabulary(os.path.join(ROOT, "data", "vocabulary.tsv"))
             if w["code"] in args.words.split(",")]
    voices = corpus.list_voices()
    # An even spread over the list: espeak-ng variants, its languages, flite and perturbed copies alike.
    step = max(1, len(voices) // args.voices)
    voices = voices[::step][: args.voices]
    chains = dict(CHAINS)
    if replay_chains is not None and hasattr(replay_chains, "CHAINS"):
        for name in replay_chains.CHAINS:
            chains["corpus-" + name] = (lambda n: lambda rng, x, span: replay_chains.replay(rng, n, x, span))(name)
    if args.chains:
        chains = {k: v for k, v in chains.items() if k in args.chains.split(",")}

    rows = []
    for voice in voices:
        try:
            slow, _ = corpus.slowdown_for(voice, words)
        except (subprocess.CalledProcessError, ValueError) as e:
            print(f"{voice['id']}: left out ({e})", file=sys.stderr)
            continue
        for word in words:
            folder = os.path.join(args.out, voice["id"], word["code"])
            os.makedirs(folder, exist_ok=True)
            lives = []
            for take in range(args.takes):
                rng = np.random.default_rng([args.seed, key(voice["id"], word["code"], take)])
                try:
                    canvas, span, _, _ = live_reading(rng, voice, word, slow, args.variation)
                except (subprocess.CalledProcessError, ValueError) as e:
                    print(f"{voice['id']} {word['code']}: {e}", file=sys.stderr)
                    continue
                path = os.path.join(folder, f"live{take:02d}.wav")
                corpus.write_wav(path, as_int16(canvas, rng))
                replays = []
                for name, chain in chains.items():
                    crng = np.random.default_rng([args.seed, key(voice["id"], word["code"], take, name)])
                    replayed = chain(crng, canvas.copy(), span)
                    rpath = os.path.join(folder, f"live{take:02d}_{name}.wav")
                    corpus.write_wav(rpath, as_int16(replayed, crng))
                    replays.append((name, rpath))
                if replays:
                    found = distances(args.halvox, word["code"], path, [p for _, p in replays])
                    for name, rpath in replays:
                        rows.append(("replay", name, voice["id"], word["code"], found.get(rpath), path, rpath))
                lives.append((path, take))
            for i, (path, _) in enumerate(lives):
                later = [p for p, _ in lives[i + 1:]]
                if later:
                    found = distances(args.halvox, word["code"], path, later)
                    for p in later:
                        rows.append(("live", "-", voice["id"], word["code"], found.get(p), path, p))
        print(f"{voice['id']} done", file=sys.stderr, flush=True)

    with open(os.path.join(args.out, "distances.tsv"), "w", encoding="utf-8") as f:
        f.write("kind\tchain\tvoice\tword\tdistance\tscale\tpitch\tspread\tcorrelation\tfirst\tsecond\n")
        for r in rows:
            parts = ["none"] * 5 if r[4] is None else [f"{v:.4f}" for v in r[4]]
            names = [os.path.relpath(p, args.out) for p in r[5:7]]
            f.write("\t".join(list(map(str, r[:4])) + parts + names) + "\n")
    pairs = [r for r in rows if r[0] == "live"]
    rows = [r[:4] + (None if r[4] is None else r[4][0],) for r in rows]

    live = [r[4] for r in rows if r[0] == "live" and r[4] is not None]
    print(f"live pairs of one speaker and word: {len(live)} measured; distance {percentiles(live)}")
    refused_live = sum(1 for d in live if d < args.threshold)
    print(f"  refused as replays at {args.threshold}: {refused_live} ({100.0 * refused_live / max(1, len(live)):.2f} %)")
    # Each live reading against a history of the other live readings of its voice and word.
    readings = {}
    for r in pairs:
        for own in r[5:7]:
            readings.setdefault(own, False)
        if r[4] is not None and r[4][0] < args.threshold:
            readings[r[5]] = readings[r[6]] = True
    refused_readings = sum(readings.values())
    print(f"  live readings refused against the other {args.takes - 1} of their voice and word: {refused_readings} of "
          f"{len(readings)} ({100.0 * refused_readings / max(1, len(readings)):.2f} %)")
    for name in chains:
        ds = [r[4] for r in rows if r[0] == "replay" and r[1] == name]
        measured = [d for d in ds if d is not None]
        refused = sum(1 for d in measured if d < args.threshold)
        print(f"replays through {name}: {len(ds)} ({len(ds) - len(measured)} without a word found); "
              f"distance {percentiles(measured)}")
        print(f"  refused at {args.threshold}: {refused} of {len(measured)} "
              f"({100.0 * refused / max(1, len(measured)):.2f} %)")


if __name__ == "__main__":
    main()
