#!/usr/bin/env python3
"""Derives the golden values of the engine front-end tests with numpy, independently of the C++ code.

The LPC systems are solved as dense Toeplitz systems (numpy.linalg.solve) and the spectra come from
numpy.fft, so a fault shared by the recursions or the FFT in C++ shows up as a mismatch.
Run: python3 derive_front_end_golden.py   (numbers are pasted into the *Test.cpp files).
"""
import numpy as np


def test_signal(count, seed=12345):
    """Triangle wave (period 50) plus 31-bit LCG noise; integers only, so C++ rebuilds it exactly."""
    out = []
    state = seed
    for n in range(count):
        v = n % 50
        tri = (v if v < 25 else 50 - v) * 400 - 5000
        state = (state * 1103515245 + 12345) % (1 << 31)
        noise = (state >> 16) % 2001 - 1000
        out.append(tri + noise)
    return np.array(out, dtype=np.int64)


TAPS = [1.13639e-05, 2.27278e-05, 5.96604e-05, 0.000127844, 0.000252846, 0.000553989, 0.000991499,
        0.002440395, 1.236285675, -1.236285675, -0.002440395, -0.000991499, -0.000553989, -0.000252846,
        -0.000127844, -5.96604e-05, -2.27278e-05, -1.13639e-05]


def pre_filter(x):
    # A 35-tap FIR over the original samples: because the in-place update only reads ahead, it equals
    # filtering the untouched input.
    y = x.copy()
    for k in range(len(x) - 35):
        acc = 0.0
        for j, h in enumerate(TAPS):
            acc += h * float(x[k + 2 * j])
        y[k] = int(np.trunc(acc))
    return y


def lpc_cepstrum(frame, lpc_order=16, cep_order=19):
    s = frame.astype(np.float64)
    peak = np.max(np.abs(s))
    s = s / (peak if peak > 0 else 1.0)
    e = np.concatenate(([s[0]], s[1:] - 0.95 * s[:-1]))
    n = len(s)
    w = np.hamming(n)  # 0.54 - 0.46 cos(2 pi n / (N - 1))
    xw = w * e
    r = np.array([np.dot(xw[:n - k], xw[k:]) for k in range(lpc_order + 1)])
    toeplitz = np.array([[r[abs(i - j)] for j in range(lpc_order)] for i in range(lpc_order)])
    a = np.linalg.solve(toeplitz, r[1:lpc_order + 1])  # predictor: x[n] ~ sum a_j x[n-j]
    gain = np.sqrt(r[0] - np.dot(a, r[1:lpc_order + 1]))
    a_full = np.concatenate(([1.0], a, np.zeros(cep_order)))
    c = np.zeros(cep_order + 1)
    c[0] = np.log(gain) / np.log(2.718282)
    for m in range(1, cep_order + 1):
        c[m] = a_full[m] + sum((k / m) * c[k] * a_full[m - k] for k in range(1, m))
    weights = np.ones(cep_order + 1)
    weights[:4] = [0.4, 0.65, 0.8, 0.9]
    return (weights * c).astype(np.float32)


def plp_cepstra(frame):
    fs = 11025.0
    w = np.hamming(220)
    spec = np.abs(np.fft.rfft(frame.astype(np.float64) * w, 256)) ** 2
    bark = lambda f: 6 * np.arcsinh(f / 600.0)
    hz = lambda z: 600 * np.sinh(z / 6.0)
    dz = bark(fs / 2) / 18
    b = 128 / (fs / 2)
    bands = np.zeros(19)
    for i in range(1, 18):
        zc = i * dz
        lo = max(0, int(np.round(b * hz(zc - 2.5))))
        hi = min(128, int(np.round(b * hz(zc + 1.3))))
        k = np.arange(lo, hi + 1)
        d = bark(k / b) - zc
        wt = np.where(d <= -0.5, 10.0 ** (d + 0.5), np.where(d >= 0.5, 10.0 ** (-2.5 * (d - 0.5)), 1.0))
        q = hz(zc) ** 2
        loud = (q / (q + 1.6e5)) ** 2 * (q + 1.44e6) / (q + 9.61e6)
        bands[i] = (np.sum(wt * spec[lo:hi + 1]) * loud) ** 0.33
    bands[0], bands[18] = bands[1], bands[17]
    # Autocorrelation as the inverse DFT of the even-symmetric 36-point extension of the band spectrum.
    sym = np.concatenate((bands, bands[17:0:-1]))
    r = np.real(np.fft.ifft(sym))[:13]
    toeplitz = np.array([[r[abs(i - j)] for j in range(12)] for i in range(12)])
    alpha = np.linalg.solve(toeplitz, -r[1:13])  # error filter 1 + a_1 z^-1 + ...
    a = np.concatenate(([1.0], alpha))
    gain = r[0] + np.dot(alpha, r[1:13])
    a = a / gain
    c = np.zeros(13)
    c[0] = -np.log(a[0])
    c[1] = -a[1] / a[0]
    for n in range(2, 13):
        c[n] = -(n * a[n] + sum((n - m) * a[m] * c[n - m] for m in range(1, n))) / (n * a[0])
    return np.concatenate(([c[0]], np.arange(1, 13) ** 0.6 * c[1:]))


def plp_features(x):
    frames = (len(x) + 110 - 220) // 110
    cep = np.array([plp_cepstra(x[t * 110:t * 110 + 220]) for t in range(frames)])
    return cep, frames


def fmt(values):
    return ", ".join("%.9g" % v for v in values)


if __name__ == "__main__":
    x = test_signal(60)
    print("pre-filter input (60):", fmt(x))
    print("pre-filter output (60):", fmt(pre_filter(x)))

    frame = test_signal(240, seed=777)
    print("LPC cepstrum (20):", fmt(lpc_cepstrum(frame)))

    dft_frame = test_signal(256, seed=4242).astype(np.float64)
    mags = np.abs(np.fft.rfft(dft_frame))
    print("DFT |X| sum bins 115..124: %.12g" % np.sum(mags[115:125]))
    print("DFT |X| sum bins 10..29: %.12g" % np.sum(mags[10:30]))
    print("DFT power bins 0, 5, 128: %.12g, %.12g, %.12g" % tuple(mags[[0, 5, 128]] ** 2))

    plp_in = test_signal(1100, seed=99)
    cep, frames = plp_features(plp_in)
    t = 4
    delta = 0.25 * sum(k * cep[t + k] for k in range(-3, 4))
    print("PLP frames:", frames)
    print("PLP frame 4 (26):", fmt(np.concatenate((cep[t], delta)).astype(np.float32)))
    print("PLP frame 0 deltas (13):", fmt((0.25 * cep[0]).astype(np.float32)))
