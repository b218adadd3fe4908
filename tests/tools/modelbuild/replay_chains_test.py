"""Checks of the corpus's loudspeaker kinds and microphone kinds (tools/corpus/replay_chains.py).

Run with the corpus folder on PYTHONPATH. Exits 77 (skipped) without numpy.
"""

import sys
import unittest

try:
    import numpy as np
except ImportError:
    sys.exit(77)

import replay_chains as rc

RATE = rc.RATE


def tone(frequency, seconds=1.0):
    t = np.arange(int(seconds * RATE)) / RATE
    return 8000.0 * np.sin(2 * np.pi * frequency * t)


def band_level_db(x, low, high):
    spectrum = np.abs(np.fft.rfft(x)) ** 2
    freqs = np.fft.rfftfreq(len(x), 1.0 / RATE)
    inside = (freqs >= low) & (freqs < high)
    return 10.0 * np.log10(spectrum[inside].sum() + 1e-12)


def speech_like(seed):
    """Pink noise with a syllable envelope: energy across the band, and level changes for the compressors."""
    rng = np.random.default_rng(seed)
    x = rc.pink_noise(rng, 2 * RATE)
    envelope = 0.2 + np.abs(np.sin(np.pi * np.arange(len(x)) / (0.25 * RATE)))
    return 5000.0 * x * envelope


class ChainsTest(unittest.TestCase):
    def test_every_kind_keeps_the_length_and_gives_finite_audible_output(self):
        x = speech_like(1)
        for name in list(rc.CHAINS) + ["replay"]:
            rng = np.random.default_rng(5)
            y = rc.replay(rng, "phone", x, (0, len(x))) if name == "replay" else rc.CHAINS[name](rng, x)
            self.assertEqual(len(y), len(x), name)
            self.assertTrue(np.all(np.isfinite(y)), name)
            self.assertGreater(rc.rms(y), 0.01 * rc.rms(x), name)
        for name, mic in rc.MICROPHONES.items():
            y = mic(np.random.default_rng(5), x)
            self.assertEqual(len(y), len(x), name)
            self.assertTrue(np.all(np.isfinite(y)), name)

    def test_a_kind_is_a_function_of_its_generator(self):
        x = speech_like(2)
        for name, chain in rc.CHAINS.items():
            a = chain(np.random.default_rng([7, 1]), x)
            b = chain(np.random.default_rng([7, 1]), x)
            c = chain(np.random.default_rng([7, 2]), x)
            np.testing.assert_array_equal(a, b, err_msg=name)
            self.assertFalse(np.array_equal(a, c), name)

    def test_small_cones_lose_the_bass_a_bookshelf_speaker_keeps(self):
        # Bass relative to the mids, through each kind, over several draws.
        x = speech_like(3)

        def bass_loss(name):
            losses = []
            for seed in range(4):
                y = rc.CHAINS[name](np.random.default_rng(seed), x)
                losses.append((band_level_db(x, 100, 250) - band_level_db(x, 900, 1500))
                              - (band_level_db(y, 100, 250) - band_level_db(y, 900, 1500)))
            return min(losses), max(losses)

        for small in ("small-speaker", "phone"):
            self.assertGreater(bass_loss(small)[0], 25.0, small)
        self.assertLess(bass_loss("bookshelf")[1], 10.0)
        self.assertGreater(bass_loss("laptop")[0], bass_loss("bookshelf")[1])

    def test_band_limited_microphones_cut_the_top_the_full_band_one_keeps(self):
        x = tone(5000.0) + tone(1000.0)
        full = rc.MICROPHONES["full"](np.random.default_rng(0), x)
        np.testing.assert_array_equal(full, x)
        for name in ("headset", "webcam"):
            y = rc.MICROPHONES[name](np.random.default_rng(0), x)
            drop = (band_level_db(x, 4900, 5100) - band_level_db(x, 900, 1100)) \
                - (band_level_db(y, 4900, 5100) - band_level_db(y, 900, 1100))
            self.assertGreater(drop, 6.0, name)

    def test_compression_narrows_the_level_range(self):
        quiet_then_loud = np.concatenate([0.05 * speech_like(4), speech_like(5)])
        y = rc.compress(np.random.default_rng(0), quiet_then_loud, (6.0, 6.0), (-20.0, -20.0))
        half = len(y) // 2
        before = rc.rms(quiet_then_loud[half:]) / rc.rms(quiet_then_loud[:half])
        after = rc.rms(y[half:]) / rc.rms(y[:half])
        self.assertLess(after, 0.5 * before)


if __name__ == "__main__":
    unittest.main()
