#!/usr/bin/python3
"""Tests of the artwork tools themselves: the file writers read back by an independent reader
(PIL), the icon drawing's pixel edges, the caption fitting and the poster table.

Usage: /usr/bin/python3 tools/artwork/test_artwork.py
"""
import io
import os
import sys
import unittest

from PIL import Image, ImageDraw

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bitmaps  # noqa: E402
import make_artwork  # noqa: E402
import vector  # noqa: E402
from check_artwork import POSTER_SIZES  # noqa: E402
from scenes import SCENES  # noqa: E402


def pattern(width, height):
    """An image whose every pixel differs from its neighbours, so a shifted row shows."""
    image = Image.new("RGB", (width, height))
    image.putdata([(x * 7 % 256, y * 13 % 256, (x + y) * 29 % 256)
                   for y in range(height) for x in range(width)])
    return image


class BitmapWriters(unittest.TestCase):
    def test_bmp_rows_and_padding_for_every_width_remainder(self):
        for width in (1, 2, 3, 4, 251, 253, 254, 255):
            with self.subTest(width=width):
                image = pattern(width, 5)
                data = bitmaps.bmp24(image)
                self.assertEqual(int.from_bytes(data[2:6], "little"), len(data))
                back = Image.open(io.BytesIO(data))
                self.assertEqual(back.mode, "RGB")
                self.assertEqual(list(back.getdata()), list(image.getdata()))

    def test_icons_keep_pixels_and_mask(self):
        for size in (20, 32, 48):  # 20: a mask row that is not a whole 32 bits
            with self.subTest(size=size):
                opaque = [[(x + 2 * y) % 3 != 0 for x in range(size)] for y in range(size)]
                image = pattern(size, size)
                back = Image.open(io.BytesIO(bitmaps.ico24(image, opaque))).convert("RGBA")
                for y in range(size):
                    for x in range(size):
                        r, g, b, a = back.getpixel((x, y))
                        self.assertEqual(a, 255 if opaque[y][x] else 0, (x, y))
                        if opaque[y][x]:
                            self.assertEqual((r, g, b), image.getpixel((x, y)), (x, y))

    def test_sixteen_colour_icon_uses_its_palette(self):
        palette = make_artwork.PALETTE16
        indices = [[(x + y) % 16 for x in range(32)] for y in range(32)]
        opaque = [[x < 30 for x in range(32)] for _ in range(32)]
        back = Image.open(io.BytesIO(bitmaps.ico4(indices, palette, opaque))).convert("RGBA")
        for y in range(32):
            for x in range(32):
                expected = palette[indices[y][x]] + (255,) if x < 30 else 0
                actual = back.getpixel((x, y))
                self.assertEqual(actual if x < 30 else actual[3], expected, (x, y))


