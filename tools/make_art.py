#!/usr/bin/env python3
"""Generates the program's bitmaps and icon into res/ (committed with this script).

state.bmp  two 16x16 images: boxed plus, boxed minus; background RGB(255,0,0)
small.bmp  two 16x15 images: green check mark, empty white box; same background
logo.bmp   170x25, 8 bits per pixel, black and white only
vantorix.ico  32x32 and 16x16, 32 bits per pixel
"""
import os
import struct
import sys

MASK = (255, 0, 0)
BLACK, WHITE, GREY = (0, 0, 0), (255, 255, 255), (128, 128, 128)
GREEN, DARK = (0, 160, 0), (0, 64, 128)


def bmp24(width, height, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def bmp8_bw(width, height, is_black):
    """A bottom-up 8-bit BMP with a two-entry palette: black and white."""
    row = (width + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytes(0 if is_black(x, y) else 1 for x in range(width))
        data += line + b"\0" * (row - width)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    offset = 54 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835, 2, 2)
    return header + info + palette + bytes(data)


def boxed(x, y, minus):
    # A 9x9 box centred in the 16x16 cell, with a plus or a minus inside.
    if not (3 <= x <= 11 and 3 <= y <= 11):
        return MASK
    if x in (3, 11) or y in (3, 11):
        return GREY
    if y == 7 and 5 <= x <= 9:
        return BLACK
    if not minus and x == 7 and 5 <= y <= 9:
        return BLACK
    return WHITE


def state_pixel(x, y):
    return boxed(x % 16, y, minus=x >= 16)


CHECK = [(3, 7), (4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5), (12, 4)]


def small_pixel(x, y):
    cx = x % 16
    if not (1 <= cx <= 14 and 1 <= y <= 13):
        return MASK
    if cx in (1, 14) or y in (1, 13):
        return GREY
    if x < 16:
        for px, py in CHECK:
            if cx == px and py - 1 <= y <= py + 1:
                return GREEN
    return WHITE


# 5x7 capitals for the logo text.
FONT = {
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
}


def logo_black(x, y):
    # A framed band on the left, then VANTORIX in letters scaled 2x vertically and 3x wide.
    if x < 22 and 2 <= y <= 22 and (x < 4 or x > 17 or y < 5 or y > 19 or (x - 4) == (y - 5)):
        return True
    text, scale_x, scale_y, left, top = "VANTORIX", 3, 3, 28, 2
    gx, gy = (x - left), (y - top)
    if gx < 0 or gy < 0 or gy >= 7 * scale_y:
        return False
    cell = 6 * scale_x
    index, within = divmod(gx, cell)
    if index >= len(text) or within >= 5 * scale_x:
        return False
    return FONT[text[index]][gy // scale_y][within // scale_x] == "1"


def icon_image(size):
    """One 32-bit icon image (BITMAPINFOHEADER, XOR pixels, AND mask)."""
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            edge = x in (0, size - 1) or y in (0, size - 1)
            u, v = x * 16 // size, y * 16 // size
            check = any(u == px and py - 1 <= v <= py + 1 for px, py in CHECK)
            r, g, b = (BLACK if edge else GREEN if check else DARK if v < 3 else WHITE)
            pixels += bytes((b, g, r, 255))
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return info + bytes(pixels) + mask


def ico():
    images = [icon_image(32), icon_image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, image in zip((32, 16), images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset + len(blobs))
        blobs += image
    return out + entries + blobs


def main():
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res")
    files = {
        "state.bmp": bmp24(32, 16, state_pixel),
        "small.bmp": bmp24(32, 15, small_pixel),
        "logo.bmp": bmp8_bw(170, 25, logo_black),
        "vantorix.ico": ico(),
    }
    for name, data in files.items():
        with open(os.path.join(res, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
