#!/usr/bin/env python3
"""Draws histview's icon and bitmaps: the application icon, the expand boxes of the tree list
(two 16 x 16 images on pure red) and the small row images (five 16 x 16 images on magenta); the
boxes and row images also for 20, 24 and 32 pixels, drawn anew at each size for higher DPIs.

Usage: paint_images.py OUTDIR   (writes histview.ico, expand_box.bmp, small_images.bmp and
expand_box_N.bmp, small_images_N.bmp for N = 20, 24, 32)
"""
import math
import os
import struct
import sys

RED = (255, 0, 0)
MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT_GREY = (192, 192, 192)
DARK_GREY = (96, 96, 96)
YELLOW = (255, 214, 64)
DARK_YELLOW = (176, 136, 24)
SUNDAY_RED = (220, 24, 24)
DARK_RED = (128, 0, 0)
BLUE = (40, 80, 220)
DARK_BLUE = (0, 0, 128)
GREEN = (32, 160, 64)


def nearest(v):
    """Rounds halves up (Python's round() would round them to even)."""
    return int(math.floor(v + 0.5))


class Canvas:
    """Pixels as (r, g, b) or (r, g, b, a); row 0 is the top. The drawing operations take
    coordinates of a 16-pixel grid and scale them by `scale` (cell size / 16): at 16 pixels each
    lands exactly where it is given, at other sizes strokes grow with the cell."""

    def __init__(self, width, height, background, scale=1.0):
        self.width, self.height = width, height
        self.scale = scale
        self.pixels = [[background] * width for _ in range(height)]

    def at(self, v):
        return nearest(v * self.scale)

    def stroke(self):
        return max(1, int(self.scale + 0.25))

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill_pixels(self, left, top, right, bottom, colour):
        for yy in range(top, bottom):
            for xx in range(left, right):
                self.set(xx, yy, colour)

    def fill(self, x, y, w, h, colour):
        self.fill_pixels(self.at(x), self.at(y), self.at(x + w), self.at(y + h), colour)

    def frame(self, x, y, w, h, colour):
        left, top, right, bottom = self.at(x), self.at(y), self.at(x + w), self.at(y + h)
        t = self.stroke()
        self.fill_pixels(left, top, right, top + t, colour)
        self.fill_pixels(left, bottom - t, right, bottom, colour)
        self.fill_pixels(left, top, left + t, bottom, colour)
        self.fill_pixels(right - t, top, right, bottom, colour)

    def set_scaled(self, x, y, colour):
        """The grid pixel (x, y), as large as the scale makes it."""
        self.fill_pixels(self.at(x), self.at(y), max(self.at(x + 1), self.at(x) + 1),
                         max(self.at(y + 1), self.at(y) + 1), colour)

    def line(self, x0, y0, x1, y1, colour):
        """A line through the centres of the grid pixels (x0, y0) and (x1, y1), a stroke wide."""
        if self.scale == 1.0:
            steps = max(abs(x1 - x0), abs(y1 - y0), 1)
            for i in range(steps + 1):
                self.set(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)
            return
        t = self.stroke()
        ax, ay = (x0 + 0.5) * self.scale, (y0 + 0.5) * self.scale
        bx, by = (x1 + 0.5) * self.scale, (y1 + 0.5) * self.scale
        steps = max(int(max(abs(bx - ax), abs(by - ay))) * 2, 1)
        for i in range(steps + 1):
            cx = ax + (bx - ax) * i / steps
            cy = ay + (by - ay) * i / steps
            left, top = int(math.floor(cx - t / 2 + 0.5)), int(math.floor(cy - t / 2 + 0.5))
            self.fill_pixels(left, top, left + t, top + t, colour)


def expand_box(c, left, plus):
    """A boxed plus or minus, 9 x 9, centred in the 16 x 16 cell at `left`."""
    c.fill(left + 4, 4, 9, 9, WHITE)
    c.frame(left + 4, 4, 9, 9, GREY)
    c.line(left + 6, 8, left + 10, 8, BLACK)
    if plus:
        c.line(left + 8, 6, left + 8, 10, BLACK)


def folder(c, left, body, edge):
    c.fill(left + 1, 3, 6, 2, body)          # tab
    c.frame(left + 1, 3, 6, 2, edge)
    c.fill(left + 1, 5, 14, 9, body)         # body
    c.frame(left + 1, 5, 14, 9, edge)
    c.line(left + 2, 6, left + 13, 6, WHITE)  # highlight of the front edge


