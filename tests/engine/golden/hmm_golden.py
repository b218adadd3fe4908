#!/usr/bin/python3
"""Reference values for the quantiser and HMM tests, derived without the engine's own algorithms.

Scores come from enumerating every left-to-right state path, re-estimates from exact path posteriors,
so the forward/backward recursions and the Viterbi pass of the engine are checked against brute force.
Run: /usr/bin/python3 hmm_golden.py (the Debian python3 that carries numpy)  (prints C++ initialisers pasted into the tests).
"""
import itertools

import numpy as np

FLOOR = 1e-6


def cxx(values):
    return "{" + ", ".join(repr(float(v)) for v in np.ravel(values)) + "}"


def lcg(seed, count):
    out = []
    for _ in range(count):
        seed = (seed * 214013 + 2531011) % 2**32
        out.append((seed >> 16) & 0x7FFF)
    return out


def initial_model(n, m):
    draws = iter(v / 32767.0 for v in lcg(0, (n - 1) + n * m))
    a = np.zeros((n, n))
    a[n - 1, n - 1] = 1.0
    for i in range(n - 1):
        a[i, i] = max(next(draws), FLOOR)
    for i in range(n - 1):
        a[i, i + 1] = max(1.0 - a[i, i], FLOOR)
    b = np.array([[max(next(draws), FLOOR) for _ in range(m)] for _ in range(n)])
    b /= b.sum(axis=1, keepdims=True)
    return np.full(n, 1.0 / n), a, b


def quantise(frames, codewords, weights, dim_weights):
    frames = np.asarray(frames, dtype=np.float32).astype(np.float64)
    codewords = np.asarray(codewords, dtype=np.float32).astype(np.float64)
    v = np.asarray(weights, dtype=np.float32).astype(np.float64)
    v = np.where((v == 0) | (v > 100), 1.0, v)
    w = np.asarray(dim_weights, dtype=np.float32).astype(np.float64)
    symbols, confidences = [], []
    for x in frames:
        d = ((x - codewords) ** 2 * w).sum(axis=1)
        j = int(np.argmin(d))  # first index on ties
        symbols.append(j)
        confidences.append(np.float32(np.exp(-d[j] / v[j]) / np.sqrt(np.pi * v[j])))
    return symbols, confidences


def left_to_right_paths(n, length):
    for path in itertools.product(range(n), repeat=length):
        if path[0] >= 0 and all(b - a in (0, 1) for a, b in zip(path, path[1:])):
            yield path


def brute_viterbi(pi, a, b, seq):
    n = len(pi)
    best = -np.inf
    for path in left_to_right_paths(n, len(seq)):
        s = np.log10(pi[path[0]]) + np.log10(b[path[0], seq[0]])
        for t in range(1, len(seq)):
            s += np.log10(a[path[t - 1], path[t]]) + np.log10(b[path[t], seq[t]])
        best = max(best, s)
    return best / len(seq)


def joint(pi, a, b, seq, path):
    p = pi[path[0]] * b[path[0], seq[0]]
    for t in range(1, len(seq)):
        p *= a[path[t - 1], path[t]] * b[path[t], seq[t]]
    return p


def likelihood(pi, a, b, seq):
    n = len(pi)
    return sum(joint(pi, a, b, seq, p) for p in itertools.product(range(n), repeat=len(seq)))


def brute_reestimate(pi, a, b, seq, conf):
    n, m = b.shape
    length = len(seq)
    total = likelihood(pi, a, b, seq)
    gamma = np.zeros((length, n))
    xi = np.zeros((length - 1, n, n))
    for path in itertools.product(range(n), repeat=length):
        p = joint(pi, a, b, seq, path) / total
        for t in range(length):
            gamma[t, path[t]] += p
        for t in range(length - 1):
            xi[t, path[t], path[t + 1]] += p
    # The last frame's weight is its posterior divided by the last scale factor P(o_0..T-1) / P(o_0..T-2).
    last_scale = total / likelihood(pi, a, b, seq[:-1])
    gamma[-1] /= last_scale
    conf = np.asarray(conf, dtype=np.float32).astype(np.float64)
    norm = np.maximum(conf / conf.max(), 1e-5)
    w = np.full((length, m), 1e-6)
    for t, o in enumerate(seq):
        w[t, o] = norm[t]
    new_pi = gamma[0].copy()
    new_a = xi.sum(axis=0) / gamma[:-1].sum(axis=0)[:, None]
    new_b = (gamma[:, :, None] * w[:, None, :]).sum(axis=0) / gamma.sum(axis=0)[:, None]
    return new_pi, new_a, new_b


