"""Named loudspeaker chains and microphone kinds for the synthetic voice corpus.

A replayed reading is a recording played through some loudspeaker into a room and picked up again by the
microphone. The live check must learn "a loudspeaker", not one loudspeaker, and it is measured on a kind it
never met, so every kind is a named family here that the corpus tags and the model builder can leave out.
Live readings come through microphone kinds of their own: a band-limited headset or webcam must not look
like a replay.

Every function takes a numpy generator first and draws all its random values from it, so a reading stays a
function of its generator's key. Signals are float arrays at RATE.
"""

import numpy as np

RATE = 11025


def spectral_gain(x, gain_of_frequency):
    n = len(x)
    spectrum = np.fft.rfft(x)
    freqs = np.fft.rfftfreq(n, 1.0 / RATE)
    return np.fft.irfft(spectrum * gain_of_frequency(freqs), n)


def butterworth(f, corner, order, highpass):
    ratio = (corner / np.maximum(f, 1e-3)) if highpass else (f / corner)
    return 1.0 / np.sqrt(1.0 + ratio ** (2 * order))


def resonance(f, centre, gain_db, octaves):
    """A bell on a log-frequency axis (a cone's or an enclosure's resonance; negative gain: a dip)."""
    bell = np.exp(-0.5 * (np.log2(np.maximum(f, 1.0) / centre) / octaves) ** 2)
    return 10.0 ** (gain_db * bell / 20.0)


def rms(x):
    return float(np.sqrt(np.mean(x ** 2))) if len(x) else 0.0


def pink_noise(rng, n):
    """Background noise falling by 3 dB per octave, as rooms and fans tend to sound; unit RMS."""
    white = rng.standard_normal(n)
    noise = spectral_gain(white, lambda f: 1.0 / np.sqrt(np.maximum(f, 60.0)))
    return noise / np.sqrt(np.mean(noise ** 2))


def soft_clip(rng, x, drive_range, asymmetry_range):
    """tanh clipping with some even-order asymmetry, as an overdriven small cone adds."""
    peak = np.abs(x).max()
    if peak == 0:
        return x
    u = x / peak
    drive = rng.uniform(*drive_range)
    asymmetry = rng.uniform(*asymmetry_range)
    y = np.tanh(drive * (u + asymmetry * u * u)) / np.tanh(drive)
    return (y - np.mean(y)) * peak


def compress(rng, x, ratio_range, threshold_db_range):
    """A feed-forward compressor on a 10 ms RMS envelope with fast attack and slow release, as phones and
    Bluetooth speakers level their output."""
    peak = np.abs(x).max()
    if peak == 0:
        return x
    ratio = rng.uniform(*ratio_range)
    threshold = 10.0 ** (rng.uniform(*threshold_db_range) / 20.0) * peak
    window = max(1, int(0.01 * RATE))
    power = np.convolve(x * x, np.ones(window) / window, mode="same")
    envelope = np.sqrt(power)
    # Release: the envelope may fall by at most this factor per sample (about 60 dB/s ... 120 dB/s).
    fall = 10.0 ** (-rng.uniform(60.0, 120.0) / 20.0 / RATE)
    held = envelope.copy()
    for i in range(1, len(held)):
        held[i] = max(envelope[i], held[i - 1] * fall)
    gain = np.ones_like(x)
    over = held > threshold
    gain[over] = (held[over] / threshold) ** (1.0 / ratio - 1.0)
    return x * gain


def room(rng, x, rt60_range, tail_db_range):
    """Direct sound plus a decaying diffuse tail; the tail level relative to the direct sound stands for the
    distance to the source."""
    rt60 = rng.uniform(*rt60_range)
    length = int(rt60 * RATE)
    t = np.arange(length) / RATE
    impulse = rng.standard_normal(length) * 10.0 ** (-3.0 * t / rt60)
    impulse *= 10.0 ** (rng.uniform(*tail_db_range) / 20.0) / np.sqrt(np.sum(impulse ** 2))
    impulse[0] = 1.0
    return np.fft.irfft(np.fft.rfft(x, len(x) + length) * np.fft.rfft(impulse, len(x) + length))[: len(x)]


def pickup(rng, x):
    """The recording microphone's own low cut."""
    corner = rng.uniform(80.0, 150.0)
    return spectral_gain(x, lambda f: butterworth(f, corner, 2, True))


def _band(rng, low_range, low_orders, high_range, high_orders):
    low = rng.uniform(*low_range)
    low_order = int(rng.integers(*low_orders))
    high = rng.uniform(*high_range)
    high_order = int(rng.integers(*high_orders))
    return lambda f: butterworth(f, low, low_order, True) * butterworth(f, high, high_order, False)


def small_speaker(rng, x):
    """The corpus's first chain: a small laptop or phone cone with no bass, a strong resonant bump above its
    cut-off and little above 3.5 kHz, in a small room."""
    low = rng.uniform(600.0, 900.0)
    low_order = int(rng.integers(6, 11))
    high = rng.uniform(3000.0, 3600.0)
    high_order = int(rng.integers(8, 13))
    bump = low * rng.uniform(1.1, 1.5)
    bump_db = rng.uniform(8.0, 14.0)
    bump_width = rng.uniform(0.2, 0.4)
    y = spectral_gain(x, lambda f: butterworth(f, low, low_order, True) * butterworth(f, high, high_order, False)
                      * resonance(f, bump, bump_db, bump_width))
    y = soft_clip(rng, y, (1.0, 2.2), (0.05, 0.2))
    return pickup(rng, room(rng, y, (0.2, 0.45), (-6.0, 0.0)))


