#!/usr/bin/env python3
"""Draws the installer's and the uninstaller's program icons (32 x 32, 16 colours).

The same script always writes the same bytes:
    tools/make-icons.py  ->  installer/install.ico, uninstaller/uninstall.ico
"""
import os
import struct

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DGREEN, GREY, DGREY, RED, GREEN, WHITE = 0, 2, 7, 8, 9, 10, 15
CLEAR = None
SIZE = 32


def canvas():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def box(img):
    """A grey carton seen from the front, outlined in black: the program's files."""
    rect(img, 4, 16, 27, 29, BLACK)
    rect(img, 5, 17, 26, 28, GREY)
    rect(img, 5, 17, 26, 18, WHITE)
    rect(img, 5, 27, 26, 28, DGREY)


def install_icon():
    img = canvas()
    box(img)
    # A green arrow going down into the carton.
    rect(img, 13, 1, 18, 12, BLACK)
    rect(img, 14, 2, 17, 12, GREEN)
    for i in range(7):
        rect(img, 8 + i, 12 + i, 23 - i, 12 + i, BLACK)
        if i < 6:
            rect(img, 9 + i, 12 + i, 22 - i, 12 + i, GREEN if i < 5 else DGREEN)
    return img


def uninstall_icon():
    img = canvas()
    box(img)
    # A red cross over the carton.
    for i in range(16):
        for d in (-1, 0, 1):
            for x, y in ((8 + i + d, 2 + i), (23 - i + d, 2 + i)):
                if 0 <= x < SIZE:
                    img[y][x] = BLACK if d else RED
    return img


def ico_bytes(img):
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(img):  # bitmaps are stored bottom-up
        for x in range(0, SIZE, 2):
            hi, lo = row[x] or 0, row[x + 1] or 0
            xor.append(hi << 4 | lo)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (row[x] is CLEAR)
        mask += struct.pack('>I', bits)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for path, img in (('installer/install.ico', install_icon()),
                      ('uninstaller/uninstall.ico', uninstall_icon())):
        with open(os.path.join(root, path), 'wb') as f:
            f.write(ico_bytes(img))


if __name__ == '__main__':
    main()
