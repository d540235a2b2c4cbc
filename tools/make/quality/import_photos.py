#!/usr/bin/env python3
"""Converts photographs shipped by Debian's python3-skimage package into the 8-bit grey PGM
files the quality checks read (tools/make/quality/photos/). Run once by hand:

    apt-get download python3-skimage && dpkg -x python3-skimage_*.deb /tmp/skimage
    tools/make/quality/import_photos.py /tmp/skimage/usr/lib/python3/dist-packages/skimage/data

With a target folder and names it converts other photographs of the package the same way, for
the restart-table search of tools/make/ed_tables_gen, which trains on photographs outside the
repository (and is judged on those in it and others held out), e.g.

    tools/make/quality/import_photos.py DATA /tmp/train chelsea coins moon motorcycle_left \
        grass brick page ihc

(tools/make/quality/training_photos.py makes the search's whole training set, these among them.)

The photographs (their licences as the package states them):
  camera.png     cameraman, CC0 by the photographer (Lav Varshney)
  astronaut.png  astronaut Eileen Collins, NASA, public domain
  coffee.png     cup of coffee, CC0 by the photographer (Rachel Michetti)
Colour is turned into grey with the Rec. 601 luma weights, rounded.
"""
import os
import struct
import sys
import zlib

PHOTOS = ["camera", "astronaut", "coffee"]


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and interlace == 0 and colour in (0, 2, 6), (path, header)
    channels = {0: 1, 2: 3, 6: 4}[colour]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
                line[i] = (line[i] + pred) & 255
        rows.append(line)
        previous = line
    grey = bytearray()
    for line in rows:
        for x in range(width):
            px = line[x * channels:(x + 1) * channels]
            if channels == 1:
                grey.append(px[0])
            else:
                grey.append(int(0.299 * px[0] + 0.587 * px[1] + 0.114 * px[2] + 0.5))
    return width, height, bytes(grey)


def main():
    source = sys.argv[1]
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "photos")
    names = PHOTOS
    if len(sys.argv) > 2:
        target, names = sys.argv[2], sys.argv[3:]
        os.makedirs(target, exist_ok=True)
    for name in names:
        width, height, grey = read_png(os.path.join(source, name + ".png"))
        with open(os.path.join(target, name + ".pgm"), "wb") as out:
            out.write(b"P5\n%d %d\n255\n" % (width, height))
            out.write(grey)
        print(name, width, height)


if __name__ == "__main__":
    main()