def magnifier(c, left):
    c.frame(left + 8, 7, 5, 5, BLACK)
    c.fill(left + 9, 8, 3, 3, (200, 232, 255))
    c.line(left + 12, 12, left + 14, 14, BLACK)
    c.line(left + 13, 12, left + 15, 14, BLACK)


def square(c, left, body, edge):
    c.fill(left + 4, 4, 8, 8, body)
    c.frame(left + 4, 4, 8, 8, edge)


def sigma(c, left):
    c.line(left + 4, 2, left + 11, 2, BLUE)     # top bar
    c.line(left + 4, 2, left + 8, 7, BLUE)      # down to the middle
    c.line(left + 8, 8, left + 4, 13, BLUE)     # back out
    c.line(left + 4, 13, left + 11, 13, BLUE)   # bottom bar
    c.line(left + 5, 2, left + 9, 7, BLUE)      # second stroke for weight
    c.line(left + 9, 8, left + 5, 13, BLUE)
    c.set_scaled(left + 11, 3, BLUE)
    c.set_scaled(left + 11, 12, BLUE)


def bitmap_bytes(c):
    """A 24-bit bottom-up BMP file."""
    stride = (c.width * 3 + 3) & ~3
    rows = b""
    for y in reversed(range(c.height)):
        row = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in c.pixels[y])
        rows += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


def traffic_icon(size):
    """Bars of daily volume with a down and an up arrow, on a transparent background."""
    clear = (0, 0, 0, 0)
    c = Canvas(size, size, clear)
    s = size / 32.0

    def box(x, y, w, h, colour):
        c.fill(int(x * s), int(y * s), max(1, round(w * s)), max(1, round(h * s)), colour + (255,))

    box(2, 28, 28, 2, DARK_GREY)  # base line
    for x, h in ((4, 10), (10, 16), (16, 8), (22, 20)):
        box(x, 28 - h, 5, h, BLUE if x != 16 else GREEN)
        box(x, 28 - h, 1, h, DARK_BLUE)
    # Down arrow (green) and up arrow (red) above the bars.
    box(5, 2, 3, 7, GREEN)
    for i in range(4):
        box(3 + i, 9 + i, 7 - 2 * i, 1, GREEN)
    box(24, 5, 3, 7, SUNDAY_RED)
    for i in range(4):
        box(22 + i, 5 - i, 7 - 2 * i, 1, SUNDAY_RED)
    return c


def icon_bytes(canvases):
    """An .ico with 32-bit images and their AND masks."""
    images = []
    for c in canvases:
        xor = b"".join(
            struct.pack("BBBB", p[2], p[1], p[0], p[3])
            for y in reversed(range(c.height)) for p in c.pixels[y])
        mask_stride = ((c.width + 31) // 32) * 4
        mask = b""
        for y in reversed(range(c.height)):
            row = bytearray(mask_stride)
            for x in range(c.width):
                if c.pixels[y][x][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(row)
        info = struct.pack("<IiiHHIIiiII", 40, c.width, 2 * c.height, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((c.width, info + xor + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, data in images:
        out += struct.pack("<BBBBHHII", width % 256, width % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)

    for size in (16, 20, 24, 32):
        scale = size / 16.0
        boxes = Canvas(2 * size, size, RED, scale)
        expand_box(boxes, 0, plus=True)
        expand_box(boxes, 16, plus=False)

        small = Canvas(5 * size, size, MAGENTA, scale)
        folder(small, 0, LIGHT_GREY, DARK_GREY)
        magnifier(small, 0)
        folder(small, 16, YELLOW, DARK_YELLOW)
        square(small, 32, SUNDAY_RED, DARK_RED)
        square(small, 48, BLUE, DARK_BLUE)
        sigma(small, 64)

        suffix = "" if size == 16 else "_%d" % size
        with open(os.path.join(out, "expand_box%s.bmp" % suffix), "wb") as f:
            f.write(bitmap_bytes(boxes))
        with open(os.path.join(out, "small_images%s.bmp" % suffix), "wb") as f:
            f.write(bitmap_bytes(small))
    with open(os.path.join(out, "histview.ico"), "wb") as f:
        f.write(icon_bytes([traffic_icon(32), traffic_icon(16)]))


if __name__ == "__main__":
    main()
