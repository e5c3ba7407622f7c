#!/usr/bin/env python3
"""Makes the program's .ico files from the pixel grids beside this script.

    make_icons.py          writes the .ico files next to the grids
    make_icons.py --check  rebuilds them in memory and fails if any committed
                           file differs (the build uses the committed files, so
                           a grid edited without rerunning this is caught)

A grid is a square of characters, one per pixel, top row first; lines that
start with '#' and blank lines are ignored. Each character is an ink (INKS).
The same grid gives every colour depth: 4 bits per pixel take each ink's entry
of the standard 16-colour palette; 8 and 24 bits take its true colour, lit
from the top left, the 8-bit image in fewer steps so that its palette fits.

Only the Python standard library is used, and every byte is computed, so the
output is identical on every machine.
"""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard Windows 16-colour palette, in its usual order.
STANDARD_16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

TRANSPARENT = '.'


class Ink:
    def __init__(self, index16, rgb, lighting):
        self.index16 = index16    # entry of STANDARD_16
        self.rgb = rgb            # true colour in the middle of the picture
        self.lighting = lighting  # how much it brightens top left, darkens bottom right


INKS = {
    'K': Ink(0, (0x26, 0x28, 0x2C), 0.0),    # outline, seams, cable
    'D': Ink(8, (0x7C, 0x80, 0x88), 0.30),   # shadow side of the body
    'L': Ink(7, (0xC2, 0xC4, 0xCA), 0.22),   # body
    'W': Ink(15, (0xF6, 0xF7, 0xFA), 0.06),  # highlight
    'B': Ink(12, (0x2E, 0x74, 0xD8), 0.40),  # the one button
    'N': Ink(4, (0x1A, 0x40, 0x8C), 0.30),   # shadow side of the button
    'C': Ink(15, (0x9C, 0xD0, 0xFF), 0.15),  # gleam on the button
}

# The 8-bit images use this many brightness steps per ink.
STEPS_8BIT = 12

# Each .ico file and its images, in the order they are stored: (grid, bits).
ICONS = {
    'Vantrel.ico': [(grid, bits)
                    for grid in ('vantrel-48.txt', 'vantrel-32.txt', 'vantrel-16.txt')
                    for bits in (4, 8, 24)],
    'ModeOne.ico': [('mode-one-32.txt', 4)],
    'ModeNormal.ico': [('mode-normal-32.txt', 4)],
}


def read_grid(name):
    with open(os.path.join(HERE, name), encoding='ascii') as source:
        rows = [line.rstrip('\n') for line in source
                if line.strip() and not line.startswith('#')]
    size = len(rows)
    for number, row in enumerate(rows):
        if len(row) != size:
            raise ValueError(f'{name}: row {number} has {len(row)} pixels, expected {size}')
        unknown = set(row) - set(INKS) - {TRANSPARENT}
        if unknown:
            raise ValueError(f'{name}: row {number} has unknown inks {sorted(unknown)}')
    return rows


def lit_colour(ink, x, y, size, steps):
    """The ink's colour at (x, y): brighter towards the top left. With steps,
    the light is rounded to that many levels."""
    # 0 at the top-left corner, 1 at the bottom-right one.
    distance = (x + y) / (2 * (size - 1))
    if steps:
        distance = round(distance * (steps - 1)) / (steps - 1)
    factor = 1 + ink.lighting * (0.5 - distance) * 2
    return tuple(min(255, max(0, round(channel * factor))) for channel in ink.rgb)


def row_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def pack_rows(rows_of_values, bits):
    """Packs rows of pixel values (palette indexes, or BGR triples for 24
    bits) bottom row first, each row padded to whole 32-bit words."""
    out = bytearray()
    for values in reversed(rows_of_values):
        row = bytearray()
        if bits == 24:
            for red, green, blue in values:
                row += bytes((blue, green, red))
        else:
            per_byte = 8 // bits
            for start in range(0, len(values), per_byte):
                byte = 0
                for offset in range(per_byte):
                    value = values[start + offset] if start + offset < len(values) else 0
                    byte |= value << (8 - bits * (offset + 1))
                row.append(byte)
        row += bytes(row_stride(len(values), bits) - len(row))
        out += row
    return bytes(out)


def icon_image(grid, bits):
    """The bytes of one icon image: header, palette, colour bits, AND mask."""
    size = len(grid)
    if bits == 4:
        palette = STANDARD_16
        pixels = [[INKS[c].index16 if c != TRANSPARENT else 0 for c in row] for row in grid]
    else:
        steps = STEPS_8BIT if bits == 8 else 0
        colours = [[lit_colour(INKS[c], x, y, size, steps) if c != TRANSPARENT else (0, 0, 0)
                    for x, c in enumerate(row)] for y, row in enumerate(grid)]
        if bits == 24:
            palette = []
            pixels = colours
        else:
            # Black first: transparent pixels must draw as black under their mask.
            used = sorted({colour for row in colours for colour in row} - {(0, 0, 0)})
            palette = [(0, 0, 0)] + used
            if len(palette) > 256:
                raise ValueError(f'{len(palette)} colours do not fit an 8-bit palette')
            palette += [(0, 0, 0)] * (256 - len(palette))
            index = {colour: number for number, colour in reversed(list(enumerate(palette)))}
            pixels = [[index[colour] for colour in row] for row in colours]
    # The mask's set bits keep the screen: the background shows through.
    mask = [[1 if c == TRANSPARENT else 0 for c in row] for row in grid]
    colour_bits = pack_rows(pixels, bits)
    mask_bits = pack_rows(mask, 1)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, bits, 0,
                         len(colour_bits) + len(mask_bits), 0, 0, 0, 0)
    palette_bytes = b''.join(bytes((blue, green, red, 0)) for red, green, blue in palette)
    return header + palette_bytes + colour_bits + mask_bits


def icon_file(images):
    """An .ico file: directory, one entry per image, then the images."""
    grids = {}
    blobs = []
    for grid_name, bits in images:
        grid = grids.setdefault(grid_name, read_grid(grid_name))
        blobs.append((len(grid), bits, icon_image(grid, bits)))
    out = bytearray(struct.pack('<HHH', 0, 1, len(blobs)))
    offset = len(out) + 16 * len(blobs)
    for size, bits, blob in blobs:
        out += struct.pack('<BBBBHHII', size, size, 16 if bits == 4 else 0, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    for _, _, blob in blobs:
        out += blob
    return bytes(out)


def main(arguments):
    check = arguments == ['--check']
    if arguments and not check:
        print(__doc__)
        return 2
    stale = []
    for file_name, images in ICONS.items():
        path = os.path.join(HERE, file_name)
        data = icon_file(images)
        if check:
            try:
                with open(path, 'rb') as existing:
                    committed = existing.read()
            except FileNotFoundError:
                committed = None
            if committed != data:
                stale.append(file_name)
        else:
            with open(path, 'wb') as out:
                out.write(data)
    if stale:
        print('out of date with their grids (run make_icons.py):', ' '.join(stale))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
