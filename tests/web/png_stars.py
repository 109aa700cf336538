#!/usr/bin/python3
"""Counts star pixels in the middle of a screenshot: png_stars.py FILE [BOX].

Prints the number of pixels, in a BOX x BOX square (default 160) round the picture's centre,
that are far brighter than the viewer's navy background. Decodes the PNG by hand (8-bit RGB
or RGBA, not interlaced, as Chromium writes them): the test machine's Python has no imaging
library.
"""
import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, color, _, _, interlace = header
    if depth != 8 or color not in (2, 6) or interlace != 0:
        raise ValueError("unsupported PNG layout %r" % (header,))
    channels = 3 if color == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - channels] if x >= channels else 0
            up = previous[x]
            corner = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + left) & 255
            elif kind == 2:
                line[x] = (line[x] + up) & 255
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                guess = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[x] = (line[x] + guess) & 255
        rows.append(line)
        previous = line
    return width, height, channels, rows


def main():
    width, height, channels, rows = read_png(sys.argv[1])
    box = int(sys.argv[2]) if len(sys.argv) > 2 else 160
    bright = 0
    for y in range(height // 2 - box // 2, height // 2 + box // 2):
        line = rows[y]
        for x in range(width // 2 - box // 2, width // 2 + box // 2):
            r, g, b = line[x * channels], line[x * channels + 1], line[x * channels + 2]
            # The background is (16, 16, 64); a star's light is well above it in red and green.
            if r + g > 160:
                bright += 1
    print(bright)


if __name__ == "__main__":
    main()