def phone_speaker(rng, x):
    """A phone's earpiece-sized loudspeaker held near the microphone: narrow band with two resonances,
    heavy limiting, and a near, dry room."""
    band = _band(rng, (700.0, 1100.0), (4, 9), (3500.0, 4500.0), (6, 11))
    first = rng.uniform(1200.0, 2000.0)
    second = first * rng.uniform(1.6, 2.2)
    gains = (rng.uniform(6.0, 12.0), rng.uniform(3.0, 8.0))
    y = spectral_gain(x, lambda f: band(f) * resonance(f, first, gains[0], 0.25) * resonance(f, second, gains[1], 0.2))
    y = compress(rng, y, (4.0, 10.0), (-24.0, -12.0))
    y = soft_clip(rng, y, (1.5, 3.0), (0.05, 0.25))
    return pickup(rng, room(rng, y, (0.1, 0.3), (-14.0, -6.0)))


def laptop_speaker(rng, x):
    """Built-in laptop speakers firing through a grille: some low mids, a ragged response from the chassis
    (peaks and a dip), moderate compression, an office room at arm's length."""
    band = _band(rng, (300.0, 500.0), (3, 7), (4000.0, 5000.0), (4, 9))
    peak1 = rng.uniform(700.0, 1200.0)
    peak2 = rng.uniform(2200.0, 3200.0)
    dip = rng.uniform(1400.0, 2000.0)
    gains = (rng.uniform(4.0, 9.0), rng.uniform(3.0, 8.0), -rng.uniform(4.0, 10.0))
    y = spectral_gain(x, lambda f: band(f) * resonance(f, peak1, gains[0], 0.3) * resonance(f, peak2, gains[1], 0.25)
                      * resonance(f, dip, gains[2], 0.15))
    y = compress(rng, y, (2.0, 4.0), (-18.0, -8.0))
    y = soft_clip(rng, y, (0.8, 1.8), (0.02, 0.12))
    return pickup(rng, room(rng, y, (0.25, 0.5), (-8.0, -2.0)))


def bookshelf_speaker(rng, x):
    """A small two-way bookshelf speaker: nearly full band with a port bump in the bass and a crossover
    ripple, little distortion, a living room a metre or two away."""
    band = _band(rng, (70.0, 130.0), (2, 5), (4800.0, 5400.0), (2, 5))
    port = rng.uniform(90.0, 180.0)
    crossover = rng.uniform(1800.0, 3000.0)
    gains = (rng.uniform(2.0, 6.0), rng.uniform(-4.0, 3.0))
    y = spectral_gain(x, lambda f: band(f) * resonance(f, port, gains[0], 0.4) * resonance(f, crossover, gains[1], 0.3))
    y = soft_clip(rng, y, (0.3, 1.0), (0.0, 0.05))
    return pickup(rng, room(rng, y, (0.35, 0.7), (-4.0, 2.0)))


def bluetooth_speaker(rng, x):
    """A portable Bluetooth speaker: the codec's steep band edge, a small driver with a boosted low-mid,
    strong dynamic range control and audible distortion, a room at a metre."""
    band = _band(rng, (150.0, 260.0), (3, 6), (3700.0, 4800.0), (12, 17))
    bump = rng.uniform(300.0, 600.0)
    presence = rng.uniform(2000.0, 3000.0)
    gains = (rng.uniform(4.0, 8.0), rng.uniform(2.0, 6.0))
    y = spectral_gain(x, lambda f: band(f) * resonance(f, bump, gains[0], 0.35) * resonance(f, presence, gains[1], 0.3))
    y = compress(rng, y, (3.0, 8.0), (-20.0, -10.0))
    y = soft_clip(rng, y, (1.2, 2.5), (0.03, 0.15))
    return pickup(rng, room(rng, y, (0.25, 0.55), (-6.0, 0.0)))


# Loudspeaker kinds by family name, in the order replayed takes cycle through them.
CHAINS = {
    "small-speaker": small_speaker,
    "phone": phone_speaker,
    "laptop": laptop_speaker,
    "bookshelf": bookshelf_speaker,
    "bluetooth": bluetooth_speaker,
}


def replay(rng, chain, x, span):
    """A reading (with its room noise) through loudspeaker kind CHAIN, back into a microphone in a room with
    its own noise. SPAN is the word's sample range, whose level sets the new noise."""
    peak = np.abs(x).max()
    y = CHAINS[chain](rng, x)
    y *= peak / np.abs(y).max()
    snr = rng.uniform(20.0, 35.0)
    y += pink_noise(rng, len(y)) * rms(y[span[0]: span[1]]) / 10.0 ** (snr / 20.0)
    return y


def full_band_microphone(rng, x):
    return x


def headset_microphone(rng, x):
    """A headset boom microphone: close to the mouth (no room), band-limited like a USB or wireless
    headset's voice path."""
    band = _band(rng, (100.0, 250.0), (2, 4), (3400.0, 4200.0), (4, 9))
    return spectral_gain(x, band)


def webcam_band(rng):
    """The gain of a webcam microphone's band limit."""
    return _band(rng, (150.0, 300.0), (2, 4), (3800.0, 5000.0), (3, 7))


def webcam_room(rng, x):
    """The room between the speaker and a webcam an arm's length away."""
    return room(rng, x, (0.25, 0.55), (-8.0, -2.0))


def webcam_microphone(rng, x):
    """A webcam's microphone an arm's length away: band-limited, with the room's reverberation."""
    return webcam_room(rng, spectral_gain(x, webcam_band(rng)))


MICROPHONES = {
    "full": full_band_microphone,
    "headset": headset_microphone,
    "webcam": webcam_microphone,
}
