#!/usr/bin/env python3
"""Draws the program's artwork and writes it as Windows resource files.

Output (in resources/): app.ico (32x32 and 16x16, 16 colours), toolbar_normal.bmp and
toolbar_hot.bmp (five 15x16 images side by side, 16 colours, silver as the mask
colour) and hand.cur (32x32 monochrome pointer, hot spot 12,5). The files are
committed; run this only to change the art.
"""
import os
import struct
import sys

# The 16-colour VGA palette; index 7 (silver) is the toolbar's mask colour.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
CLEAR = -1


class Canvas:
    def __init__(self, width, height, fill=CLEAR):
        self.width, self.height = width, height
        self.px = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = colour

    def get(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.px[y][x]
        return CLEAR

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def shape(self, cells, fill, outline=BLACK):
        """Fills a set of cells and rings it with a one-pixel outline."""
        ring = set()
        for x, y in cells:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                if (x + dx, y + dy) not in cells:
                    ring.add((x + dx, y + dy))
        for x, y in ring:
            self.set(x, y, outline)
        for x, y in cells:
            self.set(x, y, fill)

    def sheet(self, x0, y0, x1, y1, line_colour, ear=3):
        """A page with a folded corner and lines of text."""
        self.rect(x0, y0, x1, y1, WHITE)
        for x in range(x0, x1 + 1):
            self.set(x, y0, BLACK)
            self.set(x, y1, BLACK)
        for y in range(y0, y1 + 1):
            self.set(x0, y, BLACK)
            self.set(x1, y, BLACK)
        for i in range(ear + 1):  # the fold
            for j in range(ear + 1 - i):
                self.set(x1 - j, y0 + i, CLEAR if j + i < ear else BLACK)
            self.set(x1 - ear, y0 + i, BLACK)
            self.set(x1 - ear + i, y0 + ear, BLACK)
        for y in range(y0 + ear + 2, y1 - 1, 2):
            for x in range(x0 + 2, x1 - 1):
                self.set(x, y, line_colour)


def plus_cells(cx, cy, arm, half):
    cells = set()
    for d in range(-arm, arm + 1):
        for w in range(-half, half + 1):
            cells.add((cx + d, cy + w))
            cells.add((cx + w, cy + d))
    return cells


def cross_cells(cx, cy, arm):
    cells = set()
    for d in range(-arm, arm + 1):
        for w in (0, 1):
            cells.add((cx + d + w, cy + d))
            cells.add((cx - d + w, cy + d))
    return cells


def arrow_cells(up, width=15, height=16):
    cells = set()
    cx = width // 2
    for row in range(6):  # the head
        for x in range(cx - row, cx + row + 1):
            cells.add((x, 1 + row))
    for y in range(7, 15):  # the shaft
        for x in range(cx - 2, cx + 3):
            cells.add((x, y))
    if up:
        return cells
    return {(x, height - 1 - y) for x, y in cells}


def toolbar_image(index):
    c = Canvas(15, 16)
    if index == 0:  # add: a list sheet with a plus sign
        c.sheet(1, 0, 10, 14, GRAY)
        c.shape(plus_cells(10, 11, 3, 1), GREEN)
    elif index == 1:  # remove: a list sheet with a cross
        c.sheet(1, 0, 10, 14, GRAY)
        c.shape(cross_cells(10, 11, 3), RED)
    elif index == 2:  # up
        c.shape(arrow_cells(True), BLUE)
    elif index == 3:  # down
        c.shape(arrow_cells(False), BLUE)
    else:  # merge: two interlocking puzzle pieces
        left = {(x, y) for x in range(1, 7) for y in range(4, 12)}
        left |= {(x, y) for x in range(7, 9) for y in range(6, 10)}  # the knob
        left |= {(9, 7), (9, 8)}
        right = {(x, y) for x in range(7, 14) for y in range(4, 12)} - left
        c.shape(left, RED)
        c.shape(right, BLUE)
        for x, y in left:  # the seam between the pieces
            for dx, dy in ((1, 0), (0, 1), (0, -1)):
                if (x + dx, y + dy) in right:
                    c.set(x + dx, y + dy, BLACK)
    return c


def greyed(canvas):
    """The normal (not hot) look: colours turn grey, black and white stay."""
    out = Canvas(canvas.width, canvas.height)
    for y in range(canvas.height):
        for x in range(canvas.width):
            v = canvas.get(x, y)
            out.set(x, y, v if v in (CLEAR, BLACK, WHITE, GRAY) else GRAY)
    return out


def app_icon(size):
    c = Canvas(size, size)
    if size == 32:
        c.sheet(2, 1, 17, 21, BLUE, ear=4)
        c.sheet(13, 9, 29, 30, RED, ear=4)
        c.shape({(x, y) for x in range(6, 12) for y in range(24, 27)}
                | {(x, 25 + d) for x in range(12, 14) for d in (-2, -1, 0, 1, 2)}
                | {(14, 24), (14, 25), (14, 26)}, YELLOW)
    else:
        c.sheet(1, 0, 9, 11, BLUE, ear=2)
        c.sheet(6, 4, 14, 15, RED, ear=2)
    return c


def hand_pointer():
    rows = [
        "            KK",
        "           KWWK",
        "           KWWK",
        "           KWWK",
        "           KWWK",
        "           KWWKKK",
        "           KWWKWWKKK",
        "           KWWKWWKWWKK",
        "        KK KWWKWWKWWKWK",
        "       KWWKKWWWWWWWWKWWK",
        "       KWWWKWWWWWWWWWWWK",
        "        KWWKWWWWWWWWWWWK",
        "         KWWWWWWWWWWWWWK",
        "         KWWWWWWWWWWWWK",
        "          KWWWWWWWWWWWK",
        "          KWWWWWWWWWWK",
        "           KWWWWWWWWWK",
        "           KWWWWWWWWWK",
        "           KKKKKKKKKKK",
    ]
    c = Canvas(32, 32)
    top = 4  # the finger's first white pixel lands on the hot spot (12, 5)
    for dy, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "K":
                c.set(x, top + dy, BLACK)
            elif ch == "W":
                c.set(x, top + dy, WHITE)
    return c


def row_bytes(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def pack_4bpp(canvas, clear_index):
    data = b""
    stride = row_bytes(canvas.width * 4)
    for y in reversed(range(canvas.height)):
        row = bytearray(stride)
        for x in range(canvas.width):
            v = canvas.get(x, y)
            v = clear_index if v == CLEAR else v
            row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        data += bytes(row)
    return data


def pack_1bpp(canvas, bit_of):
    data = b""
    stride = row_bytes(canvas.width)
    for y in reversed(range(canvas.height)):
        row = bytearray(stride)
        for x in range(canvas.width):
            if bit_of(canvas.get(x, y)):
                row[x // 8] |= 0x80 >> (x % 8)
        data += bytes(row)
    return data


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def write_bmp(path, canvas):
    pixels = pack_4bpp(canvas, SILVER)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 4, 0,
                       len(pixels), 2835, 2835, 16, 0)
    offset = 14 + len(info) + 64
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + palette_bytes(PALETTE) + pixels)


def icon_image(canvas):
    xor = pack_4bpp(canvas, BLACK)
    mask = pack_1bpp(canvas, lambda v: v == CLEAR)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 4, 0,
                       len(xor) + len(mask), 0, 0, 16, 0)
    return info + palette_bytes(PALETTE) + xor + mask