def main():
    print("// LCG seeded 0:", lcg(0, 5))

    pi0, a0, b0 = initial_model(3, 4)
    print("// initial model N=3 M=4")
    print("pi", cxx(pi0))
    print("a", cxx(a0))
    print("b", cxx(b0))

    dim = 4
    default_w = np.array([1 + ((dim - 1) / 2) * np.sin(np.pi * d / (dim - 1)) for d in range(dim)], dtype=np.float32)
    codewords = [[0.0, 0.0, 0.0, 0.0], [1.0, -0.5, 0.25, 2.0], [-1.0, 0.5, 0.75, -2.0]]
    weights = [0.0, 150.0, 0.5]
    frames = [[0.1, 0.2, -0.1, 0.05], [0.9, -0.4, 0.3, 1.7], [-0.7, 0.4, 0.5, -1.5], [0.5, -0.25, 0.125, 1.0]]
    symbols, confidences = quantise(frames, codewords, weights, default_w)
    print("// quantiser D=4 default weights", cxx(default_w))
    print("symbols", symbols)
    print("confidences", cxx(confidences))

    pi = np.array([0.7, 0.2, 0.1], dtype=np.float32).astype(np.float64)
    a = np.array([[0.6, 0.4, 1e-6], [1e-6, 0.7, 0.3], [1e-6, 1e-6, 1.0]], dtype=np.float32).astype(np.float64)
    b = np.array([[0.5, 0.3, 0.1, 0.1], [0.1, 0.2, 0.6, 0.1], [0.25, 0.05, 0.1, 0.6]],
                 dtype=np.float32).astype(np.float64)
    seq = [0, 1, 2, 2, 3, 3]
    print("// viterbi, side all:", repr(brute_viterbi(pi, a, b, seq)))
    wide = np.full((3, 6), 1e-6)
    wide[:, 2:] = b
    upper_seq = [0, 3, 4, 1, 5, 5]
    print("// viterbi, side upper in 6 symbols:", repr(brute_viterbi(pi, a, wide, upper_seq)))

    pi = np.array([0.6, 0.3, 0.1])
    a = np.array([[0.5, 0.5, 0.0], [0.0, 0.8, 0.2], [0.0, 0.0, 1.0]])
    b = np.array([[0.4, 0.3, 0.2, 0.1], [0.1, 0.5, 0.3, 0.1], [0.2, 0.1, 0.3, 0.4]])
    seqs = [[0, 1, 1, 2, 3], [0, 0, 1, 2, 3, 3]]
    confs = [[0.5, 1.0, 0.25, 1e-7, 0.75], [2.0, 1.0, 0.5, 2.0, 0.1, 1.5]]
    est = [brute_reestimate(pi, a, b, s, c) for s, c in zip(seqs, confs)]
    print("// re-estimate of sequence 0")
    print("pi", cxx(est[0][0]))
    print("a", cxx(est[0][1]))
    print("b", cxx(est[0][2]))
    avg_pi = (est[0][0] + est[1][0]) / 2
    avg_a = (est[0][1] + est[1][1]) / 2
    avg_b = (est[0][2] + est[1][2]) / 2
    avg_b /= avg_b.sum(axis=1, keepdims=True)  # lengths differ
    change = np.abs(avg_pi - pi).sum() + np.abs(avg_a - a).sum() + np.abs(avg_b - b).sum()
    print("// averaged pass (unequal lengths)")
    print("pi", cxx(avg_pi))
    print("a", cxx(avg_a))
    print("b", cxx(avg_b))
    print("change", repr(change))


if __name__ == "__main__":
    main()
