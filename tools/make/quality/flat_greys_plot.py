#!/usr/bin/python3
"""Plots the texture of every flat grey 1..254, measured outside the library: the korvel tool
screens a flat patch of each grey as a user runs it (identity tone curve), and the textbook
serpentine Floyd-Steinberg of screens_table.py is computed here. For each screen and grey:

  low-frequency power  the mean of the radially averaged power spectrum, normalised by the
                       halftone's variance, over the rings up to half the principal frequency
                       (sqrt of the minority share of the two inks around the grey): clusters,
                       worms and slow beats raise it;
  anisotropy           the mean over the rings of the spread of the power around each ring
                       (variance / mean^2, in dB): directional texture raises it;
  start band           how far the ink of rows 0..3 lies from the steady rows, in points.

Spectra are Bartlett averages of 64 x 64 tiles of the rows below the first 64. Writes a PNG of
the three curves against grey and prints, per screen, at how many greys it is worse than
Floyd-Steinberg:

    tools/make/quality/flat_greys_plot.py build/tools/ship/korvel/korvel 1 /tmp/flat1.png
    tools/make/quality/flat_greys_plot.py build/tools/ship/korvel/korvel 2 /tmp/flat2.png
    tools/make/quality/flat_greys_plot.py build/tools/ship/korvel/korvel 2 /tmp/flat2.png 0.4,0.75

With drop inks S,M (2 bits only) the own screens lay drops of those inks (--drop-inks), the
2-bit codes of every halftone are read as the inks 0, S, M, 1, and Floyd-Steinberg diffuses to
them; the three-drop screen of type 41, whose drops are fixed, is left out.
"""
import os
import subprocess
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from screens_table import floyd_steinberg, read_pgm  # noqa: E402

SIDE = 320
TILE = 64
SKIPPED_ROWS = 64
START_ROWS = 4


def write_pgm(path, grey):
    with open(path, "wb") as f:
        f.write(b"P5\n%d %d\n255\n" % (SIDE, SIDE))
        f.write(bytes([grey]) * (SIDE * SIDE))


def rings():
    f = np.fft.fftfreq(TILE)
    radius = np.hypot(*np.meshgrid(f, f, indexing="ij")) * TILE
    return np.rint(radius).astype(int)


RINGS = rings()


