#!/usr/bin/env python3
"""Generates the program's bitmaps and icon into res/ (committed with this script).

state.bmp  two 16x16 images: boxed plus, boxed minus; background RGB(255,0,0)
small.bmp  two 16x15 images: green check mark, empty white box; same background
state_N.bmp, small_N.bmp  the same two images at N x N for the small-icon sizes of
           120, 144 and 192 DPI (N = 20, 24, 32); the check mark's box fills its square
logo.bmp   170x25, 8 bits per pixel, black and white only
logo_D.bmp the logo for D = 120, 144 and 192 DPI, scaled from its 96 DPI design
vantorix.ico  32x32 and 16x16, 32 bits per pixel
"""
import math
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


SIZES = (20, 24, 32)


def stroke(n):
    """Line width of the art at n pixels: 1 up to 31, 2 from 32."""
    return max(1, n // 16)


def sized_state_pixel(n):
    # The 16-pixel design scaled: a box of about 9/16 of the cell, its plus or minus one
    # stroke wide with one stroke of white around it; box and stroke of one parity, so
    # the sign sits in the middle.
    w = stroke(n)
    side = round(9 * n / 16)
    if side % 2 != w % 2:
        side -= 1
    left = (n - side) // 2
    right = left + side - 1
    mid = left + side / 2

    def pixel(x, y):
        cx, minus = x % n, x >= n
        if not (left <= cx <= right and left <= y <= right):
            return MASK
        if cx < left + w or cx > right - w or y < left + w or y > right - w:
            return GREY
        arm = left + 2 * w <= cx <= right - 2 * w, left + 2 * w <= y <= right - 2 * w
        across = abs(y + 0.5 - mid) < w / 2 + 0.01
        down = abs(cx + 0.5 - mid) < w / 2 + 0.01
        if (across and arm[0]) or (not minus and down and arm[1]):
            return BLACK
        return WHITE
    return pixel


def segment_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def sized_small_pixel(n):
    # The box fills the n x n cell; the check mark keeps the 16-pixel mark's corners and
    # weight, as fractions of its box.
    w = stroke(n)
    corners = [(0.18 * n, 0.50 * n), (0.39 * n, 0.73 * n), (0.82 * n, 0.27 * n)]
    half = 0.08 * n

    def pixel(x, y):
        cx = x % n
        if cx < w or cx >= n - w or y < w or y >= n - w:
            return GREY
        if x < n:
            px, py = cx + 0.5, y + 0.5
            if min(segment_distance(px, py, corners[0], corners[1]),
                   segment_distance(px, py, corners[1], corners[2])) <= half:
                return GREEN
        return WHITE
    return pixel


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


def logo_black(x, y, scale=1):
    # A framed band with a diagonal on the left, then VANTORIX in 5x7 letters scaled 3x;
    # at another scale each pixel's centre is looked up in the 96 DPI design.
    u, v = (x + 0.5) / scale, (y + 0.5) / scale
    x, y = math.floor(u), math.floor(v)
    if x < 22 and 2 <= y <= 22 and (x < 4 or x > 17 or y < 5 or y > 19 or abs((u - 4) - (v - 5)) < 0.5):
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
    for n in SIZES:
        files["state_%d.bmp" % n] = bmp24(2 * n, n, sized_state_pixel(n))
        files["small_%d.bmp" % n] = bmp24(2 * n, n, sized_small_pixel(n))
    for dpi in (120, 144, 192):
        scale = dpi / 96
        files["logo_%d.bmp" % dpi] = bmp8_bw(int(170 * scale + 0.5), int(25 * scale + 0.5),
                                             lambda x, y, s=scale: logo_black(x, y, s))
    for name, data in files.items():
        with open(os.path.join(res, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