def cursor_image(canvas):
    xor = pack_1bpp(canvas, lambda v: v == WHITE)
    mask = pack_1bpp(canvas, lambda v: v == CLEAR)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 1, 0,
                       len(xor) + len(mask), 0, 0, 2, 0)
    return info + palette_bytes([(0, 0, 0), (255, 255, 255)]) + xor + mask


def write_icon_file(path, kind, entries):
    """entries: (canvas, image bytes, field1, field2); for a cursor the fields are the
    hot spot, for an icon the planes and bit count."""
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    directory, blobs = b"", b""
    for canvas, blob, f1, f2 in entries:
        colours = 16 if kind == 1 else 2
        directory += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, colours,
                                 0, f1, f2, len(blob), offset + len(blobs))
        blobs += blob
    with open(path, "wb") as f:
        f.write(head + directory + blobs)


def strip(images):
    out = Canvas(15 * len(images), 16)
    for i, image in enumerate(images):
        for y in range(16):
            for x in range(15):
                out.set(15 * i + x, y, image.get(x, y))
    return out


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    out = sys.argv[1] if len(sys.argv) > 1 else root
    hot = [toolbar_image(i) for i in range(5)]
    write_bmp(os.path.join(out, "toolbar_hot.bmp"), strip(hot))
    write_bmp(os.path.join(out, "toolbar_normal.bmp"), strip([greyed(i) for i in hot]))
    icons = [app_icon(32), app_icon(16)]
    write_icon_file(os.path.join(out, "app.ico"), 1,
                    [(c, icon_image(c), 1, 4) for c in icons])
    hand = hand_pointer()
    write_icon_file(os.path.join(out, "hand.cur"), 2, [(hand, cursor_image(hand), 12, 5)])


if __name__ == "__main__":
    main()
