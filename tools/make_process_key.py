#!/usr/bin/env python3
"""Prints the suite's process key: 1003 characters of Base64 (752 bytes, unpadded), derived from a fixed seed.

The text is generated once and committed with the class library; every store of every installation is
encrypted under it, so it must never be regenerated with another seed.
"""
import base64
import hashlib

SEED = b"DeskWarden process key, seed 1"
KEY_BYTES = 752  # 752 bytes make 1003 Base64 characters without padding


def key_bytes(seed: bytes, length: int) -> bytes:
    out = b""
    counter = 0
    while len(out) < length:
        out += hashlib.sha256(seed + counter.to_bytes(4, "big")).digest()
        counter += 1
    return out[:length]


def main() -> None:
    text = base64.b64encode(key_bytes(SEED, KEY_BYTES)).decode("ascii").rstrip("=")
    assert len(text) == 1003
    print(text)


if __name__ == "__main__":
    main()
