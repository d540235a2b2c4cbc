#!/usr/bin/python3
"""Builds the held-out photographs the fine screen is judged on (korvel-quality --photos DIR),
into a folder outside the repository. They are never part of a training set:

    tools/make/quality/held_out_photos.py /tmp/held

The seven photographs of Debian's python3-skimage that tools/make/quality/training_photos.py leaves
out (astronaut, camera, cell, clock_motion, coffee, gravel, text) and python3-scipy's raccoon
face and ascent (bundled in scipy.misc). Colour is turned into grey with the Rec. 601 luma
weights, rounded, as tools/make/quality/import_photos.py does.
"""
import os
import sys
import warnings

import skimage.io

from training_photos import luma, write_folder

DATA = os.path.join(os.path.dirname(skimage.__file__), "data")
SKIMAGE = ["astronaut", "camera", "cell", "clock_motion", "coffee", "gravel", "text"]


def photographs():
    for name in SKIMAGE:
        yield name, luma(skimage.io.imread(os.path.join(DATA, name + ".png")))
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")  # scipy.misc's copies are deprecated, not gone
        from scipy import misc
        yield "scipy_face", luma(misc.face())
        yield "scipy_ascent", luma(misc.ascent())


def main():
    write_folder(sys.argv[1], photographs())


if __name__ == "__main__":
    main()
