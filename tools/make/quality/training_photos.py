#!/usr/bin/python3
"""Builds the training photographs of the error-diffusion table search (tools/make/ed_tables_gen
--search) from the images shipped by Debian's python3-skimage package, into a folder outside
the repository:

    apt-get install -y python3-skimage
    tools/make/quality/training_photos.py /tmp/train
    build/tools/make/ed_tables_gen/ed_tables_gen --search /tmp/train HELD_OUT

Twenty images: photographs as they are or cropped, one halved in size (finer texture), three
blurred (smooth pictures, one along its rows) and three with a strip blurred along its rows
pasted across the middle (horizontal seams with small tone steps, as in composed pictures).
Astronaut, camera, cell, clock_motion, coffee, gravel and text are left out: they are the
held-out set the choice is judged on. Colour is turned into grey with the Rec. 601 luma
weights, rounded, as tools/make/quality/import_photos.py does.
"""
import os
import sys

import numpy as np
import skimage.io
from scipy import ndimage

DATA = os.path.join(os.path.dirname(skimage.__file__), "data")


def luma(image):
    """Grey levels of an image, colour turned into grey with the Rec. 601 weights, rounded."""
    image = image.astype(np.float64)
    if image.ndim == 3:
        image = 0.299 * image[..., 0] + 0.587 * image[..., 1] + 0.114 * image[..., 2]
    return np.clip(np.floor(image + 0.5), 0, 255)


def grey(name):
    return luma(skimage.io.imread(os.path.join(DATA, name)))


def half(image):
    h, w = image.shape[0] // 2 * 2, image.shape[1] // 2 * 2
    return image[:h, :w].reshape(h // 2, 2, w // 2, 2).mean(axis=(1, 3))


def along_rows(image, length):
    return ndimage.uniform_filter1d(image, length, axis=1)


def with_strip(image, first, last):
    out = image.copy()
    out[first:last] = along_rows(image, 15)[first:last]
    return out


def photographs():
    yield from ((n, grey(n + ".png")) for n in
                ["brick", "chelsea", "coins", "grass", "ihc", "moon", "motorcycle_left", "page"])
    yield "microaneurysms", grey("microaneurysms.png")
    yield "rocket", grey("rocket.jpg")
    yield "hubble", grey("hubble_deep_field.jpg")[100:612, 200:712]
    yield "retina_half", half(grey("retina.jpg"))
    yield "motorcycle_right_crop", grey("motorcycle_right.png")[:, 200:712]
    yield "motorcycle_left_half", half(grey("motorcycle_left.png"))
    yield "chelsea_motion", along_rows(grey("chelsea.png"), 11)
    yield "rocket_blur", ndimage.gaussian_filter(grey("rocket.jpg"), 2.0)
    yield "ihc_blur", ndimage.gaussian_filter(grey("ihc.png"), 1.5)
    yield "chelsea_strip", with_strip(grey("chelsea.png"), 100, 200)
    yield "rocket_strip", with_strip(grey("rocket.jpg"), 150, 300)
    yield "coins_strip", with_strip(grey("coins.png"), 80, 190)


def write_folder(target, named_images):
    """Writes each (name, image) as target/name.pgm, rounded to 8-bit grey."""
    os.makedirs(target, exist_ok=True)
    for name, image in named_images:
        pixels = np.clip(np.floor(image + 0.5), 0, 255).astype(np.uint8)
        with open(os.path.join(target, name + ".pgm"), "wb") as out:
            out.write(b"P5\n%d %d\n255\n" % (pixels.shape[1], pixels.shape[0]))
            out.write(pixels.tobytes())
        print(name, pixels.shape[1], pixels.shape[0])


def main():
    write_folder(sys.argv[1], photographs())


if __name__ == "__main__":
    main()
