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

import numpy as np
import skimage.io

DATA = os.path.join(os.path.dirname(skimage.__file__), "data")
SKIMAGE = ["astronaut", "camera", "cell", "clock_motion", "coffee", "gravel", "text"]


def grey(image):
    image = image.astype(np.float64)
    if image.ndim == 3:
        image = 0.299 * image[..., 0] + 0.587 * image[..., 1] + 0.114 * image[..., 2]
    return np.clip(np.floor(image + 0.5), 0, 255).astype(np.uint8)


def photographs():
    for name in SKIMAGE:
        yield name, grey(skimage.io.imread(os.path.join(DATA, name + ".png")))
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")  # scipy.misc's copies are deprecated, not gone
        from scipy import misc
        yield "scipy_face", grey(misc.face())
        yield "scipy_ascent", grey(misc.ascent())


def main():
    target = sys.argv[1]
    os.makedirs(target, exist_ok=True)
    for name, pixels in photographs():
        with open(os.path.join(target, name + ".pgm"), "wb") as out:
            out.write(b"P5\n%d %d\n255\n" % (pixels.shape[1], pixels.shape[0]))
            out.write(pixels.tobytes())
        print(name, pixels.shape[1], pixels.shape[0])


if __name__ == "__main__":
    main()
