#!/usr/bin/env python3
"""Generates the bitmap resources of Tresselby Diagram Tool.

    python3 resources/generate.py

writes, next to this script:

    icons/NN-role.png          the 19 tool-bar images, 16 x 16 RGBA
    cursors/HAND.png           open hand cursor, 32 x 32, hot spot (0, 0)
    cursors/GRAB.png           grabbing hand cursor, 32 x 32, hot spot (0, 0)

Every image is drawn here from character maps, so running the script
again reproduces the committed files byte for byte. Only the Python 3
standard library is used.
"""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

TRANSPARENT = (0, 0, 0, 0)


def rgb(hex_colour):
    value = int(hex_colour.lstrip("#"), 16)
    return (value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF, 255)


# ---------------------------------------------------------------------------
# Image container and PNG writer


class Image:
    def __init__(self, width, height, fill=TRANSPARENT):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    @classmethod
    def from_map(cls, rows, palette, width=None, height=None):
        """Builds an image from a character map; each character is looked
        up in `palette`. Maps smaller than the requested size are padded
        with transparent pixels at the right and bottom."""
        width = width or len(rows[0])
        height = height or len(rows)
        if len(rows) > height:
            raise ValueError("map has %d rows, image only %d" % (len(rows), height))
        image = cls(width, height)
        for y, row in enumerate(rows):
            if len(row) > width:
                raise ValueError("row %d is %d wide, image only %d: %r" % (y, len(row), width, row))
            for x, ch in enumerate(row):
                if ch not in palette:
                    raise ValueError("row %d: unknown colour %r" % (y, ch))
                image.pixels[y][x] = palette[ch]
        return image

    def overlay(self, rows, palette):
        """Draws a character map over the image; '.' leaves a pixel as it is."""
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch != ".":
                    self.pixels[y][x] = palette[ch]


