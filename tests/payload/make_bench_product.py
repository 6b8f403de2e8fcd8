#!/usr/bin/env python3
"""A large stand-in product for the decode benchmark (never committed).

  make_bench_product.py OUT_DIR [DIVISOR]

Writes the six payload files, about 200 MB together, about 2:1 compressible:
4 KB of word text (lines drawn from a fixed set, which deflate shrinks well)
alternating with 1 KB of random bytes (which it cannot). Same bytes every run;
does nothing when OUT_DIR already holds them. With DIVISOR every file is
that many times smaller (the cancel and pause scenarios use a 1/6 copy).
"""

import random
import sys
from pathlib import Path

from payload_items import payload_files

# Sizes of the payload's files, in install order.
SIZES_MB = dict(zip(payload_files(), (60, 50, 40, 25, 15, 10), strict=True))
STAMP = "v1 " + " ".join(f"{k}={v}" for k, v in SIZES_MB.items())


def make_text(rng):
    letters = "abcdefghijklmnopqrstuvwxyz"
    words = ["".join(rng.choice(letters) for _ in range(rng.randint(2, 9))) for _ in range(500)]
    lines = [(" ".join(rng.choices(words, k=rng.randint(4, 12))) + "\r\n").encode()
             for _ in range(20000)]
    return b"".join(rng.choices(lines, k=200000))


def main(out, divisor=1):
    out = Path(out)
    stamp = out / "stamp.txt"
    if stamp.exists() and stamp.read_text() == f"{STAMP} /{divisor}":
        return
    out.mkdir(parents=True, exist_ok=True)
    rng = random.Random(20040511)
    text = make_text(rng)
    for name, mb in SIZES_MB.items():
        size, parts, have = mb * 1000 * 1000 // divisor, [], 0
        while have < size:
            at = rng.randrange(len(text) - 4096)
            parts.append(text[at:at + 4096] + rng.randbytes(1024))
            have += 5120
        (out / name).write_bytes(b"".join(parts)[:size])
    stamp.write_text(f"{STAMP} /{divisor}")


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else 1)
