#!/usr/bin/env python3
"""Resources of the payload reader's Win32 tests, made with the real packer.

  make_fixtures.py PACKER SEED PRODUCT_DIR OUT_DIR

Packs the sample product and some edge-size files with PACKER, checks every
packed item against its file with a decoder written here from the format
description (key, header and zlib alike), derives deliberately broken items
from a good one, and writes OUT_DIR/fixtures.rc embedding all of them plus
raw copies of the original files (ORIG_<resource>) to compare with.
"""

import os
import random
import struct
import subprocess
import sys
import zlib
from pathlib import Path

from payload_items import payload_items

DATE = "2004-05-11 12:00:00"
DATE_PACKED = 0x30AB6000
SAMPLE = payload_items()


def key_of(seed):
    key = []
    for _ in range(50):
        seed = (seed * 134775813 + 1) % 2**32
        key.append((seed * 256) >> 32)
    return key


def scramble(data, key, sign):
    return bytes((b + sign * key[i % 50]) % 256 for i, b in enumerate(data))


def edge_files(src):
    src.mkdir(parents=True, exist_ok=True)
    x, big = 2463534242, bytearray()
    for _ in range(1 << 20):  # xorshift: incompressible, same bytes every run
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        big.append(x >> 24)
    files = {"empty.dat": b"", "one.dat": b"!", "big.dat": bytes(big),
             "n" * 26 + ".txt": b"a name of thirty characters\r\n"}
    for name, data in files.items():
        (src / name).write_bytes(data)
    return [("rs_zero", "empty.dat"), ("rs_one", "one.dat"), ("rs_big", "big.dat"),
            ("rs_name30", "n" * 26 + ".txt")]


def large_file(src):
    """64 MiB of zeros with a counter every 4 KiB: packs to about 120 KB and
    gives the reader a moment's work."""
    data = bytearray(64 << 20)
    for i in range(0, len(data), 4096):
        data[i], data[i + 1] = (i >> 12) & 255, (i >> 20) & 255
    (src / "large.dat").write_bytes(data)
    return [("rs_large", "large.dat")]


def pack(packer, seed, src, out, items):
    args = [packer, "--seed", str(seed), "--date", DATE]
    for resource, file in items:
        args += ["--item", f"{resource}={file}"]
    subprocess.run(args + [str(src), str(out)], check=True)


def check(path, original, name, key):
    plain = scramble(path.read_bytes(), key, -1)
    body_len, declared, crc, when, name_len = struct.unpack_from("<IiIiB", plain, 0)
    problems = []
    if plain[17:17 + name_len].decode("ascii") != name:
        problems.append("name")
    if (body_len, declared, crc, when) != (len(plain) - 47, len(original),
                                           zlib.crc32(original), DATE_PACKED):
        problems.append("header fields")
    if plain[47] != 0x78 or zlib.decompress(plain[47:]) != original:
        problems.append("body")
    if problems:
        sys.exit(f"make_fixtures: {path}: packer output is wrong: {', '.join(problems)}")
    return plain


def broken_items(good, key):
    """Plain variants of one good item (plain bytes), scrambled like stored ones."""
    def with_header(fmt, offset, value, data=good):
        data = bytearray(data)
        struct.pack_into(fmt, data, offset, value)
        return bytes(data)

    declared = struct.unpack_from("<i", good, 4)[0]
    flipped = bytearray(good)
    flipped[47 + (len(good) - 47) // 2] ^= 0x20
    named = lambda n: with_header("B", 16, len(n), good[:17] + n + good[17 + len(n):])
    plain = {
        "rs_short": good[:46],                               # shorter than the header
        "rs_name31": with_header("B", 16, 31),               # name length above 30
        "rs_notzlib": good[:47] + b"not a zlib stream",      # body is no zlib stream
        "rs_huge": with_header("<i", 4, 0x7FFFFFFF),         # beyond any inflation
        "rs_longer": with_header("<i", 4, declared + 1),     # declares one more byte
        "rs_shorter": with_header("<i", 4, declared - 1),    # declares one byte less
        "rs_flipped": bytes(flipped),                        # corrupt body
        "rs_unsafe": named(b"..\\evil.txt"),                 # a path, not a name
        "rs_device": named(b"CON"),                          # a device name
    }
    return {name: scramble(data, key, +1) for name, data in plain.items()}


def main(packer, seed_text, product, out):
    seed, product, out = int(seed_text, 0), Path(product), Path(out)
    key = key_of(seed)
    edges = edge_files(out / "edge-src")
    pack(packer, seed, product, out / "sample", SAMPLE)
    pack(packer, seed, out / "edge-src", out / "edge", edges)
    large_src = out / "large-src"
    large_src.mkdir(exist_ok=True)
    large = large_file(large_src)
    pack(packer, seed, large_src, out / "large", large)
    check(out / "large" / "rs_large.bin", (large_src / "large.dat").read_bytes(), "large.dat", key)
    # 16 MiB that deflate cannot shrink, for the reader's memory tests.
    (large_src / "random.dat").write_bytes(random.Random(5).randbytes(16 << 20))
    pack(packer, seed, large_src, out / "random", [("rs_random16", "random.dat")])
    check(out / "random" / "rs_random16.bin", (large_src / "random.dat").read_bytes(),
          "random.dat", key)
    rc_large = 'RS_LARGE RCDATA "large/rs_large.bin"'  # no original copy: 64 MiB
    rc_random = 'RS_RANDOM16 RCDATA "random/rs_random16.bin"'  # nor of these 16 MiB
    rc = ["// Resources of the payload reader tests, written by make_fixtures.py."]
    for folder, src, items in (("sample", product, SAMPLE), ("edge", out / "edge-src", edges)):
        for resource, file in items:
            original = (src / file).read_bytes()
            plain = check(out / folder / f"{resource}.bin", original, file, key)
            if resource == "rs_readme":
                good = plain
            rc.append(f'{resource.upper()} RCDATA "{folder}/{resource}.bin"')
            rc.append(f'ORIG_{resource.upper()} RCDATA "{(src / file).resolve().as_posix()}"')
    (out / "broken").mkdir(exist_ok=True)
    for name, data in broken_items(good, key).items():
        (out / "broken" / f"{name}.bin").write_bytes(data)
        rc.append(f'{name.upper()} RCDATA "broken/{name}.bin"')
    (out / "broken" / "rs_empty.bin").write_bytes(b"")
    rc.append('RS_EMPTY RCDATA "broken/rs_empty.bin"')                  # no bytes at all
    (out / "conf_sample.txt").write_bytes(b"[sdl]\r\nfullscreen=false\r\n")
    rc.append('RS_CONF_SAMPLE RCDATA "conf_sample.txt"')
    rc.append(rc_large)
    rc.append(rc_random)
    (out / "fixtures.rc").write_text("\n".join(rc) + "\n")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
