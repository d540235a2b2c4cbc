#!/usr/bin/python3
"""Prints every screen's eye-weighted PSNR on a folder of grey photographs, measured outside the
library: the korvel tool screens each photograph as a user runs it (identity tone curve), and
scipy filters both images with two eye models, a Gaussian of sigma 1.5 and of sigma 3 (edges
mirrored, unlike korvel-quality's replicated edges) and a spread (1 + r^2)^-1.5 that falls
exponentially with frequency. The textbook serpentine Floyd-Steinberg, to two levels and to the
drop inks 0, 1/3, 2/3, 1, is computed here.

    tools/make/quality/held_out_photos.py /tmp/held
    tools/make/quality/screens_table.py build/tools/ship/korvel/korvel /tmp/held
"""
import os
import subprocess
import sys
import tempfile

import numpy as np
from scipy import ndimage


def read_pgm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height, peak = int(fields[1]), int(fields[2]), int(fields[3])
    pixels = np.frombuffer(data[pos + 1:pos + 1 + width * height], np.uint8)
    return pixels.reshape(height, width).astype(np.float64) * (255.0 / peak)


def floyd_steinberg(image, inks):
    """Serpentine Floyd-Steinberg on ink amounts 0..1 to the nearest of `inks`; greys back."""
    height, width = image.shape
    ink = 1 - image / 255.0
    out = np.zeros_like(ink)
    levels = np.array(inks)
    current, below = np.zeros(width + 2), np.zeros(width + 2)
    for y in range(height):
        step = 1 if y % 2 == 0 else -1
        xs = range(width) if step == 1 else range(width - 1, -1, -1)
        row = ink[y]
        for x in xs:
            want = row[x] + current[x + 1]
            got = levels[np.abs(levels - want).argmin()]
            out[y, x] = got
            error = want - got
            current[x + 1 + step] += error * 7 / 16
            below[x + 1 - step] += error * 3 / 16
            below[x + 1] += error * 5 / 16
            below[x + 1 + step] += error / 16
        current, below = below, np.zeros(width + 2)
    return 255 * (1 - out)


def spread_kernel(scale=1.0):
    radius = int(6 * scale)
    y, x = np.mgrid[-radius:radius + 1, -radius:radius + 1]
    kernel = (1 + (x * x + y * y) / scale ** 2) ** -1.5
    return kernel / kernel.sum()


SPREAD = spread_kernel()


def psnr(a, b, eye):
    if eye == "spread":
        fa = ndimage.convolve(a, SPREAD, mode="mirror")
        fb = ndimage.convolve(b, SPREAD, mode="mirror")
    else:
        fa = ndimage.gaussian_filter(a, eye, mode="mirror")
        fb = ndimage.gaussian_filter(b, eye, mode="mirror")
    return 10 * np.log10(255.0 ** 2 / np.mean((fa - fb) ** 2))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    tool, folder = sys.argv[1], sys.argv[2]
    photos = sorted(f for f in os.listdir(folder) if f.endswith(".pgm"))
    if not photos:
        sys.exit(f"no .pgm photographs in {folder}")
    work = tempfile.mkdtemp()
    mask = os.path.join(work, "mask.bin")
    subprocess.run([tool, "mask", "make", "--size", "128x128", mask], check=True,
                   stdout=subprocess.DEVNULL)
    screens = {
        "ed34": ["halftone"], "td": ["halftone", "--template-diffusion"],
        "m42": ["halftone", "--type", "42"], "fine": ["halftone", "--screen", "fine"],
        "best": ["halftone", "--screen", "best"], "d41": ["halftone", "--bits", "2"],
        "fine2": ["halftone", "--bits", "2", "--screen", "fine"],
        "best2": ["halftone", "--bits", "2", "--screen", "best"],
    }
    eyes = [1.5, 3.0, "spread"]
    names = ["fs", "ed34", "td", "m42", "mask", "fine", "best", "fs4", "d41", "fine2", "best2"]
    print("photo", *[f"{n}@{e}" for e in eyes for n in names], sep="\t")
    totals = np.zeros((len(eyes), len(names)))
    for photo in photos:
        path = os.path.join(folder, photo)
        image = read_pgm(path)
        results = {"fs": floyd_steinberg(image, [0, 1]),
                   "fs4": floyd_steinberg(image, [0, 1 / 3, 2 / 3, 1])}
        for name, args in screens.items():
            out = os.path.join(work, name + ".pgm")
            # The matrix and the drop screen read no tone curve, and refuse one.
            quality = [] if name in ("m42", "d41") else ["--quality", "0"]
            subprocess.run([tool, *args, "--quiet", *quality, path, out], check=True)
            results[name] = read_pgm(out)
        out = os.path.join(work, "mask.pgm")
        subprocess.run([tool, "mask", "apply", mask, path, out], check=True,
                       stdout=subprocess.DEVNULL)
        results["mask"] = read_pgm(out)
        row = [[psnr(image, results[n], e) for n in names] for e in eyes]
        totals += np.array(row)
        print(photo[:-4], *[f"{v:.2f}" for r in row for v in r], sep="\t", flush=True)
    print("mean", *[f"{v:.2f}" for v in (totals / len(photos)).ravel()], sep="\t")


if __name__ == "__main__":
    main()
