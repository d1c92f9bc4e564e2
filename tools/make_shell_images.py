#!/usr/bin/env python3
"""Draws the shell's images into res/: the toolbar strip and the program icon.

    tools/make_shell_images.py [RES_DIR]

Standard library only (zlib and struct write the PNG files), so the images
can be drawn again on any machine; the output is deterministic.
"""

import math
import os
import struct
import sys
import zlib

# The toolbar's mask colour: every pixel of it is transparent on screen.
BACKGROUND = (192, 192, 192)
BLUE = (0, 64, 208)
DARK_BLUE = (0, 0, 128)
WHITE = (255, 255, 255)
TOOL_SIZE = 16
ICON_SIZES = (256, 48, 32, 16)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, width, height, colour_type, rows, palette=None):
    """Writes 8-bit rows (bytes, one per scan line, without filter bytes)."""
    raw = b"".join(b"\x00" + row for row in rows)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    if palette is not None:
        data += png_chunk(b"PLTE", b"".join(bytes(colour) for colour in palette))
    data += png_chunk(b"IDAT", zlib.compress(raw, 9))
    data += png_chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(data)


# --- toolbar: three 16 x 16 pixel images side by side ------------------------

def inside_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


def draw_play(image):
    a, b, c = (4.5, 2.5), (4.5, 13.5), (12.5, 8.0)
    for y in range(TOOL_SIZE):
        for x in range(TOOL_SIZE):
            if inside_triangle(x + 0.5, y + 0.5, a, b, c):
                image[y][x] = BLUE
    # A darker left edge and tip give the flat triangle some depth.
    for y in range(3, 14):
        image[y][4] = DARK_BLUE


def draw_pause(image):
    for left in (4, 9):
        for y in range(3, 13):
            for x in range(left, left + 3):
                image[y][x] = DARK_BLUE if x == left else BLUE


QUESTION_MARK = [
    "..####..",
    ".##..##.",
    ".....##.",
    "....##..",
    "...##...",
    "...##...",
    "........",
    "...##...",
    "...##...",
]


def draw_about(image):
    for y in range(1, 15):
        for x in range(1, 15):
            edge = x in (1, 14) or y in (1, 14)
            image[y][x] = DARK_BLUE if edge else BLUE
    for row, line in enumerate(QUESTION_MARK):
        for column, cell in enumerate(line):
            if cell == "#":
                image[3 + row][4 + column] = WHITE


def toolbar_rows():
    images = []
    for draw in (draw_play, draw_pause, draw_about):
        image = [[BACKGROUND] * TOOL_SIZE for _ in range(TOOL_SIZE)]
        draw(image)
        images.append(image)
    palette = [BACKGROUND, BLUE, DARK_BLUE, WHITE]
    index = {colour: i for i, colour in enumerate(palette)}
    rows = []
    for y in range(TOOL_SIZE):
        rows.append(bytes(index[image[y][x]] for image in images for x in range(TOOL_SIZE)))
    return rows, palette


# --- icon: a small gauge, drawn in unit coordinates and supersampled ---------

BEZEL = (205, 205, 215)
FACE = (44, 48, 66)
TICK = (245, 245, 245)
NEEDLE = (255, 110, 40)
HUB = (225, 225, 235)


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


TICKS = []
for step in range(9):
    angle = math.radians(225 - step * 270 / 8)
    TICKS.append((0.5 + 0.29 * math.cos(angle), 0.5 - 0.29 * math.sin(angle),
                  0.5 + 0.37 * math.cos(angle), 0.5 - 0.37 * math.sin(angle)))
NEEDLE_ANGLE = math.radians(50)
NEEDLE_TIP = (0.5 + 0.34 * math.cos(NEEDLE_ANGLE), 0.5 - 0.34 * math.sin(NEEDLE_ANGLE))


def icon_sample(x, y):
    """The colour at a point of the unit square, or None where it is clear."""
    r = math.hypot(x - 0.5, y - 0.5)
    if r > 0.48:
        return None
    if r > 0.42:
        return BEZEL
    if r < 0.065:
        return HUB
    if distance_to_segment(x, y, 0.5, 0.5, *NEEDLE_TIP) < 0.03:
        return NEEDLE
    for tick in TICKS:
        if distance_to_segment(x, y, *tick) < 0.018:
            return TICK
    return FACE


def icon_rows(size):
    grid = 4 if size > 64 else 8
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(grid):
                for sx in range(grid):
                    colour = icon_sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size)
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            if covered:
                row += bytes(round(total[i] / covered) for i in range(3))
                row.append(round(255 * covered / (grid * grid)))
            else:
                row += b"\x00\x00\x00\x00"
        rows.append(bytes(row))
    return rows


def main():
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res")
    rows, palette = toolbar_rows()
    write_png(os.path.join(res, "toolbar.png"), 3 * TOOL_SIZE, TOOL_SIZE, 3, rows, palette)
    for size in ICON_SIZES:
        write_png(os.path.join(res, "icon_%d.png" % size), size, size, 6, icon_rows(size))


if __name__ == "__main__":
    main()
