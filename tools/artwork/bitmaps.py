"""Writers for the two classic Windows picture files the program loads: a 24-bit BI_RGB .bmp and
a single-image .ico holding a BMP (not PNG) image with its AND mask.

Both are written by hand because the resource compiler and the Qt program need these exact
layouts (bit depth, palette, mask) and PIL's own writers choose their own.
"""
import struct

BI_RGB = 0
PIXELS_PER_METRE = 2835  # 72 dpi, what paint programs put in


def _rows_bottom_up(image):
    """The image's BGR rows from the bottom row up, each padded to a multiple of 4 bytes."""
    width, height = image.size
    raw = image.convert("RGB").tobytes("raw", "BGR")
    stride = width * 3
    pad = b"\0" * (-stride % 4)
    return b"".join(raw[y * stride:(y + 1) * stride] + pad for y in reversed(range(height)))


def bmp24(image):
    """A 24-bit uncompressed bottom-up BMP of an RGB image."""
    width, height = image.size
    pixels = _rows_bottom_up(image)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, BI_RGB, len(pixels),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + pixels


def _and_mask(opaque, width, height):
    """1 bit a pixel, set where the pixel is transparent; rows bottom-up, padded to 32 bits."""
    row_bytes = (width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(row_bytes)
        for x in range(width):
            if not opaque[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _icon_file(width, height, bit_count, colour_count, palette, xor, mask):
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bit_count, BI_RGB,
                       len(xor) + len(mask), 0, 0, colour_count, 0)
    image = info + palette + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, colour_count % 256, 0, 1,
                        bit_count, len(image), 6 + 16)
    return header + entry + image


def ico24(image, opaque):
    """A one-image icon, 24 bits a pixel. Transparent pixels are stored black, as Windows expects
    for the XOR image under a set mask bit."""
    width, height = image.size
    rgb = image.convert("RGB")
    shown = rgb.copy()
    for y in range(height):
        for x in range(width):
            if not opaque[y][x]:
                shown.putpixel((x, y), (0, 0, 0))
    return _icon_file(width, height, 24, 0, b"", _rows_bottom_up(shown),
                      _and_mask(opaque, width, height))


def ico4(indices, palette, opaque):
    """A one-image icon, 16 colours: indices is rows of palette indices, palette 16 RGB triples."""
    assert len(palette) == 16
    height, width = len(indices), len(indices[0])
    row_bytes = (width * 4 + 31) // 32 * 4
    xor = bytearray()
    for y in reversed(range(height)):
        row = bytearray(row_bytes)
        for x in range(width):
            index = indices[y][x] if opaque[y][x] else 0
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor += row
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return _icon_file(width, height, 4, 16, quads, bytes(xor), _and_mask(opaque, width, height))