def png_bytes(image):
    """Encodes an image as an 8-bit RGBA PNG (colour type 6, no filtering)."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in image.pixels:
        raw.append(0)  # filter type None
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def write_file(relative_path, data):
    path = os.path.join(HERE, relative_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)
    print("wrote", relative_path)


# ---------------------------------------------------------------------------
# Tool-bar images: 16 x 16, one palette shared by all of them.
#
#   .  transparent
#   K  outline (near black)     k  dark grey       g  mid grey
#   l  light grey               w  white
#   y  yellow                   Y  dark yellow     u  sun orange
#   b  blue                     B  dark blue       c  light blue
#   G  green                    h  dark green
#   r  red                      R  dark red
#   o  wood brown               O  dark brown

ICON_PALETTE = {
    ".": TRANSPARENT,
    "K": rgb("#1e1e1e"),
    "k": rgb("#505050"),
    "g": rgb("#8c8c8c"),
    "l": rgb("#c8c8c8"),
    "w": rgb("#ffffff"),
    "y": rgb("#ffd75a"),
    "Y": rgb("#d9a21b"),
    "u": rgb("#ff9a1a"),
    "b": rgb("#3a78d8"),
    "B": rgb("#17408f"),
    "c": rgb("#a8d4ff"),
    "G": rgb("#3fae3f"),
    "h": rgb("#1d6b1d"),
    "r": rgb("#e8302a"),
    "R": rgb("#8e1010"),
    "o": rgb("#c58a4a"),
    "O": rgb("#7a4a1a"),
}

ICONS = [
    ("00-new", [
        "................",
        "..KKKKKKKK......",
        "..KwwwwwwKK.....",
        "..KwwwwwwKlK....",
        "..KwwwwwwKllK...",
        "..KwwwwwwKKKKK..",
        "..KwwwwwwwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KKKKKKKKKKKK..",
        "................",
    ]),
    ("01-open", [
        "................",
        "................",
        ".KKKK...........",
        "KYYYYK..........",
        "KYYYYYKKKKKKK...",
        "KYYYYYYYYYYYK...",
        "KYYYYYYYYYYYK...",
        "KYYYKKKKKKKKKKKK",
        "KYYKyyyyyyyyyyyK",
        "KYYKyyyyyyyyyyK.",
        "KYKyyyyyyyyyyyK.",
        "KYKyyyyyyyyyyK..",
        "KKyyyyyyyyyyyK..",
        "KKKKKKKKKKKKK...",
        "................",
        "................",
    ]),
    ("02-save", [
        "................",
        ".KKKKKKKKKKKKK..",
        ".KbbKllllllKbbK.",
        ".KbbKllllKlKbbbK",
        ".KbbKllllKlKbbbK",
        ".KbbKllllKlKbbbK",
        ".KbbKKKKKKKKbbbK",
        ".KbbbbbbbbbbbbbK",
        ".KbbbbbbbbbbbbbK",
        ".KbbwwwwwwwwwbbK",
        ".KbbwwwwwwwwwbbK",
        ".KbbwggggggwwbbK",
        ".KbbwwwwwwwwwbbK",
        ".KbbwggggggwwbbK",
        ".KKKKKKKKKKKKKKK",
        "................",
    ]),
    ("03-print", [
        "................",
        "....KKKKKKKK....",
        "....KwwwwwwK....",
        "....KwggggwK....",
        "....KwwwwwwK....",
        "..KKKKKKKKKKKK..",
        ".KllllllllllllK.",
        ".KllllllllllGlK.",
        ".KllllllllllllK.",
        ".KggggggggggggK.",
        ".KgKKKKKKKKKKgK.",
        ".KgKwwwwwwwwKgK.",
        ".KKKwggggggwKKK.",
        "...KwwwwwwwwK...",
        "...KKKKKKKKKK...",
        "................",
    ]),
    ("04-export", [
        "KKKKKKKKKKKK....",
        "KccccccccccK....",
        "KcccccccuucK....",
        "KccccccuuuuK....",
        "KcccGcccuucK....",
        "KccGGGccccGK....",
        "KcGGGGGcccGK....",
        "KGGGGhGGcGGK....",
        "KGGGhhhGGGGK....",
        "KKKKKKKKKKKK....",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
    ], [
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "...........K....",
        "...........KK...",
        "......KKKKKKbK..",
        "......KbbbbbbbK.",
        "......KbbbbbbbbK",
        "......KbbbbbbbK.",
        "......KKKKKKbK..",
        "...........KK...",
        "...........K....",
    ]),
    ("05-cut", [
        "................",
        "...KK......KK...",
        "...KlK....KlK...",
        "....KlK..KlK....",
        "....KllKKllK....",
        ".....KlKKlK.....",
        "......KggK......",
        "......KggK......",
        ".....KlKKlK.....",
        "..RRRR....RRRR..",
        ".RrrrrR..RrrrrR.",
        ".Rr..rR..Rr..rR.",
        ".Rr..rR..Rr..rR.",
        ".RrrrrR..RrrrrR.",
        "..RRRR....RRRR..",
        "................",
    ]),
    ("06-copy", [
        "KKKKKK..........",
        "KwwwwKK.........",
        "KwwwwKwK........",
        "KwgggKKKK.......",
        "KwwwwwwwK.......",
        "KwggggKKKKKK....",
        "KwwwwwKwwwwKK...",
        "KwggggKwwwwKwK..",
        "KwwwwwKwgggKKKK.",
        "KwggggKwwwwwwwK.",
        "KKKKKKKwgggggwK.",
        "......KwwwwwwwK.",
        "......KwgggggwK.",
        "......KwwwwwwwK.",
        "......KKKKKKKKK.",
        "................",
    ]),
    ("07-paste", [
        ".....KKKKK......",
        ".OOOOKlllKOOOO..",
        ".OooKlllllKooO..",
        ".OooKKKKKKKooO..",
        ".OowwwwwwwwwoO..",
        ".OowggggggwwoO..",
        ".OowwwwwwwwwoO..",
        ".OowggggggwwoO..",
        ".OowwwwwwwwwoO..",
        ".OowgggggwwwoO..",
        ".OowwwwwwwwwoO..",
        ".OowggggwwwwoO..",
        ".OowwwwwwwwwoO..",
        ".OoooooooooooO..",
        ".OOOOOOOOOOOOO..",
        "................",
    ]),
    ("08-delete", [
        "................",
        ".RRR........RRR.",
        ".RrrR......RrrR.",
        ".RrrrR....RrrrR.",
        "..RrrrR..RrrrR..",
        "...RrrrRRrrrR...",
        "....RrrrrrrR....",
        ".....RrrrrR.....",
        ".....RrrrrR.....",
        "....RrrrrrrR....",
        "...RrrrRRrrrR...",
        "..RrrrR..RrrrR..",
        ".RrrrR....RrrrR.",
        ".RrrR......RrrR.",
        ".RRR........RRR.",
        "................",
    ]),
    ("09-select", [
        "....K...........",
        "....KK..........",
        "....KwK.........",
        "....KwwK........",
        "....KwwwK.......",
        "....KwwwwK......",
        "....KwwwwwK.....",
        "....KwwwwwwK....",
        "....KwwwwwwwK...",
        "....KwwwwwKKKK..",
        "....KwwKwwK.....",
        "....KwK.KwwK....",
        "....KK..KwwK....",
        "....K....KwwK...",
        ".........KwwK...",
        "..........KK....",
    ]),
    ("10-graphic", [
        "................",
        "OOOOOOOOOOOOOOOO",
        "OooooooooooooooO",
        "OoKKKKKKKKKKKKoO",
        "OoKcccccccuucKoO",
        "OoKccccccuuuuKoO",
        "OoKcccccccuucKoO",
        "OoKcccGccccccKoO",
        "OoKccGGGcccGcKoO",
        "OoKcGGGGGcGGGKoO",
        "OoKGGGhGGGGGGKoO",
        "OoKGGhhhGGGhGKoO",
        "OoKKKKKKKKKKKKoO",
        "OooooooooooooooO",
        "OOOOOOOOOOOOOOOO",
        "................",
    ]),
    ("11-text", [
        "................",
        ".......KK.......",
        ".......KK.......",
        "......KKKK......",
        "......KKKK......",
        ".....KK..KK.....",
        ".....KK..KK.....",
        "....KK....KK....",
        "....KK....KK....",
        "...KKKKKKKKKK...",
        "...KK......KK...",
        "..KK........KK..",
        "..KK........KK..",
        ".KKKK......KKKK.",
        "................",
        "................",
    ]),
    ("12-shape", [
        "................",
        "................",
        "................",
        "...KKKKKKKKKK...",
        "..KccccccccccK..",
        ".KccccccccccccK.",
        ".KccccccccccccK.",
        ".KccccccccccccK.",
        ".KccccccccccccK.",
        ".KccccccccccccK.",
        ".KccccccccccccK.",
        "..KccccccccccK..",
        "...KKKKKKKKKK...",
        "................",
        "................",
        "................",
    ]),
    ("13-twoway", [
        "................",
        "................",
        "................",
        "................",
        "....K......K....",
        "...KK......KK...",
        "..KKK......KKK..",
        ".KKKKKKKKKKKKKK.",
        ".KKKKKKKKKKKKKK.",
        "..KKK......KKK..",
        "...KK......KK...",
        "....K......K....",
        "................",
        "................",
        "................",
        "................",
    ]),
    ("14-oneway", [
        "................",
        "................",
        "................",
        "................",
        "...........K....",
        "...........KK...",
        "...........KKK..",
        ".KKKKKKKKKKKKKK.",
        ".KKKKKKKKKKKKKK.",
        "...........KKK..",
        "...........KK...",
        "...........K....",
        "................",
        "................",
        "................",
        "................",
    ]),
    ("15-grid", [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kwwwkwwwkwwwwk.",
        ".kwwwkwwwkwwwwk.",
        ".kwwwkwwwkwwwwk.",
        ".kkkkkkkkkkkkkk.",
        ".kwwwkwwwkwwwwk.",
        ".kwwwkwwwkwwwwk.",
        ".kwwwkwwwkwwwwk.",
        ".kkkkkkkkkkkkkk.",
        ".kwwwkwwwkwwwwk.",
        ".kwwwkwwwkwwwwk.",
        ".kwwwkwwwkwwwwk.",
        ".kwwwkwwwkwwwwk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    ]),
    ("16-snap", [
        ".....KKKKKK.....",
        "....KrrrrrrK....",
        "...KrrKKKKrrK...",
        "...KrrK..KrrK...",
        "...KrrK..KrrK...",
        "...KllK..KllK...",
        "...KllK..KllK...",
        "...KKKK..KKKK...",
        "................",
        ".k..k..k..k..k..",
        "................",
        "................",
        ".k..k..k..k..k..",
        "................",
        "................",
        ".k..k..k..k..k..",
    ]),
    ("17-hidden", [
        "................",
        ".g.g.g.g.g.g.g..",
        "................",
        ".g...........g..",
        "................",
        ".g...........g..",
        "......KKK.......",
        ".g...KKKKK...g..",
        ".....KKKKK......",
        ".g...KKKKK...g..",
        "......KKK.......",
        ".g...........g..",
        "................",
        ".g...........g..",
        "................",
        ".g.g.g.g.g.g.g..",
    ]),
    ("18-line", [
        "................",
        "................",
        "................",
        "................",
        "................",
        "KKKKK......KKKKK",
        "KcccK......KcccK",
        "KcccKKKKKKKKcccK",
        "KcccK......KcccK",
        "KKKKK......KKKKK",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
    ]),
]


def build_icons():
    if len(ICONS) != 19:
        raise ValueError("the tool bar needs 19 images, %d defined" % len(ICONS))
    for index, (name, *layers) in enumerate(ICONS):
        if not name.startswith("%02d-" % index):
            raise ValueError("icon %s is out of order" % name)
        for layer in layers:
            if len(layer) != 16 or any(len(row) != 16 for row in layer):
                raise ValueError("icon %s is not 16 x 16" % name)
        image = Image.from_map(layers[0], ICON_PALETTE, 16, 16)
        for layer in layers[1:]:
            image.overlay(layer, ICON_PALETTE)
        write_file("icons/%s.png" % name, png_bytes(image))


# ---------------------------------------------------------------------------
# Cursors: 32 x 32, black outline, white fill, the rest transparent.
# The hot spot is the top-left pixel, so the hands sit in the top-left corner.

CURSOR_PALETTE = {
    " ": TRANSPARENT,
    "#": (0, 0, 0, 255),
    ".": (255, 255, 255, 255),
}

HAND = [
    "         ###        ",
    "        #...####    ",
    "     ####...#...#   ",
    "    #...#...#...#   ",
    "    #...#...#...### ",
    "    #...#...#...#..#",
    "    #...#...#...#..#",
    " ## #...#...#...#..#",
    "#..##...#...#...#..#",
    "#...#...#...#...#..#",
    "#...#..............#",
    " #...#.............#",
    " #.................#",
    "  #................#",
    "  #...............# ",
    "   #..............# ",
    "    #............#  ",
    "     #...........#  ",
    "     #..........#   ",
    "     #..........#   ",
    "     #..........#   ",
    "     ############   ",
]

GRAB = [
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    "    ### ### ###     ",
    "   #...#...#...##   ",
    "   #...#...#...#.#  ",
    "   #...........#..# ",
    " ###..............# ",
    "#..#..............# ",
    "#.................# ",
    "#.................# ",
    " #................# ",
    " #...............#  ",
    "  #..............#  ",
    "   #.............#  ",
    "    #...........#   ",
    "    #..........#    ",
    "    #..........#    ",
    "    ############    ",
]


def build_cursors():
    for name, rows in (("HAND", HAND), ("GRAB", GRAB)):
        image = Image.from_map(rows, CURSOR_PALETTE, 32, 32)
        write_file("cursors/%s.png" % name, png_bytes(image))


def main():
    build_icons()
    build_cursors()
    return 0


if __name__ == "__main__":
    sys.exit(main())
