#!/usr/bin/python3
"""Checks the committed artwork in ui/res/ has the formats the two programs load.

Usage: /usr/bin/python3 tools/artwork/check_artwork.py [--remake] [RES_DIR]

Reads the files with struct alone (no PIL). With --remake it also draws everything again into a
temporary folder and requires the same bytes, which catches artwork left stale after a change
to its sources. Prints one line a fault and exits 1 if there is any.
"""
import filecmp
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
POSTER_SIZES = {139: (253, 354), 140: (254, 354), 141: (254, 355), 142: (254, 355), 143: (253, 354),
                144: (254, 354), 145: (254, 354), 146: (253, 354), 147: (254, 354), 148: (255, 354),
                149: (254, 355), 150: (251, 354), 151: (255, 353), 152: (255, 353), 153: (253, 355),
                154: (254, 354)}
faults = []


def expect(ok, message):
    if not ok:
        faults.append(message)
    return ok


def read_icon(path, size, bits):
    """(pixels as rows of RGB, opaque flags as rows of bool) of a one-image BMP icon."""
    data = open(path, "rb").read()
    name = os.path.basename(path)
    reserved, kind, count = struct.unpack_from("<HHH", data)
    w, h, colours, _, planes, bit_count, length, offset = struct.unpack_from("<BBBBHHII", data, 6)
    if not expect((reserved, kind, count) == (0, 1, 1), f"{name}: not a one-image icon"):
        return None, None, None
    expect((w, h, bit_count) == (size, size, bits),
           f"{name}: directory says {w}x{h} {bit_count} bit")
    expect(colours == (16 if bits == 4 else 0), f"{name}: colour count {colours}")
    expect(offset + length == len(data), f"{name}: image size or offset is wrong")
    hdr, bw, bh, bplanes, bbits, compression = struct.unpack_from("<IiiHHI", data, offset)
    if not expect((hdr, bw, bh, bplanes, bbits, compression) == (40, size, 2 * size, 1, bits, 0),
                  f"{name}: BITMAPINFOHEADER {hdr} {bw}x{bh} planes {bplanes} {bbits} bit "
                  f"compression {compression}"):
        return None, None, None
    palette = []
    at = offset + 40
    if bits == 4:
        palette = [struct.unpack_from("<BBB", data, at + 4 * i)[::-1] for i in range(16)]
        at += 64
    xor_stride = (size * bits + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    and_at = at + xor_stride * size
    expect(and_at + and_stride * size == len(data), f"{name}: XOR and AND data have the wrong size")
    pixels, opaque = [], []
    for y in range(size):  # rows are stored bottom-up
        row_at, mask_at = at + (size - 1 - y) * xor_stride, and_at + (size - 1 - y) * and_stride
        if bits == 24:
            pixels.append([tuple(data[row_at + 3 * x:row_at + 3 * x + 3][::-1])
                           for x in range(size)])
        else:
            pixels.append([palette[data[row_at + x // 2] >> (0 if x % 2 else 4) & 15]
                           for x in range(size)])
        opaque.append([not data[mask_at + x // 8] & 0x80 >> x % 8 for x in range(size)])
    return pixels, opaque, palette


def check_icons(res):
    pixels, opaque, _ = read_icon(os.path.join(res, "app.ico"), 48, 24)
    if pixels:
        expect(all(all(row) for row in opaque), "app.ico: AND mask is not all opaque")
        expect(len({p for row in pixels for p in row}) > 3, "app.ico: picture is nearly blank")
    for name, size, bits, colour in (("tick.ico", 48, 24, (0, 255, 0)),
                                     ("cross.ico", 32, 4, (255, 0, 0))):
        pixels, opaque, palette = read_icon(os.path.join(res, name), size, bits)
        if not pixels:
            continue
        shown = [pixels[y][x] for y in range(size) for x in range(size) if opaque[y][x]]
        expect(0.1 * size * size < len(shown) < 0.6 * size * size,
               f"{name}: {len(shown)} opaque pixels, want a mark with transparency around it")
        expect(all(p == colour for p in shown), f"{name}: an opaque pixel is not pure {colour}")
        if bits == 4:
            expect(colour in palette, f"{name}: palette lacks {colour}")
    for size in (16, 24, 32, 48, 64, 128, 256):
        name = f"icons/zembra-{size}.png"
        data = open(os.path.join(res, name), "rb").read(33)
        w, h, depth, colour_type = struct.unpack(">IIBB", data[16:26])
        expect(data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", f"{name}: not a PNG")
        expect((w, h, depth, colour_type) == (size, size, 8, 6),
               f"{name}: {w}x{h}, not {size} px RGBA")
    root = ElementTree.parse(os.path.join(res, "icons", "zembra.svg")).getroot()
    expect(root.tag == "{http://www.w3.org/2000/svg}svg", "icons/zembra.svg: not an SVG document")


def png_header(path):
    """(width, height, bit depth, colour type) of a PNG file, or None when it is not one."""
    data = open(path, "rb").read(33)
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">IIBB", data[16:26])


def check_double_size(res):
    """The pictures drawn twice as large: RGBA marks, RGB posters, each twice its plain size."""
    wanted = {"tick.png": (96, 96, 8, 6), "cross.png": (64, 64, 8, 6)}
    for bitmap, (width, height) in POSTER_SIZES.items():
        wanted[f"poster_{bitmap}.png"] = (2 * width, 2 * height, 8, 2)
    for name, header in wanted.items():
        found = png_header(os.path.join(res, "2x", name))
        expect(found == header, f"2x/{name}: {found}, want PNG {header[0]}x{header[1]} "
               + ("RGBA" if header[3] == 6 else "RGB"))


def check_posters(res):
    looks = {}
    for bitmap, (width, height) in POSTER_SIZES.items():
        name = f"poster_{bitmap}.bmp"
        data = open(os.path.join(res, name), "rb").read()
        magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data)
        hdr, w, h, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
        stride = (w * 3 + 3) // 4 * 4
        if not (expect(magic == b"BM" and file_size == len(data), f"{name}: bad file header")
                and expect((hdr, planes, bits, compression) == (40, 1, 24, 0),
                           f"{name}: not a 24-bit BI_RGB bitmap")
                and expect((w, h) == (width, height), f"{name}: {w}x{h}, want {width}x{height}"
                           + (" bottom-up" if h < 0 else ""))
                and expect(offset + stride * h <= len(data), f"{name}: pixel data cut short")):
            continue
        pixels = [data[offset + y * stride + 3 * x:offset + y * stride + 3 * x + 3]
                  for y in range(0, h, 2) for x in range(0, w, 2)]
        counts = {}
        for p in pixels:
            counts[p] = counts.get(p, 0) + 1
        expect(len(counts) >= 200 and max(counts.values()) < 0.4 * len(pixels),
               f"{name}: too few colours for a picture")
        # A coarse 8 x 8 average of the picture panel, to compare posters with each other.
        look = []
        for by in range(1, 9):
            for bx in range(1, 9):
                block = [data[offset + y * stride + 3 * x + c]
                         for y in range(h * by // 10, h * (by + 1) // 10, 3)
                         for x in range(w * bx // 10, w * (bx + 1) // 10, 3) for c in range(3)]
                look.append(sum(block) / len(block))
        looks[bitmap] = look
    ids = sorted(looks)
    for i, a in enumerate(ids):
        for b in ids[i + 1:]:
            distance = sum(abs(p - q) for p, q in zip(looks[a], looks[b])) / len(looks[a])
            expect(distance > 8, f"poster_{a}.bmp and poster_{b}.bmp look alike")


def check_remake(res):
    with tempfile.TemporaryDirectory() as fresh:
        subprocess.run([sys.executable, os.path.join(HERE, "make_artwork.py"), fresh], check=True)
        for folder, _, files in os.walk(fresh):
            for file in files:
                made = os.path.join(folder, file)
                name = os.path.relpath(made, fresh)
                expect(filecmp.cmp(made, os.path.join(res, name), shallow=False),
                       f"{name}: differs from what make_artwork.py draws now")


def main(args):
    remake = "--remake" in args
    args = [a for a in args if a != "--remake"]
    res = args[0] if args else os.path.join(HERE, "..", "..", "ui", "res")
    for check in (check_icons, check_posters, check_double_size) + ((check_remake,) if remake else ()):
        try:
            check(res)
        except (OSError, struct.error, ElementTree.ParseError) as error:
            faults.append(f"{check.__name__}: {error}")
    for fault in faults:
        print(f"FAULT {fault}")
    print(f"{len(faults)} faults" if faults else "artwork OK")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
