"""Drawing on a poster's picture panel.

Scenes are written in panel units: the panel is PANEL_W x PANEL_H units whatever the poster's
pixel size (the sixteen sizes differ by a few pixels), and shapes are drawn four times larger
and averaged down so their edges are smooth. Text is queued and drawn at the final size, where
FreeType's own smoothing keeps it sharp.
"""
import math

from PIL import Image, ImageDraw, ImageFont

PANEL_W, PANEL_H = 238, 242
SUPERSAMPLE = 4
ENGLISH_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
CHINESE_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"


def font(name, size):
    return ImageFont.truetype(CHINESE_FONT if name == "zh" else ENGLISH_FONT, size)


class Pen:
    def __init__(self, width, height):
        """A panel of width x height final pixels."""
        self.size = (width, height)
        self.image = Image.new("RGB", (width * SUPERSAMPLE, height * SUPERSAMPLE), "white")
        self.draw = ImageDraw.Draw(self.image)
        self.sx = width * SUPERSAMPLE / PANEL_W
        self.sy = height * SUPERSAMPLE / PANEL_H
        self.texts = []

    # Conversions from panel units to canvas pixels.
    def _pt(self, x, y):
        return (x * self.sx, y * self.sy)

    def _pts(self, points):
        return [self._pt(x, y) for x, y in points]

    def _w(self, width):
        return max(1, round(width * self.sx))

    def _box(self, x0, y0, x1, y1):
        return [x0 * self.sx, y0 * self.sy, x1 * self.sx, y1 * self.sy]

    # Shapes.
    def rect(self, x0, y0, x1, y1, fill, outline=None, width=1):
        self.draw.rectangle(self._box(x0, y0, x1, y1), fill=fill, outline=outline,
                            width=self._w(width))

    def rounded(self, x0, y0, x1, y1, radius, fill, outline=None, width=1):
        self.draw.rounded_rectangle(self._box(x0, y0, x1, y1), radius=round(radius * self.sx),
                                    fill=fill, outline=outline, width=self._w(width))

    def ellipse(self, cx, cy, rx, ry, fill, outline=None, width=1, angle=0):
        if angle:
            self.polygon(ellipse_points(cx, cy, rx, ry, angle), fill, outline, width)
        else:
            self.draw.ellipse(self._box(cx - rx, cy - ry, cx + rx, cy + ry), fill=fill,
                              outline=outline, width=self._w(width))

    def circle(self, cx, cy, r, fill, outline=None, width=1):
        self.ellipse(cx, cy, r, r, fill, outline, width)

    def polygon(self, points, fill, outline=None, width=1):
        self.draw.polygon(self._pts(points), fill=fill)
        if outline:
            self.line(list(points) + [points[0]], outline, width)

    def line(self, points, fill, width=1, round_ends=True):
        self.draw.line(self._pts(points), fill=fill, width=self._w(width), joint="curve")
        if round_ends and width > 1.5:
            for x, y in (points[0], points[-1]):
                self.circle(x, y, width / 2, fill)

    def curve(self, points, fill, width=1, steps=24):
        """A smooth line through quadratic Bezier control points (start, control, end, ...)."""
        self.line(bezier(points, steps), fill, width)

    def arc(self, cx, cy, rx, ry, start, end, fill, width=1):
        self.draw.arc(self._box(cx - rx, cy - ry, cx + rx, cy + ry), start, end, fill=fill,
                      width=self._w(width))

    def pieslice(self, cx, cy, rx, ry, start, end, fill, outline=None, width=1):
        self.draw.pieslice(self._box(cx - rx, cy - ry, cx + rx, cy + ry), start, end, fill=fill,
                           outline=outline, width=self._w(width))

    def chord(self, cx, cy, rx, ry, start, end, fill):
        self.draw.chord(self._box(cx - rx, cy - ry, cx + rx, cy + ry), start, end, fill=fill)

    def gradient(self, y0, y1, top, bottom, x0=0, x1=PANEL_W):
        """A vertical blend from colour top at y0 to colour bottom at y1."""
        first, last = round(y0 * self.sy), round(y1 * self.sy)
        for y in range(first, last):
            t = (y - first) / max(1, last - first - 1)
            colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            self.draw.line([(x0 * self.sx, y), (x1 * self.sx, y)], fill=colour)

    def text(self, x, y, text, size, fill, face="en", anchor="mm"):
        """Text centred (by default) on panel point x, y; size in panel units."""
        self.texts.append((x, y, text, size, fill, face, anchor))

    def finish(self):
        """The panel at its final size, text drawn."""
        image = self.image.resize(self.size, Image.BOX)
        draw = ImageDraw.Draw(image)
        scale = self.size[0] / PANEL_W
        for x, y, text, size, fill, face, anchor in self.texts:
            draw.text((x * scale, y * self.size[1] / PANEL_H), text, fill=fill,
                      font=font(face, round(size * scale)), anchor=anchor)
        return image


def ellipse_points(cx, cy, rx, ry, angle=0, steps=48):
    a = math.radians(angle)
    points = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        x, y = rx * math.cos(t), ry * math.sin(t)
        points.append((cx + x * math.cos(a) - y * math.sin(a),
                       cy + x * math.sin(a) + y * math.cos(a)))
    return points


def star_points(cx, cy, outer, inner, points=5, angle=-90):
    out = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        t = math.radians(angle + 180 * i / points)
        out.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return out


def heart_points(cx, cy, size, steps=60):
    out = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        out.append((cx + x * size / 32, cy - y * size / 32))
    return out


def bezier(points, steps=24):
    """Points along quadratic Bezier segments: points is start, control, end, control, end..."""
    out = [points[0]]
    for i in range(0, len(points) - 2, 2):
        (x0, y0), (x1, y1), (x2, y2) = points[i:i + 3]
        for s in range(1, steps + 1):
            t = s / steps
            out.append(((1 - t) ** 2 * x0 + 2 * (1 - t) * t * x1 + t * t * x2,
                        (1 - t) ** 2 * y0 + 2 * (1 - t) * t * y1 + t * t * y2))
    return out
