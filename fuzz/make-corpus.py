#!/usr/bin/env python3
"""Writes the seed files of the bmp, ico and paste fuzz targets into
corpus/<target>/: small files of each layout the decoders and the paste know.
The jpeg seeds are kept as they are: the editor's default picture, and small
grayscale, progressive and optimised files that Qt's JPEG writer made.

Usage: make-corpus.py   (from anywhere; writes next to this script)"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- BMP -------------------------------------------------------------------

def info_header(width, height, bits, compression=0, image_size=0, colours=0, size=40):
    return struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, image_size,
                       2835, 2835, colours, 0)


def bmp(dib, palette, pixels):
    offset = 14 + len(dib) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + dib + palette + pixels


def rows(width, height, bytes_per_pixel, value):
    stride = (width * bytes_per_pixel + 3) & ~3
    out = b""
    for y in range(height):
        row = b"".join(value(x, y) for x in range(width))
        out += row + b"\0" * (stride - len(row))
    return out


def grey_palette(n, quad=True):
    step = 255 // max(1, n - 1)
    return b"".join(bytes([i * step] * 3) + (b"\0" if quad else b"") for i in range(n))


def bmp_seeds():
    write("bmp", "rgb24.bmp", bmp(info_header(4, 3, 24), b"",
                                  rows(4, 3, 3, lambda x, y: bytes([x * 60, y * 80, 200]))))
    pal = grey_palette(2)
    write("bmp", "mono-top-down.bmp",
          bmp(info_header(9, -2, 1, colours=2), pal, b"\xAA\x80\0\0\x55\x00\0\0"))
    # RLE8: a run, an absolute run, end of line, a delta, end of bitmap.
    rle8 = b"\x03\x01" + b"\x00\x03\x02\x03\x04\x00" + b"\x00\x00" + b"\x00\x02\x01\x00" + \
        b"\x02\x05" + b"\x00\x01"
    write("bmp", "rle8.bmp", bmp(info_header(6, 3, 8, 1, len(rle8), 6), grey_palette(6), rle8))
    rle4 = b"\x05\x12" + b"\x00\x00" + b"\x00\x04\x34\x56" + b"\x00\x01"
    write("bmp", "rle4.bmp", bmp(info_header(5, 2, 4, 2, len(rle4), 7), grey_palette(7), rle4))
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    write("bmp", "rgb565.bmp", bmp(info_header(3, 2, 16, 3), masks,
                                   rows(3, 2, 2, lambda x, y: struct.pack("<H", 0xF81F >> x))))
    v4 = struct.pack("<IiiHHIIiiIIIIII", 108, 2, 2, 1, 32, 3, 16, 2835, 2835, 0, 0,
                     0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000) + b"sRGB" + b"\0" * 48
    write("bmp", "argb-v4.bmp", bmp(v4, b"", rows(2, 2, 4, lambda x, y: bytes([10, 20, 30, 64 * (x + y)]))))
    v5 = info_header(2, 1, 32, size=124) + b"\0" * (124 - 40)
    write("bmp", "rgb32-v5.bmp", bmp(v5, b"", b"\x01\x02\x03\x00\x04\x05\x06\x00"))
    core = struct.pack("<IHHHH", 12, 3, 2, 1, 8)
    write("bmp", "core-8bit.bmp", bmp(core, grey_palette(3, quad=False), b"\x00\x01\x02\0\x02\x01\x00\0"))


# --- ICO -------------------------------------------------------------------

def png(width, height):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + b"".join(bytes([x * 50, y * 50, 100, 128 + x]) for x in range(width))
                   for y in range(height))
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) + \
        chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for width, height, colours, bits, data in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bits, len(data),
                           offset + len(body))
        body += data
    return out + body


def dib_icon(width, height, bits, palette, xor_rows):
    mask_stride = ((width + 31) // 32) * 4
    mask = b"\x00" * mask_stride * height
    return info_header(width, height * 2, bits, colours=len(palette) // 4) + palette + xor_rows + mask


def ico_seeds():
    argb = dib_icon(2, 2, 32, b"", rows(2, 2, 4, lambda x, y: bytes([200, 100 * x, 50 * y, 255])))
    write("ico", "argb.ico", ico([(2, 2, 0, 32, argb)]))
    # Two pixels a byte, eight bytes a row: rows need no padding.
    four = dib_icon(16, 16, 4, grey_palette(16),
                    b"".join(bytes([(x * 16 + y) % 256 for x in range(8)]) for y in range(16)))
    write("ico", "four-bit.ico", ico([(16, 16, 16, 4, four)]))
    write("ico", "png.ico", ico([(3, 2, 0, 32, png(3, 2))]))
    both = ico([(2, 2, 0, 32, argb), (3, 2, 0, 32, png(3, 2))])
    write("ico", "two-images.ico", both)
    write("ico", "counted.ico", struct.pack("<I", len(both)) + both)


# --- Paste -----------------------------------------------------------------

def clipboard_form(file_bytes):
    # The file form's work-area record has an empty name; the clipboard form
    # is "TPF0" and the record under the work area's own name.
    name_at = 1 + file_bytes[0]
    assert file_bytes[name_at] == 0
    return b"TPF0" + file_bytes[:name_at] + b"\x0aScrollBox1" + file_bytes[name_at + 1:]


def paste_seeds():
    reader = os.path.join(HERE, "corpus", "reader")
    with open(os.path.join(reader, "clipboard.tsb"), "rb") as f:
        write("paste", "clipboard.blk", f.read())
    for name in ("every-class", "worked-example", "caption-only"):
        with open(os.path.join(reader, name + ".tsb"), "rb") as f:
            write("paste", name + ".blk", clipboard_form(f.read()))


bmp_seeds()
ico_seeds()
paste_seeds()