class IconDrawing(unittest.TestCase):
    ICON = {"grid": 48, "shapes": [
        {"kind": "rect", "box": [0, 0, 48, 48], "colour": "#ffffff"},
        {"kind": "rect", "box": [10, 12, 14, 20], "colour": "#ff0000"}]}

    def test_grid_edges_fall_on_pixel_edges(self):
        for size, k in ((48, 1), (96, 2)):
            image = vector.render(self.ICON, size)
            red = {(x, y) for x in range(size) for y in range(size)
                   if image.getpixel((x, y)) == (255, 0, 0, 255)}
            inside = {(x, y) for x in range(10 * k, 14 * k) for y in range(12 * k, 20 * k)}
            self.assertEqual(red, inside)
            self.assertEqual(image.getpixel((14 * k, 12 * k)), (255, 255, 255, 255))

    def test_app_icon_is_one_drawing_at_every_size(self):
        icon = make_artwork.load("app_icon.json")
        big = vector.render(icon, 256).resize((48, 48), Image.BOX)
        small = vector.render(icon, 48)
        worst = max(abs(p - q) for a, b in zip(big.getdata(), small.getdata()) for p, q in zip(a, b))
        self.assertLess(worst, 40)
        self.assertEqual(vector.svg(icon).count("<rect") + vector.svg(icon).count("<path"),
                         len(icon["shapes"]))

    def test_double_size_marks_are_the_same_marks(self):
        marks = make_artwork.load("marks.json")
        for name in ("tick", "cross"):
            with self.subTest(name):
                _, plain = vector.mark(marks[name])
                double = make_artwork.double_mark(marks[name])
                self.assertEqual(double.size, (2 * len(plain), 2 * len(plain)))
                colours = {p[:3] for p in double.getdata() if p[3] == 255}
                self.assertEqual(colours, {tuple(marks[name]["colour"])})
                self.assertEqual({p[3] for p in double.getdata()}, {0, 255})
                # Shrunk back, it covers the plain mark's pixels but for a few on the edges.
                shrunk = double.getchannel("A").resize((len(plain), len(plain)), Image.BOX)
                differ = sum((shrunk.getpixel((x, y)) >= 128) != plain[y][x]
                             for y in range(len(plain)) for x in range(len(plain)))
                self.assertLess(differ, len(plain) // 8)

    def test_mark_pixels_are_opaque_where_mostly_covered(self):
        # Column 5 is covered 60 %, row 4 only 40 %.
        drawing = {"size": 8, "colour": [0, 255, 0],
                "polygons": [[[2, 2], [5.6, 2], [5.6, 4.4], [2, 4.4]]]}
        image, opaque = vector.mark(drawing)
        shown = {(x, y) for y in range(8) for x in range(8) if opaque[y][x]}
        self.assertEqual(shown, {(x, y) for x in range(2, 6) for y in range(2, 4)})
        self.assertEqual(image.getpixel((5, 3)), (0, 255, 0))
        self.assertEqual(image.getpixel((6, 3)), (0, 0, 0))


class Posters(unittest.TestCase):
    def setUp(self):
        self.draw = ImageDraw.Draw(Image.new("RGB", (10, 10)))

    def test_captions_take_one_line_unless_it_would_be_much_smaller(self):
        cases = [("Welcome!", 1), ("Practice makes perfect.", 2), ("I love my family.", 1)]
        for text, lines in cases:
            with self.subTest(text=text):
                f, got = make_artwork.fit_lines(self.draw, text, "en", 222, range(30, 13, -1))
                self.assertEqual(len(got), lines)
                self.assertEqual(" ".join(got), text)
                self.assertTrue(all(self.draw.textlength(line, font=f) <= 222 for line in got))

    def test_a_caption_too_long_for_two_lines_is_refused(self):
        with self.assertRaises(ValueError):
            make_artwork.fit_lines(self.draw, "An apple a day keeps the doctor away, they say.",
                                   "en", 100, range(21, 13, -1))

    def test_double_size_poster_is_the_same_picture(self):
        entry = next(e for e in make_artwork.load("posters.json")["posters"] if e["id"] == 147)
        size = POSTER_SIZES[147]
        plain = make_artwork.poster(entry, size)
        double = make_artwork.poster(entry, size, 2)
        self.assertEqual(double.size, (2 * size[0], 2 * size[1]))
        shrunk = double.resize(size, Image.BOX)
        difference = sum(abs(p - q) for a, b in zip(plain.getdata(), shrunk.getdata())
                         for p, q in zip(a, b)) / (3 * size[0] * size[1])
        self.assertLess(difference, 4)

    def test_poster_table_matches_the_program_and_each_scene_is_used_once(self):
        self.assertEqual(make_artwork.poster_sizes(), POSTER_SIZES)
        entries = make_artwork.load("posters.json")["posters"]
        self.assertEqual(sorted(e["scene"] for e in entries), sorted(SCENES))
        self.assertEqual(next(e["scene"] for e in entries if e["id"] == 154), "welcome")


if __name__ == "__main__":
    unittest.main()
