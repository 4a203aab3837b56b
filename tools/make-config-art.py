#!/usr/bin/env python3
"""Draws the configuration window's logo (401 x 92, 24-bit BMP) and the
program's icon (16 and 32 pixels, 32-bit ICO) into config/res/.

Plain Python, no fonts or libraries: the same bytes on every machine.
The logo's bottom-left pixel is the colour the window leaves out, so its
background is magenta and the tab page shows through it.
"""
import os
import struct
import sys

KEY = (255, 0, 255)

# 5 x 7 capitals, one string per row, '#' for ink.
GLYPHS = {
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "V": ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "N": ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    "T": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
}


def blend(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def logo():
    width, height, scale = 401, 92, 9
    pixels = [[KEY] * width for _ in range(height)]
    word = "ORVANTA"
    text_width = len(word) * 6 * scale - scale
    left, top = (width - text_width) // 2, 8
    top_colour, bottom_colour = (40, 90, 200), (20, 170, 150)

    def ink(x0, y0, colour_at):
        for i, ch in enumerate(word):
            for row, bits in enumerate(GLYPHS[ch]):
                for col, bit in enumerate(bits):
                    if bit != "#":
                        continue
                    for dy in range(scale):
                        for dx in range(scale):
                            x = x0 + (i * 6 + col) * scale + dx
                            y = y0 + row * scale + dy
                            if 0 <= x < width and 0 <= y < height:
                                pixels[y][x] = colour_at(y - y0)

    ink(left + 3, top + 3, lambda _: (60, 60, 70))  # shadow
    ink(left, top, lambda y: blend(top_colour, bottom_colour, y / (7 * scale)))
    # A bar under the name, fading out to both sides.
    for y in range(top + 7 * scale + 8, top + 7 * scale + 12):
        for x in range(left, left + text_width):
            t = abs((x - left) / text_width - 0.5) * 2
            pixels[y][x] = blend(bottom_colour, (200, 220, 230), t)

    row_size = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + b"\0" * (row_size - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)


def icon_image(size):
    """A microphone in white on a blue disc, 4 x 4 samples per pixel."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            hits_disc = hits_mic = 0
            for sy in range(4):
                for sx in range(4):
                    u = (x + (sx + 0.5) / 4) / size
                    v = (y + (sy + 0.5) / 4) / size
                    if (u - 0.5) ** 2 + (v - 0.5) ** 2 <= 0.25:
                        hits_disc += 1
                    capsule = abs(u - 0.5) <= 0.12 and 0.22 <= v <= 0.55
                    capsule |= (u - 0.5) ** 2 + (v - 0.22) ** 2 <= 0.12 ** 2
                    capsule |= (u - 0.5) ** 2 + (v - 0.55) ** 2 <= 0.12 ** 2
                    ring = 0.19 <= ((u - 0.5) ** 2 + (v - 0.52) ** 2) ** 0.5 <= 0.24 and v >= 0.52
                    stand = abs(u - 0.5) <= 0.03 and 0.75 <= v <= 0.84
                    base = abs(u - 0.5) <= 0.14 and 0.81 <= v <= 0.85
                    if capsule or ring or stand or base:
                        hits_mic += 1
            alpha = hits_disc * 255 // 16
            colour = blend((30, 110, 210), (255, 255, 255), hits_mic / 16)
            row.append(colour + (alpha,))
        rows.append(row)
    return rows


def icon():
    images = []
    for size in (32, 16):
        rows = icon_image(size)
        xor = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask_row = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_row)
            for x, (_, _, _, a) in enumerate(row):
                if a < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                           0, 0, 0, 0)
        images.append((size, info + bytes(xor) + bytes(mask)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return out


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    folder = os.path.join(root, "config", "res") if len(sys.argv) < 2 else sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "logo.bmp"), "wb") as f:
        f.write(logo())
    with open(os.path.join(folder, "config.ico"), "wb") as f:
        f.write(icon())


if __name__ == "__main__":
    main()
