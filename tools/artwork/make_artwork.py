#!/usr/bin/python3
"""Draws all of the program's artwork into ui/res/ from the sources in ui/res/src/.

Usage: /usr/bin/python3 tools/artwork/make_artwork.py [OUTPUT_DIR]

Writes app.ico, tick.ico, cross.ico, poster_139.bmp ... poster_154.bmp, icons/zembra-N.png and
icons/zembra.svg (OUTPUT_DIR defaults to ui/res), and in 2x/ the marks and the posters drawn twice
as large as PNG files (2x/tick.png, 2x/cross.png, 2x/poster_N.png), which the Linux program shows
on screens scaled above 100 %. Needs Debian's python3-pil, fonts-dejavu-core
and fonts-wqy-microhei; the same inputs give the same bytes.
"""
import json
import os
import re
import sys

from PIL import Image, ImageDraw

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bitmaps  # noqa: E402
import vector  # noqa: E402
from pen import Pen, font  # noqa: E402
from scenes import SCENES  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SOURCES = os.path.join(ROOT, "ui", "res", "src")
DESKTOP_SIZES = (16, 24, 32, 48, 64, 128, 256)
DOUBLE = "2x"  # the folder of the pictures drawn twice as large

# The 16-colour icon palette: the classic Windows one, so the cross's red is index 9.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# Poster layout in pixels of a 254 x 354 poster, scaled to each poster's own size.
MARGIN, PANEL_BOTTOM, BAND_TOP = 8, 250, 258
TWO_LINE_LIMIT = 21  # the largest English size of which two lines and the Chinese fit the band


def load(name):
    with open(os.path.join(SOURCES, name), encoding="utf-8") as f:
        return json.load(f)


def poster_sizes():
    """{bitmap id: (width, height)} from the program's own poster table."""
    with open(os.path.join(ROOT, "ui", "poster.h"), encoding="utf-8") as f:
        text = f.read()
    table = text[text.index("kPosterOrder"):]
    rows = re.findall(r"\{\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\s*\}", table)
    return {int(bitmap): (int(w), int(h)) for _, bitmap, w, h in rows}


def fit_lines(draw, text, face, max_width, sizes):
    """The largest size (and the lines) at which text fits max_width, on one line if it can,
    else broken into two."""
    def one_line():
        for size in sizes:
            if draw.textlength(text, font=font(face, size)) <= max_width:
                return size, [text]
        return 0, None

    def two_lines():
        words = text.split(" ")
        for size in sizes:
            if size > TWO_LINE_LIMIT:
                continue
            f = font(face, size)
            for cut in sorted(range(1, len(words)), key=lambda i: abs(2 * i - len(words))):
                lines = [" ".join(words[:cut]), " ".join(words[cut:])]
                if all(draw.textlength(line, font=f) <= max_width for line in lines):
                    return size, lines
        return 0, None

    # Two lines only when one would make the words much smaller.
    size, lines = one_line()
    if size < TWO_LINE_LIMIT - 2:
        two = two_lines()
        if two[0] > size:
            size, lines = two
    if not lines:
        raise ValueError(f"caption does not fit: {text!r}")
    return font(face, size), lines


def darker(colour, k=0.55):
    return tuple(round(c * k) for c in colour)


