#!/usr/bin/env python3
"""Generates the bitmap resources of Tresselby Diagram Tool.

    python3 resources/generate.py

writes, next to this script:

    icons/NN-role.png          the 19 tool-bar images, 16 x 16 RGBA
    icons/NN-role@2x.png       the same at 32 x 32 for high-density screens,
                               which Qt's icons pick up by the name
    cursors/HAND.png           open hand cursor, 32 x 32, hot spot (0, 0)
    cursors/GRAB.png           grabbing hand cursor, 32 x 32, hot spot (0, 0)
    cursors/ZOOM_CURSOR.png    the preview's zoom tool, 32 x 32, hot spot (6, 6)
    cursors/HAND_CURSOR.png    the preview's hand tool, 32 x 32, hot spot (10, 10)
    preview/NAME.png           the preview's glyphs and window icon, 16 x 16 RGBA
    images/DefaultPicture.jpg  default picture of new picture elements, 85 x 85
    logo/LogoAnd.png           about box logo, AND mask: black where the logo is
    logo/LogoOr.png            about box logo, OR image: black around the logo
                               (both 294 x 134, RGB without alpha)
    desktop/hicolor/...        the program's icon (apps/org.example.Tresselby)
                               and the diagram files' icon (mimetypes/
                               application-x-tresselby-diagram): a scalable
                               SVG and PNGs of 16 to 256 pixels, RGBA

Every image is drawn here, from character maps (icons, cursors) or from
simple shapes (the picture, the logo, the desktop icons), so running the script again reproduces the
committed files byte for byte.

Only the Python 3 standard library is used. The JPEG is encoded by `cjpeg`
from Debian's libjpeg-turbo-progs package; that tool is needed only to
regenerate the images, it is not a build dependency of the program.
"""

import os
import struct
import subprocess
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


