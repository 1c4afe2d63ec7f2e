#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Draws Орсета's hamburger icon: bun, lettuce, cheese and patty.

Writes, beside this script:
  icons/orseta-32.png          32 x 32, 256-colour palette (the program's icon)
  icons/orseta-{48,64,128,256}.png   true colour with alpha, for sharp larger sizes
  orseta.ico                   the Windows icon: 16, 24 and 48 px in true colour,
                               32 px as the 256-colour image, 256 px as the PNG
  orseta.icns                  the PNGs for a macOS bundle

Only the Python standard library is used. Shapes are signed distance
functions in a 32-unit square; each pixel averages a grid of samples.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

OUTLINE = (84, 46, 22)


def round_rect(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sd(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return sd


def ellipse(cx, cy, rx, ry):
    def sd(x, y):
        return (math.hypot((x - cx) / rx, (y - cy) / ry) - 1) * min(rx, ry)
    return sd


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def cut_below(shape, limit):
    return lambda x, y: max(shape(x, y), y - limit)


def lettuce(x, y):
    bottom = 17.6 + 0.75 * math.sin(x * 1.9)
    return max(15.0 - y, y - bottom, 1.6 - x, x - 30.4)


def drip(cx, half, top, tip):
    def sd(x, y):
        # inside the downward triangle (cx-half, top) (cx+half, top) (cx, tip)
        edge = (tip - y) - (tip - top) * abs(x - cx) / half
        return max(top - y, -edge * 0.7)
    return sd


TOP_BUN = union(cut_below(ellipse(16, 15.2, 13.6, 10.2), 15.2), round_rect(2.4, 12.5, 29.6, 16.0, 1.6))
SEEDS = [ellipse(cx, cy, 0.95, 0.55) for cx, cy in
         ((10, 9.2), (15.5, 7.2), (21, 9.0), (13, 11.8), (18.5, 11.8), (24.2, 12.6), (7.6, 12.8))]
CHEESE = union(round_rect(3.0, 17.0, 29.0, 19.6, 0.6), drip(9.5, 2.4, 19.0, 22.4), drip(21.5, 2.6, 19.0, 23.0))
PATTY = round_rect(2.4, 18.8, 29.6, 24.6, 2.4)
BOTTOM_BUN = round_rect(3.0, 24.0, 29.0, 28.8, 2.4)
SILHOUETTE = union(TOP_BUN, lettuce, CHEESE, PATTY, BOTTOM_BUN)


def colour_at(x, y):
    """The colour at a point of the 32-unit square, or None outside the burger."""
    if SILHOUETTE(x, y) > 0:
        return OUTLINE if SILHOUETTE(x, y) <= 0.85 else None
    if TOP_BUN(x, y) <= 0:
        if TOP_BUN(x, y) > -0.7:
            return OUTLINE
        if any(seed(x, y) <= 0 for seed in SEEDS):
            return (252, 240, 200)
        if ellipse(11.5, 8.5, 4.2, 2.6)(x, y) <= 0:
            return (246, 192, 104)
        return (190, 112, 38) if y > 14.2 else (224, 150, 58)
    if lettuce(x, y) <= 0:
        return (58, 138, 40) if y > 16.9 else (104, 190, 64)
    if CHEESE(x, y) <= 0:
        return (255, 226, 96) if y < 17.8 else (248, 196, 36)
    if PATTY(x, y) <= 0:
        if PATTY(x, y) > -0.6:
            return OUTLINE
        speck = (int(x * 1.3) * 7 + int(y * 1.3) * 13) % 11 == 0
        return (88, 46, 24) if speck else (124, 68, 36)
    if BOTTOM_BUN(x, y) <= 0:
        if BOTTOM_BUN(x, y) > -0.7:
            return OUTLINE
        return (188, 112, 40) if y > 27.4 else (218, 146, 60)
    return OUTLINE  # the narrow seams between layers


def render(size, samples):
    """RGBA rows of a size x size image, each pixel the mean of samples^2 points."""
    unit = 32 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = n = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) * unit, (py + (sy + 0.5) / samples) * unit)
                    if c:
                        r, g, b, n = r + c[0], g + c[1], b + c[2], n + 1
            total = samples * samples
            row.append((r // n, g // n, b // n, 255 * n // total) if n else (0, 0, 0, 0))
        rows.append(row)
    return rows


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_rgba(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def palettise(rows):
    """Hard-edged transparency and at most 255 colours, index 0 transparent."""
    step = 1
    while True:
        colours = {}
        pixels = []
        for row in rows:
            out = []
            for r, g, b, a in row:
                if a < 128:
                    out.append(0)
                    continue
                key = (r // step * step, g // step * step, b // step * step)
                out.append(colours.setdefault(key, len(colours) + 1))
            pixels.append(out)
        if len(colours) <= 255:
            palette = [(0, 0, 0)] + sorted(colours, key=colours.get)
            return palette, pixels
        step *= 2


def png_indexed(palette, pixels):
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(row) for row in pixels)
    plte = b"".join(bytes(c) for c in palette)
    trns = b"\0" + b"\xff" * (len(palette) - 1)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0))
            + png_chunk(b"PLTE", plte) + png_chunk(b"tRNS", trns)
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def and_mask(opaque_rows):
    """The 1-bit transparency mask of an icon image, bottom-up: set where transparent."""
    size = len(opaque_rows)
    mask_row = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(opaque_rows):
        bits = 0
        for i, opaque in enumerate(row):
            if not opaque:
                bits |= 1 << (mask_row * 8 - 1 - i)
        mask += bits.to_bytes(mask_row, "big")
    return mask


def dib_8bit(palette, pixels):
    """A classic 256-colour icon image: BMP colours bottom-up, then the mask."""
    size = len(pixels)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + b"\0" * 4 * (256 - len(palette))
    xor = b"".join(bytes(row) for row in reversed(pixels))
    mask = and_mask([[p != 0 for p in row] for row in pixels])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    return header + colours + xor + mask, 8


def dib_32bit(rows):
    """A true-colour icon image with alpha: BGRA bottom-up, then the mask."""
    size = len(rows)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask = and_mask([[a != 0 for _, _, _, a in row] for row in rows])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask, 32


def ico(images):
    """A Windows icon of (size, image data, bits per pixel), smallest first;
    the 256 px image is stored as PNG, as Windows Vista and later read it."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size, image, bits in images:
        # 256 is written as 0, both for the size and for the 8-bit palette's colours.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits,
                                 len(image), offset + len(data))
        data += image
    return directory + data


def icns(pngs):
    kinds = {32: b"icp5", 64: b"icp6", 128: b"ic07", 256: b"ic08"}
    body = b"".join(kinds[s] + struct.pack(">I", len(d) + 8) + d for s, d in sorted(pngs.items()) if s in kinds)
    return b"icns" + struct.pack(">I", len(body) + 8) + body


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    palette, pixels = palettise(render(32, 6))
    small = png_indexed(palette, pixels)
    write("icons/orseta-32.png", small)
    pngs = {32: small}
    for size in (48, 64, 128, 256):
        pngs[size] = png_rgba(render(size, 4 if size <= 64 else 3))
        write(f"icons/orseta-{size}.png", pngs[size])
    write("orseta.icns", icns(pngs))
    # What Explorer, the taskbar and the title bar ask for.
    write("orseta.ico", ico([(16, *dib_32bit(render(16, 8))), (24, *dib_32bit(render(24, 8))),
                             (32, *dib_8bit(palette, pixels)), (48, *dib_32bit(render(48, 4))),
                             (256, pngs[256], 32)]))


if __name__ == "__main__":
    main()
