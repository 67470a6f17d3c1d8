#!/usr/bin/env python3
"""Packs palette BMP files (1, 4 or 8 bits a pixel) into one .ico, keeping their bit depths.

ImageMagick's own ICO writer turns every frame into 32 bits; this keeps the monochrome and
16-colour frames as they are. Usage: pack-ico.py OUT.ico IN.bmp...
"""
import struct
import sys


def frame(path):
    data = open(path, "rb").read()
    dib = bytearray(data[14:])  # without the BITMAPFILEHEADER
    width, height = struct.unpack_from("<ii", dib, 4)
    bits = struct.unpack_from("<H", dib, 14)[0]
    if bits not in (1, 4, 8):
        sys.exit(f"{path}: {bits} bits a pixel, want a palette image")
    struct.pack_into("<i", dib, 8, height * 2)  # ICO heights count the XOR and AND masks
    mask_row = ((width + 31) // 32) * 4
    dib += bytes(mask_row * height)  # AND mask: every pixel opaque
    struct.pack_into("<I", dib, 20, len(dib) - 40 - 4 * (1 << bits))
    return width, height, bits, bytes(dib)


def main():
    out, *inputs = sys.argv[1:]
    frames = [frame(p) for p in inputs]
    offset = 6 + 16 * len(frames)
    header = struct.pack("<HHH", 0, 1, len(frames))
    entries = b""
    for width, height, bits, dib in frames:
        colours = 1 << bits if bits < 8 else 0
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bits,
                               len(dib), offset)
        offset += len(dib)
    with open(out, "wb") as f:
        f.write(header + entries + b"".join(dib for *_, dib in frames))


if __name__ == "__main__":
    main()