def png_bytes(image, alpha=True):
    """Encodes an image as an 8-bit RGBA PNG (colour type 6, no filtering),
    or as RGB (colour type 2) with alpha=False."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in image.pixels:
        raw.append(0)  # filter type None
        for pixel in row:
            raw.extend(pixel if alpha else pixel[:3])
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 6 if alpha else 2, 0, 0, 0)
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
        write_file("icons/%s@2x.png" % name, png_bytes(doubled(image)))


def doubled(image):
    """The image at twice the size by the Scale2x rule: each pixel becomes
    four, and a corner takes the colour of its two neighbours where they
    agree and the pixels across differ, so diagonal edges come out as finer
    steps instead of the doubled staircase of the small image."""
    w, h = image.width, image.height
    out = Image(2 * w, 2 * h)
    at = lambda x, y: image.pixels[min(max(y, 0), h - 1)][min(max(x, 0), w - 1)]
    for y in range(h):
        for x in range(w):
            p = at(x, y)
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            e0 = e1 = e2 = e3 = p
            if a != d and c != b:
                e0 = c if c == a else p
                e1 = b if a == b else p
                e2 = c if c == d else p
                e3 = b if d == b else p
            out.pixels[2 * y][2 * x] = e0
            out.pixels[2 * y][2 * x + 1] = e1
            out.pixels[2 * y + 1][2 * x] = e2
            out.pixels[2 * y + 1][2 * x + 1] = e3
    return out


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


# The preview's zoom tool: a magnifying glass with a plus sign; the hot spot
# is the middle of the lens.
ZOOM = [
    "   #####      ",
    "  #.....#     ",
    " #.......#    ",
    "#....#....#   ",
    "#....#....#   ",
    "#..#####..#   ",
    "#....#....#   ",
    "#....#....#   ",
    " #.......#    ",
    "  #.....###   ",
    "   ##### ###  ",
    "          ### ",
    "           ###",
    "            ##",
]


def build_cursors():
    for name, rows in (("HAND", HAND), ("GRAB", GRAB), ("ZOOM_CURSOR", ZOOM),
                       ("HAND_CURSOR", HAND)):
        image = Image.from_map(rows, CURSOR_PALETTE, 32, 32)
        write_file("cursors/%s.png" % name, png_bytes(image))


# ---------------------------------------------------------------------------
# The preview's glyphs: the two tools, page navigation and the window icon,
# in the tool-bar palette.

PREVIEW_GLYPHS = [
    ("ZoomTool", [
        "................",
        "....KKKKK.......",
        "...KcccccK......",
        "..KcccccccK.....",
        ".KccccKccccK....",
        ".KccccKccccK....",
        ".KcKKKKKKKcK....",
        ".KccccKccccK....",
        ".KccccKccccK....",
        "..KcccccccK.....",
        "...KcccccKOO....",
        "....KKKKK.OOO...",
        "...........OOO..",
        "............OOO.",
        ".............OO.",
        "................",
    ]),
    ("HandTool", [
        "................",
        ".......KK.......",
        "....KKKwwKK.....",
        "...KwwKwwKwK....",
        "...KwwKwwKwKK...",
        "...KwwKwwKwKwK..",
        ".KKKwwKwwKwKwK..",
        "KwwKwwwwwwwwwK..",
        "KwwwKwwwwwwwwK..",
        ".KwwwwwwwwwwwK..",
        "..KwwwwwwwwwK...",
        "...KwwwwwwwwK...",
        "....KwwwwwwK....",
        "....KwwwwwwK....",
        "....KKKKKKKK....",
        "................",
    ]),
    ("FirstPage", [
        "................",
        "................",
        "................",
        "...KK......KK...",
        "...KK.....KBK...",
        "...KK....KBBK...",
        "...KK...KBBBK...",
        "...KK..KBBBBK...",
        "...KK..KBBBBK...",
        "...KK...KBBBK...",
        "...KK....KBBK...",
        "...KK.....KBK...",
        "...KK......KK...",
        "................",
        "................",
        "................",
    ]),
    ("PrevPage", [
        "................",
        "................",
        "................",
        "..........KK....",
        ".........KBK....",
        "........KBBK....",
        ".......KBBBK....",
        "......KBBBBK....",
        "......KBBBBK....",
        ".......KBBBK....",
        "........KBBK....",
        ".........KBK....",
        "..........KK....",
        "................",
        "................",
        "................",
    ]),
    ("NextPage", [
        "................",
        "................",
        "................",
        "....KK..........",
        "....KBK.........",
        "....KBBK........",
        "....KBBBK.......",
        "....KBBBBK......",
        "....KBBBBK......",
        "....KBBBK.......",
        "....KBBK........",
        "....KBK.........",
        "....KK..........",
        "................",
        "................",
        "................",
    ]),
    ("LastPage", [
        "................",
        "................",
        "................",
        "...KK......KK...",
        "...KBK.....KK...",
        "...KBBK....KK...",
        "...KBBBK...KK...",
        "...KBBBBK..KK...",
        "...KBBBBK..KK...",
        "...KBBBK...KK...",
        "...KBBK....KK...",
        "...KBK.....KK...",
        "...KK......KK...",
        "................",
        "................",
        "................",
    ]),
    ("PageNumber", [
        "..KKKKKKKKK.....",
        "..KwwwwwwwKK....",
        "..KwwwwwwwKwK...",
        "..KwwwwwwwKKKK..",
        "..KwwKwwKwwwwK..",
        "..KwwKwwKwwwwK..",
        "..KKKKKKKKKwwK..",
        "..KwwKwwKwwwwK..",
        "..KwwKwwKwwwwK..",
        "..KKKKKKKKKwwK..",
        "..KwwKwwKwwwwK..",
        "..KwwKwwKwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KwwwwwwwwwwK..",
        "..KKKKKKKKKKKK..",
        "................",
    ]),
    ("PreviewIcon", [
        ".KKKKKKKK.......",
        ".KwwwwwwKK......",
        ".KwggggwKwK.....",
        ".KwwwwwwKKKK....",
        ".KwggggggwwK....",
        ".KwwwKKKKKwK....",
        ".KwgKcccccKK....",
        ".KwKcccccccK....",
        ".KwKcccccccK....",
        ".KwKcccccccK....",
        ".KwKcccccccK....",
        ".KwwKcccccKOO...",
        ".KKKKKKKKKKOOO..",
        "...........OOO..",
        "............OOO.",
        ".............OO.",
    ]),
]


def build_preview_glyphs():
    for name, rows in PREVIEW_GLYPHS:
        if len(rows) != 16 or any(len(row) != 16 for row in rows):
            raise ValueError("glyph %s is not 16 x 16" % name)
        image = Image.from_map(rows, ICON_PALETTE, 16, 16)
        write_file("preview/%s.png" % name, png_bytes(image))


# ---------------------------------------------------------------------------
# Default picture: a desktop computer (monitor, tower, keyboard) on white.
# Drawn at four times the size and averaged down, which smooths the edges.

PICTURE_SIZE = 85
SUPERSAMPLE = 4


class Canvas:
    """An RGB drawing surface addressed in picture pixels (fractions
    allowed), backed by a grid `scale` times finer in each direction."""

    def __init__(self, size, scale, background):
        self.size = size
        self.scale = scale
        n = size * scale
        self.n = n
        self.pixels = [[background] * n for _ in range(n)]

    def _span(self, a, b):
        lo = max(0, int(round(a * self.scale)))
        hi = min(self.n, int(round(b * self.scale)))
        return range(lo, hi)

    def rect(self, x0, y0, x1, y1, colour):
        for y in self._span(y0, y1):
            row = self.pixels[y]
            for x in self._span(x0, x1):
                row[x] = colour

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        s = self.scale
        r = radius * s
        for y in self._span(y0, y1):
            cy = y + 0.5
            row = self.pixels[y]
            for x in self._span(x0, x1):
                cx = x + 0.5
                # how far the sample lies inside a corner square, if at all
                dx = max(x0 * s + r - cx, cx - (x1 * s - r), 0)
                dy = max(y0 * s + r - cy, cy - (y1 * s - r), 0)
                if dx * dx + dy * dy <= r * r:
                    row[x] = colour

    def polygon(self, points, colour):
        s = self.scale
        pts = [(px * s, py * s) for px, py in points]
        ys = [p[1] for p in pts]
        for y in range(max(0, int(min(ys))), min(self.n, int(max(ys)) + 1)):
            cy = y + 0.5
            crossings = []
            for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
                if (ay <= cy < by) or (by <= cy < ay):
                    crossings.append(ax + (cy - ay) * (bx - ax) / (by - ay))
            crossings.sort()
            row = self.pixels[y]
            for left, right in zip(crossings[0::2], crossings[1::2]):
                for x in range(max(0, int(round(left))), min(self.n, int(round(right)))):
                    row[x] = colour

    def ellipse(self, cx, cy, rx, ry, colour):
        s = self.scale
        for y in self._span(cy - ry, cy + ry):
            py = (y + 0.5) / s - cy
            row = self.pixels[y]
            for x in self._span(cx - rx, cx + rx):
                px = (x + 0.5) / s - cx
                if (px * px) / (rx * rx) + (py * py) / (ry * ry) <= 1.0:
                    row[x] = colour

    def vertical_gradient(self, x0, y0, x1, y1, top, bottom):
        span = self._span(y0, y1)
        count = max(1, len(span) - 1)
        for i, y in enumerate(span):
            t = i / count
            colour = tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
            row = self.pixels[y]
            for x in self._span(x0, x1):
                row[x] = colour

    def downsampled(self):
        s = self.scale
        area = s * s
        out = []
        for y in range(self.size):
            for x in range(self.size):
                total = [0, 0, 0]
                for sy in range(y * s, y * s + s):
                    row = self.pixels[sy]
                    for sx in range(x * s, x * s + s):
                        p = row[sx]
                        total[0] += p[0]
                        total[1] += p[1]
                        total[2] += p[2]
                out.append(tuple((c + area // 2) // area for c in total))
        return out


def c3(hex_colour):
    return rgb(hex_colour)[:3]


def draw_computer(canvas):
    outline = c3("#3c3c3c")
    case_light = c3("#e4e4dc")
    case_mid = c3("#c9c9c0")
    case_dark = c3("#9a9a92")

    # shadow on the desk
    canvas.ellipse(42, 79, 40, 3.2, c3("#e6e6e6"))

    # tower at the right
    canvas.rounded_rect(60, 18, 82, 78, 2, outline)
    canvas.rounded_rect(61, 19, 81, 77, 1.5, case_light)
    canvas.rect(78, 19.5, 80.5, 76.5, case_mid)           # shaded side
    for top in (23, 29):                                  # drive bays
        canvas.rect(63, top, 77, top + 4.5, case_dark)
        canvas.rect(63.7, top + 0.7, 76.3, top + 3.8, case_mid)
        canvas.rect(66, top + 2, 74, top + 2.8, c3("#555555"))
    canvas.ellipse(70, 42, 3.2, 3.2, case_dark)           # power button
    canvas.ellipse(70, 42, 2.3, 2.3, c3("#d8d8d0"))
    canvas.ellipse(74.8, 46.5, 1.0, 1.0, c3("#2fbf3a"))   # power light
    for y in range(58, 74, 3):                            # vent slots
        canvas.rect(64, y, 76, y + 1.2, case_mid)

    # monitor: bezel, screen, neck and foot
    canvas.polygon([(24, 52), (34, 52), (36, 62), (22, 62)], case_mid)
    canvas.rounded_rect(14, 61, 44, 65.5, 1.5, outline)
    canvas.rounded_rect(15, 61.8, 43, 64.7, 1, case_mid)
    canvas.rounded_rect(2, 8, 56, 54, 3, outline)
    canvas.rounded_rect(3, 9, 55, 53, 2.5, case_light)
    canvas.rect(6, 12, 52, 47, outline)
    canvas.vertical_gradient(7, 13, 51, 46, c3("#2d6fd0"), c3("#0d2f7a"))
    # a window on the desktop of the screen
    canvas.rect(13, 18, 37, 35, c3("#f4f4f4"))
    canvas.rect(13, 18, 37, 21, c3("#8fb8f4"))
    for y in (24, 27, 30):
        canvas.rect(15, y, 33, y + 1.2, c3("#9aa8c0"))
    # a reflection across the upper left of the screen
    canvas.polygon([(7, 13), (22, 13), (7, 28)], c3("#4f8ae0"))
    canvas.rect(24, 49, 34, 50.5, case_dark)              # maker badge
    canvas.ellipse(50, 50, 1.0, 1.0, c3("#2fbf3a"))       # power light

    # keyboard in front: three rows of keys and a space bar
    canvas.polygon([(4, 70), (54, 70), (57, 80), (1, 80)], outline)
    canvas.polygon([(5, 71), (53, 71), (55.6, 79), (2.4, 79)], case_light)
    for row in range(3):
        y = 72.0 + row * 1.9
        inset = row * 0.6
        for k in range(12):
            x = 6.2 - inset + k * (42.0 + 2 * inset) / 12
            canvas.rect(x, y, x + 3.0, y + 1.3, case_dark)
    canvas.rect(17, 77.7, 41, 78.9, case_dark)


def build_picture():
    canvas = Canvas(PICTURE_SIZE, SUPERSAMPLE, (255, 255, 255))
    draw_computer(canvas)
    pixels = canvas.downsampled()
    ppm = b"P6\n%d %d\n255\n" % (PICTURE_SIZE, PICTURE_SIZE) + bytes(c for p in pixels for c in p)
    try:
        result = subprocess.run(
            ["cjpeg", "-quality", "90", "-baseline"],
            input=ppm, stdout=subprocess.PIPE, check=True)
    except FileNotFoundError:
        sys.exit("cjpeg not found: install Debian's libjpeg-turbo-progs to regenerate the picture")
    write_file("images/DefaultPicture.jpg", result.stdout)


# ---------------------------------------------------------------------------
# About box logo: a small wiring diagram (a unit, a junction hub and a
# device joined by arrows) over the word TRESSELBY. Drawn with hard edges:
# the play-field combines the pair by AND and OR, which knows no blending.
# The mask is black wherever the logo has a pixel and white elsewhere; the
# image is black wherever the mask is white.

LOGO_WIDTH = 294
LOGO_HEIGHT = 134

LETTERS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
}


class Logo:
    """A picture of opaque pixels; every pixel not drawn stays transparent."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[None] * width for _ in range(height)]

    def plot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills [x0, x1) x [y0, y1)."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.plot(x, y, colour)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                dx = max(x0 + radius - (x + 0.5), (x + 0.5) - (x1 - radius), 0)
                dy = max(y0 + radius - (y + 0.5), (y + 0.5) - (y1 - radius), 0)
                if dx * dx + dy * dy <= radius * radius:
                    self.plot(x, y, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        for y in range(int(cy - ry), int(cy + ry) + 1):
            for x in range(int(cx - rx), int(cx + rx) + 1):
                px, py = x + 0.5 - cx, y + 0.5 - cy
                if (px * px) / (rx * rx) + (py * py) / (ry * ry) <= 1.0:
                    self.plot(x, y, colour)

    def arrow_head(self, tip_x, y, direction, colour):
        """A filled triangle 9 pixels long and 11 high pointing along x."""
        for i in range(9):
            x = tip_x - direction * i
            half = (i * 5) // 8
            for dy in range(-half, half + 1):
                self.plot(x, y + dy, colour)

    def text(self, x, y, word, scale, colour):
        for letter in word:
            for row, line in enumerate(LETTERS[letter]):
                for col, ch in enumerate(line):
                    if ch == "#":
                        self.rect(x + col * scale, y + row * scale,
                                  x + (col + 1) * scale, y + (row + 1) * scale, colour)
            x += 6 * scale


def draw_logo(logo):
    outline = (0x17, 0x2a, 0x5c)
    unit = (0x3a, 0x78, 0xd8)
    unit_light = (0xa8, 0xd4, 0xff)
    hub = (0x3f, 0xae, 0x3f)
    hub_dark = (0x1d, 0x6b, 0x1d)
    device = (0xff, 0x9a, 0x1a)
    device_dark = (0xb8, 0x5c, 0x00)
    wire = (0x30, 0x30, 0x30)
    shadow = (0x80, 0x80, 0x80)
    word = (0x17, 0x40, 0x8f)
    accent = (0xe8, 0x30, 0x2a)

    # the unit at the left: a rounded box with a display and two buttons
    logo.rounded_rect(14, 10, 88, 62, 8, outline)
    logo.rounded_rect(16, 12, 86, 60, 6, unit)
    logo.rect(24, 19, 78, 37, outline)
    logo.rect(26, 21, 76, 35, unit_light)
    for x in (28, 50):
        logo.rect(x, 44, x + 16, 52, outline)
        logo.rect(x + 1, 45, x + 15, 51, unit_light)

    # the hub in the middle: an ellipse with four terminals
    logo.ellipse(147, 36, 30, 22, hub_dark)
    logo.ellipse(147, 36, 27, 19, hub)
    for cx in (135, 159):
        for cy in (29, 43):
            logo.ellipse(cx, cy, 4, 4, hub_dark)

    # the device at the right: a square box with a dial
    logo.rect(208, 10, 280, 62, outline)
    logo.rect(210, 12, 278, 60, device)
    logo.ellipse(244, 36, 17, 17, device_dark)
    logo.ellipse(244, 36, 14, 14, (0xff, 0xe0, 0xb0))
    logo.rect(243, 24, 246, 37, device_dark)

    # wires: a one-way arrow from the unit to the hub, a two-way arrow
    # between the hub and the device
    logo.rect(89, 35, 116, 38, wire)
    logo.arrow_head(116, 36, 1, wire)
    logo.rect(186, 35, 199, 38, wire)
    logo.arrow_head(178, 36, -1, wire)
    logo.arrow_head(207, 36, 1, wire)

    # the word, with its shadow, and a rule beneath it
    scale = 4
    width = 9 * 6 * scale - scale
    x = (LOGO_WIDTH - width) // 2
    logo.text(x + 2, 80, "TRESSELBY", scale, shadow)
    logo.text(x, 78, "TRESSELBY", scale, word)
    logo.rect(x, 114, x + width, 118, accent)
    logo.rect(x + 2, 118, x + width + 2, 120, shadow)


def build_logo():
    logo = Logo(LOGO_WIDTH, LOGO_HEIGHT)
    draw_logo(logo)
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    mask = Image(LOGO_WIDTH, LOGO_HEIGHT, white)
    picture = Image(LOGO_WIDTH, LOGO_HEIGHT, black)
    for y, row in enumerate(logo.pixels):
        for x, colour in enumerate(row):
            if colour is not None:
                mask.pixels[y][x] = black
                picture.pixels[y][x] = colour + (255,)
    write_file("logo/LogoAnd.png", png_bytes(mask, alpha=False))
    write_file("logo/LogoOr.png", png_bytes(picture, alpha=False))

# ---------------------------------------------------------------------------
# Desktop icons: the program's icon (a diagram sheet: a unit joined by arrows
# to a junction hub and a device, on a dotted page) and the icon of diagram
# files (the same diagram on a document with a folded corner). Both are drawn
# from a few filled shapes in a 256 x 256 design space, written once as a
# scalable SVG and rasterised into PNGs of each hicolor size by
# supersampling. Strokes never get thinner than one pixel, and the smallest
# sizes leave out the grid dots and the dial.

DESKTOP_APP_ID = "org.example.Tresselby"
DESKTOP_MIME_ICON = "application-x-tresselby-diagram"
DESKTOP_SIZES = (16, 32, 48, 64, 128, 256)
DESIGN = 256

INK = "#172a5c"
PAPER = "#fbfbf7"
DOT = "#b9c3d6"
UNIT, UNIT_DARK = "#3a78d8", "#17408f"
HUB, HUB_DARK = "#3fae3f", "#1d6b1d"
DEVICE, DEVICE_DARK = "#ff9a1a", "#b85c00"
DIAL = "#ffe0b0"
WIRE = "#303030"
FOLD = "#d6dbe6"


def fmt(value):
    """A coordinate as the SVG file writes it: at most two decimals."""
    text = "%.2f" % value
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("", "-0") else text


class Shapes:
    """Filled shapes in design units, painted in order."""

    def __init__(self, size):
        # Boxes land on whole pixels of the size drawn for, so edges stay
        # sharp; the SVG's are on whole design units.
        self.pixel = DESIGN / size
        self.items = []

    def snap(self, value):
        return round(value / self.pixel) * self.pixel

    def rect(self, x0, y0, x1, y1, colour, radius=0):
        x0, y0, x1, y1 = (self.snap(v) for v in (x0, y0, x1, y1))
        self.items.append(("rect", (x0, y0, x1, y1, radius), colour))

    def ellipse(self, cx, cy, rx, ry, colour):
        x0, y0, x1, y1 = (self.snap(v) for v in (cx - rx, cy - ry, cx + rx, cy + ry))
        self.items.append(("ellipse", ((x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2),
                           colour))

    def polygon(self, points, colour):
        self.items.append(("polygon", tuple(points), colour))

    def framed_rect(self, x0, y0, x1, y1, width, line, fill, radius=0):
        # The frame is as wide on every side, in whole pixels.
        x0, y0, x1, y1 = (self.snap(v) for v in (x0, y0, x1, y1))
        width = max(self.pixel, self.snap(width)) if width else 0
        if width:
            self.rect(x0, y0, x1, y1, line, radius)
        self.rect(x0 + width, y0 + width, x1 - width, y1 - width, fill, max(0, radius - width))

    def framed_ellipse(self, cx, cy, rx, ry, width, line, fill):
        x0, y0, x1, y1 = (self.snap(v) for v in (cx - rx, cy - ry, cx + rx, cy + ry))
        cx, cy, rx, ry = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
        width = max(self.pixel, self.snap(width)) if width else 0
        if width:
            self.ellipse(cx, cy, rx, ry, line)
        self.ellipse(cx, cy, rx - width, ry - width, fill)

    def arrow(self, start, end, width, head_length, head_width, colour):
        """A line from `start` whose filled head's tip is at `end`."""
        (x0, y0), (x1, y1) = start, end
        length = ((x1 - x0) ** 2 + (y1 - y0) ** 2) ** 0.5
        dx, dy = (x1 - x0) / length, (y1 - y0) / length
        nx, ny = -dy, dx
        bx, by = x1 - dx * head_length, y1 - dy * head_length
        half = width / 2
        self.polygon([(x0 + nx * half, y0 + ny * half), (bx + nx * half, by + ny * half),
                      (bx - nx * half, by - ny * half), (x0 - nx * half, y0 - ny * half)], colour)
        self.polygon([(x1, y1), (bx + nx * head_width, by + ny * head_width),
                      (bx - nx * head_width, by - ny * head_width)], colour)

    def svg(self, title):
        out = ['<?xml version="1.0" encoding="UTF-8"?>',
               '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
               'viewBox="0 0 %d %d">' % (DESIGN, DESIGN, DESIGN, DESIGN),
               '  <title>%s</title>' % title]
        for kind, g, colour in self.items:
            if kind == "rect":
                x0, y0, x1, y1, r = g
                corner = ' rx="%s"' % fmt(r) if r else ""
                out.append('  <rect x="%s" y="%s" width="%s" height="%s"%s fill="%s"/>'
                           % (fmt(x0), fmt(y0), fmt(x1 - x0), fmt(y1 - y0), corner, colour))
            elif kind == "ellipse":
                out.append('  <ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>'
                           % (tuple(fmt(v) for v in g) + (colour,)))
            else:
                points = " ".join("%s,%s" % (fmt(x), fmt(y)) for x, y in g)
                out.append('  <polygon points="%s" fill="%s"/>' % (points, colour))
        out.append("</svg>")
        return ("\n".join(out) + "\n").encode("ascii")

    def png(self, size, scale=None):
        """Rasterises at `size` pixels; each pixel averages scale x scale
        samples taken at their centres."""
        scale = scale or max(4, 64 // size)
        n = size * scale
        unit = n / DESIGN   # samples per design unit
        samples = bytearray(n * n * 4)
        for kind, g, colour in self.items:
            paint = bytes(rgb(colour))
            for y, left, right in self._spans(kind, g, unit, n):
                lo = max(0, math_ceil(left - 0.5))
                hi = min(n, math_ceil(right - 0.5))
                if hi > lo:
                    start = (y * n + lo) * 4
                    samples[start:start + (hi - lo) * 4] = paint * (hi - lo)
        image = Image(size, size)
        area = scale * scale
        for py in range(size):
            for px in range(size):
                total = [0, 0, 0]
                count = 0
                for sy in range(py * scale, py * scale + scale):
                    base = (sy * n + px * scale) * 4
                    for i in range(base, base + scale * 4, 4):
                        if samples[i + 3]:
                            total[0] += samples[i]
                            total[1] += samples[i + 1]
                            total[2] += samples[i + 2]
                            count += 1
                if count:
                    image.pixels[py][px] = tuple((c + count // 2) // count for c in total) + (
                        (count * 255 + area // 2) // area,)
        return png_bytes(image)

    @staticmethod
    def _spans(kind, g, unit, n):
        """(sample row, left, right) in samples for each row the shape meets."""
        if kind == "rect":
            x0, y0, x1, y1, r = (v * unit for v in g)
            for y in range(max(0, math_ceil(y0 - 0.5)), min(n, math_ceil(y1 - 0.5))):
                cy = y + 0.5
                inset = 0.0
                d = max(y0 + r - cy, cy - (y1 - r), 0)
                if d > 0:
                    inset = r - (max(0.0, r * r - d * d)) ** 0.5
                yield y, x0 + inset, x1 - inset
        elif kind == "ellipse":
            cx, cy, rx, ry = (v * unit for v in g)
            for y in range(max(0, math_ceil(cy - ry - 0.5)), min(n, math_ceil(cy + ry - 0.5))):
                t = (y + 0.5 - cy) / ry
                if t * t < 1:
                    half = rx * (1 - t * t) ** 0.5
                    yield y, cx - half, cx + half
        else:
            pts = [(x * unit, y * unit) for x, y in g]
            ys = [p[1] for p in pts]
            for y in range(max(0, math_ceil(min(ys) - 0.5)), min(n, math_ceil(max(ys) - 0.5))):
                cy = y + 0.5
                crossings = sorted(ax + (cy - ay) * (bx - ax) / (by - ay)
                                   for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1])
                                   if (ay <= cy < by) or (by <= cy < ay))
                for left, right in zip(crossings[0::2], crossings[1::2]):
                    yield y, left, right


def math_ceil(value):
    whole = int(value)
    return whole + 1 if value > whole else whole


def draw_diagram(shapes, box, size, detail):
    """The small diagram of both icons, fitted into `box` (x0, y0, x1, y1 in
    design units): a unit above a hub and a device, one arrow to each."""
    bx0, by0, bx1, by1 = box
    k = (bx1 - bx0) / 160.0

    def at(x, y):
        return bx0 + x * k, by0 + y * k

    line = max(5 * k, DESIGN / size)
    # At the smallest size a frame would leave hardly any colour inside.
    frame = max(4 * k, DESIGN / size) if size >= 32 else 0
    ux0, uy0 = at(40, 0)
    ux1, uy1 = at(120, 52)
    shapes.framed_rect(ux0, uy0, ux1, uy1, frame, UNIT_DARK, UNIT, 10 * k)
    hx, hy = at(34, 140)
    shapes.framed_ellipse(hx, hy, 32 * k, 24 * k, frame, HUB_DARK, HUB)
    dx0, dy0 = at(98, 112)
    dx1, dy1 = at(158, 166)
    shapes.framed_rect(dx0, dy0, dx1, dy1, frame, DEVICE_DARK, DEVICE)
    if detail:
        cx, cy = (dx0 + dx1) / 2, (dy0 + dy1) / 2
        shapes.framed_ellipse(cx, cy, 17 * k, 17 * k, 3 * k, DEVICE_DARK, DIAL)
        shapes.rect(cx - 1.5 * k, cy - 13 * k, cx + 1.5 * k, cy, DEVICE_DARK)
    head = max(20 * k, (3 if size >= 32 else 2.5) * line)
    shapes.arrow(at(72, 52), (hx, hy - 24 * k - line / 2), line, head, head * 0.55, WIRE)
    shapes.arrow(at(88, 52), ((dx0 + dx1) / 2, dy0 - line / 2), line, head, head * 0.55, WIRE)


def app_icon(size):
    shapes = Shapes(size)
    frame = max(6, DESIGN / size)
    shapes.framed_rect(24, 8, 232, 248, frame, INK, PAPER, 14)
    if size >= 48:
        for y in range(40, 240, 32):
            for x in range(48, 232, 32):
                shapes.rect(x - 3, y - 3, x + 3, y + 3, DOT)
    draw_diagram(shapes, (44, 40, 212, 40 + 168 * 166 / 160), size, size >= 64)
    return shapes


def mime_icon(size):
    shapes = Shapes(size)
    frame = max(6, DESIGN / size)
    left, top, right, bottom, fold = 40, 8, 216, 248, 56

    def sheet(d):
        """The sheet's outline moved inwards by d."""
        slant = d * (2 ** 0.5 - 1)
        return [(left + d, top + d), (right - fold - slant, top + d),
                (right - d, top + fold + slant), (right - d, bottom - d), (left + d, bottom - d)]

    shapes.polygon(sheet(0), INK)
    shapes.polygon(sheet(frame), PAPER)
    shapes.polygon([(right - fold, top), (right - fold, top + fold), (right, top + fold)], INK)
    shapes.polygon([(right - fold + frame, top + frame * 2.414),
                    (right - fold + frame, top + fold - frame),
                    (right - frame * 2.414, top + fold - frame)], FOLD)
    draw_diagram(shapes, (56, 88, 200, 88 + 144 * 166 / 160), size, size >= 64)
    return shapes


def build_desktop_icons():
    for name, draw, folder, title in (
            (DESKTOP_APP_ID, app_icon, "apps", "Tresselby Diagram Tool"),
            (DESKTOP_MIME_ICON, mime_icon, "mimetypes", "Tresselby diagram")):
        write_file("desktop/hicolor/scalable/%s/%s.svg" % (folder, name), draw(DESIGN).svg(title))
        for size in DESKTOP_SIZES:
            write_file("desktop/hicolor/%dx%d/%s/%s.png" % (size, size, folder, name),
                       draw(size).png(size))


def main():
    build_icons()
    build_cursors()
    build_preview_glyphs()
    build_picture()
    build_logo()
    build_desktop_icons()
    return 0


if __name__ == "__main__":
    sys.exit(main())