def texture(ink, inks):
    """Low-frequency power, anisotropy (dB) and start band (points) of an ink raster 0..1."""
    steady = ink[SKIPPED_ROWS:]
    mean = steady.mean()
    variance = steady.var()
    start = 100 * abs(ink[:START_ROWS].mean() - mean)
    if variance < 1e-9:  # one ink everywhere: no texture to measure (not plotted, not counted)
        return np.nan, np.nan, start
    power = np.zeros((TILE, TILE))
    tiles = 0
    for y in range(0, steady.shape[0] - TILE + 1, TILE):
        for x in range(0, SIDE - TILE + 1, TILE):
            tile = steady[y:y + TILE, x:x + TILE] - mean
            power += np.abs(np.fft.fft2(tile)) ** 2 / (TILE * TILE)
            tiles += 1
    power /= tiles * variance
    # The share of the upper of the two inks that bracket the mean.
    upper = min(max(np.searchsorted(inks, mean), 1), len(inks) - 1)
    share = (mean - inks[upper - 1]) / (inks[upper] - inks[upper - 1])
    principal = np.sqrt(min(share, 1 - share)) * TILE
    low, spread = [], []
    for ring in range(1, TILE // 2):
        values = power[RINGS == ring]
        if ring <= max(principal / 2, 1):
            low.append(values.mean())
        spread.append(values.var() / max(values.mean() ** 2, 1e-12))
    return np.mean(low), 10 * np.log10(max(np.mean(spread), 1e-12)), start


def ink_of_codes(halftone, inks):
    """The ink of every pixel of the tool's halftone, whose greys are its drop codes (white paper,
    the codes evenly spaced up to black), read as the given inks."""
    codes = np.rint((255 - halftone) * (len(inks) - 1) / 255.0).astype(int)
    return np.asarray(inks)[codes]


def main():
    if len(sys.argv) not in (4, 5) or sys.argv[2] not in ("1", "2") or (
            len(sys.argv) == 5 and sys.argv[2] != "2"):
        sys.exit(__doc__)
    tool, bits, plot = sys.argv[1], sys.argv[2], sys.argv[3]
    drop_inks = [float(ink) for ink in sys.argv[4].split(",")] if len(sys.argv) == 5 else None
    inks = [0.0, 1.0] if bits == "1" else [0.0, *(drop_inks or [1 / 3, 2 / 3]), 1.0]
    own = ["--drop-inks", sys.argv[4]] if drop_inks else []
    screens = {"ed34": [], "fine": ["--screen", "fine"], "best": ["--screen", "best"]}
    if bits == "2":
        screens = {"d41": [], "fine": ["--screen", "fine", *own], "best": ["--screen", "best", *own]}
        if drop_inks:
            del screens["d41"]
    names = ["fs", *screens]
    greys = list(range(1, 255))
    figures = {name: [] for name in names}
    work = tempfile.mkdtemp()
    source, out = os.path.join(work, "flat.pgm"), os.path.join(work, "out.pgm")
    for grey in greys:
        write_pgm(source, grey)
        image = read_pgm(source)
        halftones = {"fs": floyd_steinberg(image, inks)}
        for name, args in screens.items():
            quality = [] if name == "d41" else ["--quality", "0"]
            subprocess.run([tool, "halftone", "--bits", bits, *args, "--quiet", *quality, source,
                            out], check=True)
            halftones[name] = read_pgm(out)
        figures["fs"].append(texture(1 - halftones["fs"] / 255.0, inks))
        for name in screens:
            figures[name].append(texture(ink_of_codes(halftones[name], inks), inks))
    figures = {name: np.array(values) for name, values in figures.items()}
    titles = ["low-frequency power", "anisotropy (dB)", "start band (points)"]
    fig, axes = plt.subplots(3, 1, figsize=(10, 11), sharex=True)
    for k, axis in enumerate(axes):
        for name in names:
            axis.plot(greys, figures[name][:, k], label=name, linewidth=0.8)
        axis.set_title(f"{bits} bit: {titles[k]}")
        axis.grid(alpha=0.3)
    axes[0].set_yscale("log")
    axes[2].axhline(2.0, color="black", linewidth=0.5)
    axes[2].set_xlabel("grey")
    axes[0].legend()
    fig.tight_layout()
    fig.savefig(plot, dpi=90)
    fs = figures["fs"].copy()
    # Where fs settles into an exact lattice (no power below half the principal frequency) it is
    # periodic itself and no yardstick: such greys are named and left out of the counts.
    lattice = fs[:, 0] < 1e-9
    fs[lattice] = np.nan
    print(f"{bits} bit, greys 1..254 where a screen is worse than fs; worst start band")
    if lattice.any():
        print("fs lays an exact lattice at greys", *np.array(greys)[lattice], "(not compared)")
    for name in screens:
        f = figures[name]
        with np.errstate(invalid="ignore", divide="ignore"):
            ratio = f[:, 0] / fs[:, 0]
        worst = np.nanargmax(ratio)
        excess = f[:, 1] - fs[:, 1]
        print(f"{name:5s} low-frequency power {np.sum(ratio > 1):3d}"
              f" (over 1.25x {np.sum(ratio > 1.25):3d}, worst {ratio[worst]:.2f}x at"
              f" {greys[worst]})  anisotropy {np.sum(excess > 0):3d}"
              f" (over 1 dB {np.sum(excess > 1):3d}, worst {np.nanmax(excess):+.2f} dB)"
              f"  start band over 2 points {np.sum(f[:, 2] > 2):3d} (worst {f[:, 2].max():.2f})")
    print(f"fs    start band worst {figures['fs'][:, 2].max():.2f}")


if __name__ == "__main__":
    main()
