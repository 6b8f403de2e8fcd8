#!/usr/bin/env python3
"""Runs the gallery under Wine, screenshots it and prints the PNG's path as
the last line. With --check it also compares fills at chosen points with
colours worked out here from the drawing rules (never text pixels).

  shoot.py [--root WINE_ROOT] [--check] GALLERY_EXE OUT_DIR

Needs a display (scripts/with-display.sh). Without --root a 32-bit template
prefix is made once under OUT_DIR/wine.
"""

import argparse
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "harness"))
import wineprefix  # noqa: E402

WIDTH, HEIGHT = 1220, 650
MAROON, RED, BLACK, WHITE = (128, 0, 0), (255, 0, 0), (0, 0, 0), (255, 255, 255)


def band_step(s, e, n, i):
    # Python's round() takes ties to the even neighbour, as the rules do.
    return tuple(a + round(i * ((b - a) / n)) for a, b in zip(s, e))


def backdrop_step(s, e, n, i):
    return tuple(round(a + i * ((b - a) / n)) for a, b in zip(s, e))


def panel_band_at(y, height, s, e, n=32):
    h = height / n
    found = 0
    for i in range(n):
        start = round(i * h)
        if start <= y < start + int(h) + 1:
            found = i
    return band_step(s, e, n, found)


def pyramid_at(x, y, w=492, h=390, n=100):
    c = MAROON
    for i in range(n + 1):
        left, top = round(i * (w / n / 2)), round(i * (h / n / 2))
        if left <= x < w - left and top <= y < h - top:
            c = backdrop_step(MAROON, RED, n, i)
    return c


def expectations():
    """(x, y, colour, what) in screen coordinates."""
    grey, orange = (210, 211, 216), (233, 140, 1)
    side = (255, 77, 0)
    bar_x, bar_y = 10 + 8, 420 + 92
    return [
        (100, 10, side, "side panel, top"),
        (100, 409, panel_band_at(399, 400, side, MAROON), "side panel, bottom"),
        (205, 10, MAROON, "pyramid, corner"),
        (205 + 246, 10 + 195, backdrop_step(MAROON, RED, 100, 99), "pyramid, centre"),
        (205 + 30, 10 + 200, pyramid_at(30, 200), "pyramid, left"),
        (900, 10, MAROON, "vertical, top"),
        (900, 399, backdrop_step(MAROON, RED, 100, 99), "vertical, bottom"),
        (205 + 102, 10 + 332, pyramid_at(102, 332), "Setup: outer ring shows the backdrop"),
        (205 + 106, 10 + 333, RED, "Setup: face at rest"),
        (bar_x, bar_y, panel_band_at(92, 129, RED, MAROON), "bar corner shows the panel"),
        (bar_x + 5, bar_y + 9, (0, 255, 0), "bar at 50 %: green block"),
        (bar_x + 153, bar_y + 9, WHITE, "bar: gap"),
        (482, 428 + 75 + 9, (255, 255, 0), "bar at 70 %: yellow"),
        (482, 428 + 100 + 9, (255, 169, 83), "bar at 90 %: orange"),
        (482, 428 + 150 + 9, RED, "bar at 100 %: red"),
        (482, 428 + 175 + 9, WHITE, "bar with Max = Min: empty"),
        (944, 431, RED, "main button at rest"),
        (944, 465, MAROON, "main button hot"),
        (944, 499, grey, "main button down"),
        (940, 498, MAROON, "main button down: ring"),
        (944, 533, RED, "main button disabled"),
        (1029, 497, orange, "progress button down"),
        (1025, 428, MAROON, "progress button: ring"),
        (1029, 531, RED, "progress button disabled"),
    ]


def read_ppm(png):
    data = subprocess.run(["convert", str(png), "ppm:-"], check=True,
                          capture_output=True).stdout
    parts = data.split(maxsplit=4)
    width = int(parts[1])
    pixels = parts[4]
    return lambda x, y: tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3])


def check(png):
    at = read_ppm(png)
    bad = 0
    for x, y, want, what in expectations():
        got = at(x, y)
        if got != tuple(want):
            bad += 1
            print(f"gallery: {what} at ({x},{y}): got {got}, want {tuple(want)}")
    print(f"gallery: {len(expectations()) - bad} of {len(expectations())} pixels as expected")
    return bad == 0


def prefix_root(out, root):
    if root:
        return Path(root).resolve()
    return wineprefix.ensure_template(out / "wine", wineprefix.available_arches()[0],
                                      lambda text: print(f"gallery: {text}"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--root")
    ap.add_argument("--check", action="store_true")
    ap.add_argument("gallery")
    ap.add_argument("out")
    a = ap.parse_args()
    out = Path(a.out).resolve()
    out.mkdir(parents=True, exist_ok=True)
    png = out / "gallery.png"
    try:
        root = prefix_root(out, a.root)
    except wineprefix.WinebootError as e:
        print(f"gallery: {e}")
        return 1
    with wineprefix.Prefix(root, wineprefix.available_arches()[0], name="gallery") as pre:
        exe = pre.install_copy(a.gallery, "C:\\gallery")
        ready = pre.host("C:\\gallery\\ready")
        proc = pre.spawn(exe, "C:\\gallery\\ready")
        deadline = time.monotonic() + 60
        while not ready.exists() and proc.poll() is None and time.monotonic() < deadline:
            time.sleep(0.2)
        if not ready.exists():
            print("gallery: the window did not come up")
            return 1
        time.sleep(1.0)  # let the X server finish drawing
        subprocess.run(["import", "-window", "root", "-crop", f"{WIDTH}x{HEIGHT}+0+0", str(png)],
                       check=True)
        proc.kill()
    ok = check(png) if a.check else True
    print(png)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
