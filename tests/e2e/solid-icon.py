#!/usr/bin/env python3
"""Writes an icon file of one opaque colour at 16 and 32 pixels.

    solid-icon.py OUT.ico RRGGBB

The disc-icon scenario recognises such an icon in the notification area by
the colour in the middle of its slot, whatever size the shell draws it at.
"""
import struct
import sys


def image(size, rgb):
    r, g, b = rgb
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytes((b, g, r, 255)) * (size * size)
    mask = bytes(((size + 31) // 32) * 4 * size)  # every pixel opaque
    return header + pixels + mask


def main():
    out, colour = sys.argv[1], sys.argv[2]
    rgb = tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))
    images = [(s, image(s, rgb)) for s in (16, 32)]
    offset = 6 + 16 * len(images)
    data = struct.pack("<HHH", 0, 1, len(images))
    for size, body in images:
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    for _, body in images:
        data += body
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
