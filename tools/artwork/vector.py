"""The program icon's shape list (ui/res/src/app_icon.json) drawn at any pixel size, and written
out as SVG, so the .ico and the desktop icons come from one drawing."""
from PIL import Image, ImageDraw

SUPERSAMPLE = 8


def _colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5)) + (255,)


def render(icon, size):
    """The icon as an RGBA image of size x size pixels, edges smoothed by drawing 8 times larger
    and averaging each 8 x 8 block."""
    big = size * SUPERSAMPLE
    scale = big / icon["grid"]
    canvas = Image.new("RGBA", (big, big), (0, 0, 0, 0))

    def box(x0, y0, x1, y1):
        # PIL boxes include their right and bottom pixel, ours do not.
        return [round(x0 * scale), round(y0 * scale), round(x1 * scale) - 1, round(y1 * scale) - 1]

    for shape in icon["shapes"]:
        mask = Image.new("L", canvas.size, 0)
        draw = ImageDraw.Draw(mask)
        kind = shape["kind"]
        if kind == "rect":
            draw.rectangle(box(*shape["box"]), fill=255)
        elif kind == "frame":
            x0, y0, x1, y1 = shape["box"]
            radius, width = shape["radius"], shape["width"]
            draw.rounded_rectangle(box(x0, y0, x1, y1), round(radius * scale), fill=255)
            draw.rounded_rectangle(box(x0 + width, y0 + width, x1 - width, y1 - width),
                                   round((radius - width) * scale), fill=0)
        elif kind == "arch":  # the upper half of a ring
            cx, cy = shape["centre"]
            for radius, fill in ((shape["outer"], 255), (shape["inner"], 0)):
                draw.pieslice(box(cx - radius, cy - radius, cx + radius, cy + radius), 180, 360,
                              fill=fill)
        else:
            raise ValueError(f"unknown icon shape {kind!r}")
        canvas.paste(_colour(shape["colour"]), mask=mask)
    return canvas.resize((size, size), Image.BOX)


def svg(icon):
    """The icon as an SVG document (text)."""
    grid = icon["grid"]
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{grid}" height="{grid}" '
             f'viewBox="0 0 {grid} {grid}">']
    for shape in icon["shapes"]:
        colour = shape["colour"]
        kind = shape["kind"]
        if kind == "rect":
            x0, y0, x1, y1 = shape["box"]
            parts.append(f'<rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" '
                         f'fill="{colour}"/>')
        elif kind == "frame":
            # A stroke runs on the centre line of the band.
            x0, y0, x1, y1 = shape["box"]
            w, r = shape["width"], shape["radius"]
            h = w / 2
            parts.append(f'<rect x="{x0 + h:g}" y="{y0 + h:g}" width="{x1 - x0 - w:g}" '
                         f'height="{y1 - y0 - w:g}" rx="{r - h:g}" fill="none" '
                         f'stroke="{colour}" stroke-width="{w:g}"/>')
        elif kind == "arch":
            cx, cy = shape["centre"]
            R, r = shape["outer"], shape["inner"]
            parts.append(f'<path d="M{cx - R} {cy}A{R} {R} 0 0 1 {cx + R} {cy}H{cx + r}'
                         f'A{r} {r} 0 0 0 {cx - r} {cy}Z" fill="{colour}"/>')
        else:
            raise ValueError(f"unknown icon shape {kind!r}")
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def mark(drawing, scale=1):
    """A one-colour mark: the RGB image and the rows of opaque flags. A pixel is opaque when the
    polygons cover at least half of it. With scale 2 the mark is drawn on a grid twice as fine."""
    size = drawing["size"] * scale
    big = size * SUPERSAMPLE
    mask = Image.new("L", (big, big), 0)
    draw = ImageDraw.Draw(mask)
    for polygon in drawing["polygons"]:
        # PIL fills the pixels whose centres lie inside; ours are at half-pixel points.
        k = scale * SUPERSAMPLE
        draw.polygon([(x * k - 0.5, y * k - 0.5) for x, y in polygon], fill=255)
    cover = mask.resize((size, size), Image.BOX)
    opaque = [[cover.getpixel((x, y)) >= 128 for x in range(size)] for y in range(size)]
    image = Image.new("RGB", (size, size), (0, 0, 0))
    for y in range(size):
        for x in range(size):
            if opaque[y][x]:
                image.putpixel((x, y), tuple(drawing["colour"]))
    return image, opaque
