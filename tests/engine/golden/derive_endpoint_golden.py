#!/usr/bin/env python3
"""Derives start/end frames of the endpoint detector on hand-made level profiles.

The recordings in EndpointDetectorTest use windowLength = frameShift = 80 and samples of alternating sign
and constant magnitude per frame, so that every frame level equals the profile exactly. This script is a
second, straightforward reading of the detector over those levels; where two readings of the end search
(placing and moving the end in one pass, or not) give different frames, the profile is kept as a test.
Run: python3 derive_endpoint_golden.py
"""


def detect(levels, n_frames, place_and_move_in_one_pass=False, plain_walk_back_means=False):
    # Levels outside the evaluated even frames 4 <= i < N - 5 read 0.
    def E(k):
        return levels[k] if 0 <= k < n_frames and k % 2 == 0 and 4 <= k < n_frames - 5 else 0.0

    def mean(ks):
        ks = list(ks)
        return sum(E(k) for k in ks) / len(ks)

    start, end = 5, n_frames - 5
    start_placed = end_placed = start_conf = end_conf = False
    noise = peak = 0.0
    armed, burst, offset = False, 0, 0
    i = 4
    while True:
        i = max(i, 4)
        if not start_conf:
            if not start_placed:
                if 5 <= i <= 16:
                    m = mean(range(4, i - 1, 2))
                elif i >= 17:
                    m = mean(range(i - 12, i - 1, 2))
                if i > 4 and E(i) > 2.25 * m:
                    start, start_placed, noise = i, True, m
            elif i == start + 12:
                a = mean(range(start + 2, start + 13, 2))
                if a < 2.55 * noise or a < 20:
                    i -= 10
                    start, start_placed = 5, False
                else:
                    start_conf = True
            peak = max(peak, E(i))
        if start_conf and not end_conf:
            placed_now = False
            if not end_placed:
                if i > start + 34:
                    a = mean(range(i - 32, i + 1, 2))
                    if a < 1.85 * noise or a < 20:
                        end, end_placed, placed_now = i - 34, True, True
            if end_placed and (not placed_now or place_and_move_in_one_pass) and i >= end + 30:
                m = mean(range(i - 28, i + 1, 2))
                if E(end) > 1.35 * m:
                    end += 2
                    noise = m
                else:
                    j, a, b, p = end, m, noise, 0
                    while True:
                        carried = 0.0 if plain_walk_back_means else 1.0
                        a = (carried * a + sum(E(i - 2 * p - 2 * q) for q in range(15))) / 15
                        b = (carried * b + sum(E(j - 2 * q) for q in range(15))) / 15
                        j -= 2
                        p += 1
                        if not (b < 2.25 * a and j > start + 30):
                            break
                    end, end_conf = j, True
            peak = max(peak, E(i))
        if E(i) > 1.8 * peak:
            armed, burst = True, i
        if armed and i == burst + 4:
            if mean(range(burst - 4, burst + 5, 2)) > 1.6 * peak:
                i = end + offset
                offset += 2
                start_conf = end_conf = start_placed = end_placed = False
                start, end = 5, n_frames - 5
            else:
                armed = False
        i += 2
        if i >= n_frames - 5:
            return start, end


def profile(n_frames, segments, floor):
    """segments: (first frame, last frame, level); everything else at `floor`."""
    levels = [floor] * n_frames
    for first, last, level in segments:
        for k in range(first, last + 1):
            levels[k] = level
    return levels


PROFILES = {
    # A word with a decaying tail: the end creeps along the tail before it is confirmed.
    "DecayingTail": (300, [(50, 149, 1000), (150, 159, 300), (160, 169, 120), (170, 179, 40)], 10),
    # A blip too short to confirm an onset, then the word.
    "BlipBeforeWord": (300, [(30, 31, 200), (60, 179, 800)], 10),
    # A click, then a sound more than 2.7 times louder after the click's end.
    "ClickThenLouderWord": (360, [(40, 60, 1500), (150, 260, 5000)], 10),
    # A faint sound after the tail: the pass in which the end is placed must not also move it.
    "TailThenFaintSound": (300, [(50, 149, 1000), (150, 159, 100), (186, 189, 100)], 10),
    # A louder sound after the tail makes the end walk back; the carried means decide where it stops.
    "WalkBackIntoLaterSound": (300, [(50, 149, 400), (150, 169, 100), (202, 221, 600)], 10),
}

if __name__ == "__main__":
    for name, (n, segments, floor) in PROFILES.items():
        levels = profile(n, segments, floor)
        print("%-24s start/end %s   (other readings: one-pass placing and moving %s, plain walk-back means %s)"
              % (name, detect(levels, n), detect(levels, n, True), detect(levels, n, False, True)))