def poster(entry, size, scale=1):
    """A poster of the given pixel size; with scale 2, the same poster drawn twice as large for
    screens scaled above 100 %: the layout (panel, band, caption lines and sizes) is the one of
    the plain size, every length multiplied."""
    width, height = size
    sx, sy = width / 254, height / 354
    image = Image.new("RGB", (width * scale, height * scale), tuple(entry["frame"]))
    draw = ImageDraw.Draw(image)
    # A lighter inner edge makes the frame read as a printed border.
    edge = tuple(min(255, c + 60) for c in entry["frame"])
    draw.rectangle([3 * scale, 3 * scale, (width - 3) * scale - 1, (height - 3) * scale - 1],
                   outline=edge, width=scale)
    # Picture panel with rounded corners.
    box = tuple(scale * v for v in (round(MARGIN * sx), round(MARGIN * sy),
                                    round((254 - MARGIN) * sx), round(PANEL_BOTTOM * sy)))
    pen = Pen(box[2] - box[0], box[3] - box[1])
    SCENES[entry["scene"]](pen)
    panel = pen.finish()
    mask = Image.new("L", (panel.width * 4, panel.height * 4), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, mask.width - 1, mask.height - 1],
                                           radius=40 * scale, fill=255)
    image.paste(panel, box[:2], mask.resize(panel.size, Image.BOX))
    # Caption band: English, and the Chinese beneath it; lines and sizes chosen at the plain size.
    plain = [round(MARGIN * sx), round(BAND_TOP * sy), round((254 - MARGIN) * sx),
             round((354 - MARGIN) * sy)]
    band = [plain[0] * scale, plain[1] * scale, plain[2] * scale - 1, plain[3] * scale - 1]
    draw.rounded_rectangle(band, radius=10 * scale, fill=(255, 253, 245))
    inner = plain[2] - plain[0] - 1 - 16
    english, lines = fit_lines(draw, entry["english"], "en", inner, range(30, 13, -1))
    chinese, _ = fit_lines(draw, entry["chinese"], "zh", inner, range(24, 13, -1))
    if scale != 1:
        english, chinese = font("en", english.size * scale), font("zh", chinese.size * scale)
    line_h = english.size * 1.2
    block = line_h * len(lines) + chinese.size * 1.25
    y = (band[1] + band[3]) / 2 - block / 2
    cx = (band[0] + band[2]) / 2
    for line in lines:
        draw.text((cx, y + line_h / 2), line, font=english, fill=darker(entry["frame"]),
                  anchor="mm")
        y += line_h
    draw.text((cx, y + chinese.size * 0.65), entry["chinese"], font=chinese, fill=(70, 64, 72),
              anchor="mm")
    # A drawing pin at the top.
    pin_x, pin_y = width // 2 * scale, round(6 * sy) * scale
    r, k = 6 * scale, scale
    draw.ellipse([pin_x - r, pin_y - r, pin_x + r, pin_y + r], fill=(220, 50, 60),
                 outline=(150, 30, 40), width=k)
    draw.ellipse([pin_x - 3 * k, pin_y - 4 * k, pin_x, pin_y - k], fill=(255, 160, 160))
    return image


def save_png(image, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, optimize=True)


def double_mark(drawing):
    """The mark drawn twice as large, transparent around it, as RGBA."""
    image, opaque = vector.mark(drawing, scale=2)
    alpha = Image.new("L", image.size, 0)
    alpha.putdata([255 if o else 0 for row in opaque for o in row])
    image = image.convert("RGBA")
    image.putalpha(alpha)
    return image


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main(out):
    icon = load("app_icon.json")
    app = vector.render(icon, 48).convert("RGB")
    write(os.path.join(out, "app.ico"), bitmaps.ico24(app, [[True] * 48 for _ in range(48)]))
    for size in DESKTOP_SIZES:
        image = vector.render(icon, size)
        save_png(image, os.path.join(out, "icons", f"zembra-{size}.png"))
    write(os.path.join(out, "icons", "zembra.svg"), vector.svg(icon).encode("ascii"))

    marks = load("marks.json")
    tick, opaque = vector.mark(marks["tick"])
    write(os.path.join(out, "tick.ico"), bitmaps.ico24(tick, opaque))
    cross, opaque = vector.mark(marks["cross"])
    red = PALETTE16.index(tuple(marks["cross"]["colour"]))
    indices = [[red if o else 0 for o in row] for row in opaque]
    write(os.path.join(out, "cross.ico"), bitmaps.ico4(indices, PALETTE16, opaque))
    for name in ("tick", "cross"):
        save_png(double_mark(marks[name]), os.path.join(out, DOUBLE, f"{name}.png"))

    sizes = poster_sizes()
    entries = load("posters.json")["posters"]
    if sorted(e["id"] for e in entries) != sorted(sizes):
        sys.exit("posters.json and ui/poster.h name different posters")
    for entry in entries:
        image = poster(entry, sizes[entry["id"]])
        write(os.path.join(out, f"poster_{entry['id']}.bmp"), bitmaps.bmp24(image))
        save_png(poster(entry, sizes[entry["id"]], 2), os.path.join(out, DOUBLE, f"poster_{entry['id']}.png"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "ui", "res"))
