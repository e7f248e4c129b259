"""The poster pictures, one function a theme, drawn on a Pen in panel units (238 x 242).

Every scene is built from plain shapes; the few scattered things (snowflakes, leaves) come from
a random generator seeded with a constant so each run draws the same picture.
"""
import math
import random

from pen import PANEL_H, PANEL_W, bezier, ellipse_points, heart_points, star_points

W, H = PANEL_W, PANEL_H
INK = (60, 50, 60)
SKIN = (255, 221, 186)
WHITE = (255, 255, 255)


# Pieces shared by several scenes.

def sun(pen, cx, cy, r, face=True, rays=12):
    for i in range(rays):
        t = 2 * math.pi * i / rays
        pen.line([(cx + (r + 5) * math.cos(t), cy + (r + 5) * math.sin(t)),
                  (cx + (r + 14) * math.cos(t), cy + (r + 14) * math.sin(t))], (255, 190, 40), 4)
    pen.circle(cx, cy, r, (255, 214, 60), (250, 170, 30), 2)
    if face:
        smile(pen, cx, cy, r)


def smile(pen, cx, cy, r, cheeks=(255, 150, 140)):
    """Eyes, a smile and rosy cheeks for a round face of radius r."""
    pen.circle(cx - r * 0.35, cy - r * 0.15, r * 0.1, INK)
    pen.circle(cx + r * 0.35, cy - r * 0.15, r * 0.1, INK)
    pen.arc(cx, cy + r * 0.1, r * 0.4, r * 0.32, 20, 160, INK, max(1.5, r * 0.08))
    if cheeks:
        pen.ellipse(cx - r * 0.6, cy + r * 0.2, r * 0.15, r * 0.1, cheeks)
        pen.ellipse(cx + r * 0.6, cy + r * 0.2, r * 0.15, r * 0.1, cheeks)


def cloud(pen, cx, cy, s, fill=WHITE):
    for dx, dy, r in ((-1.0, 0.2, 0.6), (-0.35, -0.25, 0.75), (0.4, -0.1, 0.65), (1.0, 0.25, 0.5)):
        pen.circle(cx + dx * s, cy + dy * s, r * s, fill)
    pen.rounded(cx - 1.2 * s, cy, cx + 1.35 * s, cy + 0.75 * s, 0.35 * s, fill)


def child(pen, cx, base, shirt, hair, skirt=False, wave=None, height=1.0, long_hair=False,
          hands_low=True, kick=False):
    """A standing child, feet on line base. wave is "left", "right" or None; kick swings the
    right leg forward. Returns the two hand positions."""
    k = height
    head_r, head_y = 13 * k, base - 62 * k
    shoulder_y = head_y + head_r + 4 * k
    # Legs and shoes.
    leg = SKIN if skirt else (70, 90, 150)
    for side in (-1, 1):
        if kick and side > 0:
            foot = (cx + 22 * k, base - 14 * k)
            pen.line([(cx + 5 * k, base - 22 * k), foot], leg, 7 * k)
            pen.ellipse(foot[0] + 2 * k, foot[1], 6 * k, 3.5 * k, INK, angle=-30)
            continue
        x = cx + side * 6 * k
        pen.rect(x - 3.5 * k, base - 24 * k, x + 3.5 * k, base - 3 * k, leg)
        pen.ellipse(cx + side * 7 * k, base - 3 * k, 6 * k, 3.5 * k, INK)
    # Arms, behind the body.
    hands = []
    for side in (-1, 1):
        sx = cx + side * 10 * k
        if wave == ("left" if side < 0 else "right"):
            hand = (cx + side * 24 * k, shoulder_y - 20 * k)
        elif hands_low:
            hand = (cx + side * 20 * k, shoulder_y + 22 * k)
        else:
            hand = (cx + side * 24 * k, shoulder_y + 8 * k)
        pen.line([(sx, shoulder_y + 3 * k), hand], shirt, 6 * k)
        pen.circle(hand[0], hand[1], 4 * k, SKIN)
        hands.append(hand)
    # Body: a shirt, or a dress flaring out.
    flare = 15 * k if skirt else 11 * k
    pen.polygon([(cx - 10 * k, shoulder_y), (cx + 10 * k, shoulder_y), (cx + flare, base - 22 * k),
                 (cx - flare, base - 22 * k)], shirt)
    # Head and hair.
    if long_hair:
        pen.rounded(cx - head_r - 2 * k, head_y - 4 * k, cx + head_r + 2 * k, head_y + head_r + 6 * k,
                    6 * k, hair)
    pen.circle(cx, head_y, head_r, SKIN)
    pen.pieslice(cx, head_y - 1 * k, head_r + 1 * k, head_r + 1 * k, 180, 360, hair)
    pen.circle(cx - 4.5 * k, head_y + 2 * k, 1.6 * k, INK)
    pen.circle(cx + 4.5 * k, head_y + 2 * k, 1.6 * k, INK)
    pen.arc(cx, head_y + 4 * k, 5 * k, 4 * k, 20, 160, INK, 1.5 * k)
    pen.ellipse(cx - 8 * k, head_y + 6 * k, 2.5 * k, 1.6 * k, (255, 160, 150))
    pen.ellipse(cx + 8 * k, head_y + 6 * k, 2.5 * k, 1.6 * k, (255, 160, 150))
    return hands


def flower(pen, cx, cy, r, petals, centre=(255, 210, 60), stem=True):
    if stem:
        pen.line([(cx, cy), (cx, cy + r * 4)], (70, 150, 60), max(1.5, r * 0.35))
    for i in range(5):
        t = 2 * math.pi * i / 5
        pen.circle(cx + r * math.cos(t), cy + r * math.sin(t), r * 0.75, petals)
    pen.circle(cx, cy, r * 0.6, centre)


def tulip(pen, cx, cy, colour):
    pen.line([(cx, cy), (cx, cy + 34)], (60, 140, 50), 3)
    pen.ellipse(cx - 6, cy + 22, 7, 3, (80, 170, 60), angle=-40)
    pen.polygon([(cx - 8, cy - 10), (cx - 4, cy - 4), (cx, cy - 12), (cx + 4, cy - 4), (cx + 8, cy - 10),
                 (cx + 8, cy), (cx, cy + 6), (cx - 8, cy)], colour)


def apple(pen, cx, cy, r, colour=(225, 45, 50)):
    pen.circle(cx - r * 0.3, cy, r * 0.8, colour)
    pen.circle(cx + r * 0.3, cy, r * 0.8, colour)
    pen.circle(cx, cy + r * 0.15, r * 0.85, colour)
    pen.ellipse(cx - r * 0.35, cy - r * 0.3, r * 0.15, r * 0.25, (255, 150, 150), angle=30)
    pen.line([(cx, cy - r * 0.6), (cx + r * 0.1, cy - r * 1.05)], (110, 70, 30), max(1.5, r * 0.14))
    pen.ellipse(cx + r * 0.4, cy - r * 0.9, r * 0.35, r * 0.15, (70, 170, 60), angle=-25)


def pine(pen, cx, base, h, snow=False):
    pen.rect(cx - h * 0.06, base - h * 0.15, cx + h * 0.06, base, (120, 80, 50))
    for i, (w, top) in enumerate(((0.45, 0.55), (0.37, 0.3), (0.27, 0.0))):
        y0 = base - h + top * h
        pen.polygon([(cx, y0), (cx + w * h, y0 + 0.42 * h), (cx - w * h, y0 + 0.42 * h)], (40, 120, 70))
        if snow:
            pen.polygon([(cx, y0), (cx + w * h * 0.35, y0 + 0.15 * h), (cx, y0 + 0.12 * h),
                         (cx - w * h * 0.35, y0 + 0.15 * h)], WHITE)


def label(pen, cx, cy, text, size=12, colour=INK, back=WHITE):
    """A small word tag."""
    half = len(text) * size * 0.36 + 6
    pen.rounded(cx - half, cy - size * 0.8, cx + half, cy + size * 0.8, size * 0.5, back,
                (200, 190, 200), 1)
    pen.text(cx, cy, text, size, colour)


def bubble(pen, x0, y0, x1, y1, tail, text, size=14):
    pen.polygon([(tail[0], tail[1]), ((x0 + x1) / 2 - 6, y1 - 2), ((x0 + x1) / 2 + 6, y1 - 2)], WHITE,
                (90, 90, 110), 1.5)
    pen.rounded(x0, y0, x1, y1, (y1 - y0) / 2, WHITE, (90, 90, 110), 1.5)
    pen.polygon([(tail[0], tail[1]), ((x0 + x1) / 2 - 5, y1 - 3), ((x0 + x1) / 2 + 5, y1 - 3)], WHITE)
    pen.text((x0 + x1) / 2, (y0 + y1) / 2, text, size, (200, 60, 90))


def grass(pen, y, colour, bump=18):
    pen.ellipse(W * 0.25, y + 60, W * 0.55, 70, colour)
    pen.ellipse(W * 0.8, y + 70, W * 0.5, 75, colour)
    pen.rect(0, y + bump, W, H, colour)


# The scenes.

def welcome(pen):
    pen.gradient(0, H, (120, 200, 250), (215, 240, 255))
    sun(pen, 196, 62, 22)
    cloud(pen, 50, 66, 16)
    # Bunting across the top.
    rope = bezier([(0, 10), (W / 2, 40), (W, 10)], 40)
    pen.line(rope, (150, 120, 100), 1.5)
    colours = [(240, 80, 120), (255, 190, 40), (80, 180, 90), (70, 140, 230), (170, 100, 210)]
    for i in range(1, 12):
        x, y = rope[round(i * 40 / 12)]
        pen.polygon([(x - 7, y), (x + 7, y), (x, y + 15)], colours[i % len(colours)])
    # School on the hill.
    pen.ellipse(200, 250, 150, 80, (110, 190, 80))
    pen.ellipse(30, 260, 150, 85, (130, 205, 95))
    pen.rect(72, 112, 166, 196, (250, 225, 170), (200, 150, 100), 1.5)
    pen.polygon([(62, 114), (119, 74), (176, 114)], (225, 80, 70))
    pen.circle(119, 100, 9, WHITE, (150, 90, 70), 1.5)
    pen.line([(119, 100), (119, 94)], INK, 1.5)
    pen.line([(119, 100), (123, 100)], INK, 1.5)
    pen.line([(119, 74), (119, 52)], (120, 100, 90), 2)
    pen.polygon([(119, 52), (137, 57), (119, 62)], (235, 60, 60))
    for x in (80, 142):
        pen.rect(x, 126, x + 16, 142, (150, 210, 250), (200, 150, 100), 1.5)
        pen.rect(x, 160, x + 16, 176, (150, 210, 250), (200, 150, 100), 1.5)
    pen.rounded(106, 156, 132, 196, 8, (170, 100, 60))
    pen.circle(127, 178, 2, (255, 210, 80))
    # Two pupils waving hello.
    child(pen, 42, 232, (240, 90, 130), (70, 45, 30), skirt=True, wave="right", long_hair=True)
    child(pen, 196, 232, (60, 140, 230), (40, 30, 20), wave="left")
    bubble(pen, 4, 112, 64, 138, (36, 156), "Hello!", 13)
    bubble(pen, 178, 112, 236, 138, (200, 156), "Hi!", 13)
    for x, c in ((92, (255, 120, 160)), (150, (255, 200, 60)), (18, (250, 250, 250)),
                 (222, (255, 140, 80))):
        flower(pen, x, 214, 4, c)


def panda(pen):
    pen.gradient(0, H, (215, 245, 205), (160, 220, 150))
    pen.ellipse(W / 2, 262, 170, 70, (110, 180, 90))
    # Bamboo grove.
    for x, top in ((18, -5), (40, 30), (208, 10), (226, -10)):
        pen.rect(x - 5, top, x + 5, 230, (110, 180, 70))
        for y in range(top + 30, 230, 34):
            pen.rect(x - 6, y, x + 6, y + 3, (70, 140, 50))
            pen.ellipse(x + 14, y - 6, 14, 4, (80, 165, 60), angle=-25)
    # Panda: body, legs, head.
    black, white = (40, 40, 45), (250, 250, 250)
    pen.ellipse(119, 168, 56, 52, white, (190, 190, 190), 1.5)
    pen.ellipse(84, 212, 26, 18, black)
    pen.ellipse(154, 212, 26, 18, black)
    pen.ellipse(80, 214, 10, 9, (120, 110, 110))
    pen.ellipse(158, 214, 10, 9, (120, 110, 110))
    pen.ellipse(76, 158, 14, 28, black, angle=25)
    pen.circle(74, 66, 16, black)
    pen.circle(164, 66, 16, black)
    pen.circle(119, 100, 46, white, (190, 190, 190), 1.5)
    pen.ellipse(100, 98, 11, 16, black, angle=35)
    pen.ellipse(138, 98, 11, 16, black, angle=-35)
    pen.circle(102, 95, 4, white)
    pen.circle(136, 95, 4, white)
    pen.circle(102, 95, 2, black)
    pen.circle(136, 95, 2, black)
    pen.ellipse(119, 114, 7, 5, black)
    pen.arc(113, 118, 6, 6, 20, 160, black, 1.5)
    pen.arc(125, 118, 6, 6, 20, 160, black, 1.5)
    pen.ellipse(88, 118, 7, 4, (255, 170, 180))
    pen.ellipse(150, 118, 7, 4, (255, 170, 180))
    # A bamboo stick held in the right paw.
    pen.line([(132, 226), (196, 110)], (120, 190, 70), 8)
    for y in (140, 170, 200):
        x = 132 + (226 - y) * 64 / 116
        pen.line([(x - 5, y), (x + 5, y + 3)], (70, 140, 50), 2)
    pen.ellipse(205, 104, 14, 5, (80, 170, 60), angle=-50)
    pen.ellipse(190, 98, 12, 4, (80, 170, 60), angle=-110)
    pen.ellipse(160, 160, 14, 27, black, angle=-30)


def cat(pen):
    pen.gradient(0, H, (255, 228, 190), (255, 205, 160))
    # Window with a sky behind.
    pen.rect(14, 16, 84, 86, (170, 215, 250), (190, 130, 80), 4)
    cloud(pen, 46, 50, 9)
    pen.line([(49, 16), (49, 86)], (190, 130, 80), 3)
    pen.line([(14, 51), (84, 51)], (190, 130, 80), 3)
    # Rug and the cat on it.
    pen.ellipse(110, 226, 108, 20, (210, 80, 95))
    pen.ellipse(110, 226, 86, 13, (235, 130, 130))
    orange, dark = (245, 150, 50), (205, 105, 30)
    pen.curve([(150, 215), (200, 215), (190, 165), (182, 140), (200, 135)], orange, 11)
    pen.ellipse(110, 178, 46, 50, orange)
    pen.ellipse(110, 190, 26, 34, (255, 215, 160))
    pen.ellipse(90, 226, 12, 7, WHITE)
    pen.ellipse(130, 226, 12, 7, WHITE)
    pen.polygon([(74, 98), (78, 52), (106, 78)], orange)
    pen.polygon([(114, 78), (142, 52), (146, 98)], orange)
    pen.polygon([(80, 88), (82, 62), (99, 78)], (255, 170, 170))
    pen.polygon([(121, 78), (138, 62), (140, 88)], (255, 170, 170))
    pen.circle(110, 106, 40, orange)
    for dx in (-8, 0, 8):
        pen.polygon([(110 + dx - 3, 67), (110 + dx + 3, 67), (110 + dx, 80)], dark)
    for x in (95, 125):
        pen.ellipse(x, 102, 7, 9, (120, 200, 80))
        pen.ellipse(x, 102, 2, 7, INK)
        pen.circle(x + 2, 98, 1.5, WHITE)
    pen.polygon([(105, 114), (115, 114), (110, 119)], (240, 110, 130))
    pen.arc(105, 119, 5, 5, 0, 150, INK, 1.5)
    pen.arc(115, 119, 5, 5, 30, 180, INK, 1.5)
    for dy in (-3, 3):
        pen.line([(92, 116), (66, 116 + dy * 2)], INK, 1)
        pen.line([(128, 116), (154, 116 + dy * 2)], INK, 1)
    # A ball of wool.
    pen.curve([(188, 228), (170, 240), (150, 234)], (90, 130, 230), 2)
    pen.circle(196, 218, 18, (90, 130, 230))
    for start in (200, 250, 300):
        pen.arc(196, 218, 14, 9, start, start + 120, (60, 95, 200), 2)
    bubble(pen, 150, 26, 226, 56, (140, 74), "Meow!", 15)


def elephant(pen):
    pen.gradient(0, 150, (150, 210, 250), (230, 245, 255))
    pen.rect(0, 150, W, H, (235, 205, 135))
    pen.ellipse(170, 158, 120, 18, (200, 180, 110))
    sun(pen, 40, 40, 16, face=False, rays=10)
    # An acacia tree far off.
    pen.line([(206, 150), (204, 112)], (130, 90, 60), 4)
    pen.ellipse(204, 106, 30, 8, (100, 160, 70))
    grey, shade = (160, 168, 182), (130, 138, 155)
    # Elephant, facing left.
    pen.line([(188, 140), (204, 176)], grey, 3)
    pen.ellipse(205, 180, 3, 5, INK)
    for x in (88, 160):
        pen.rounded(x - 11, 150, x + 11, 214, 6, shade)
    pen.ellipse(130, 138, 66, 46, grey)
    for x in (104, 140):
        pen.rounded(x - 12, 150, x + 12, 218, 6, grey)
        for dx in (-6, 0, 6):
            pen.ellipse(x + dx, 215, 3, 2.5, WHITE)
    pen.circle(70, 112, 36, grey)
    pen.curve([(44, 126), (24, 160), (28, 196), (30, 208), (42, 204)], grey, 15)
    pen.ellipse(96, 112, 26, 34, shade)
    pen.ellipse(98, 114, 18, 26, (235, 180, 185))
    pen.circle(56, 102, 3.5, INK)
    pen.circle(57, 101, 1, WHITE)
    pen.polygon([(50, 132), (38, 146), (54, 138)], (250, 245, 230))
    # And a mouse in front of it.
    mouse = (175, 150, 140)
    pen.curve([(214, 226), (232, 222), (228, 206)], mouse, 1.5)
    pen.ellipse(198, 224, 16, 10, mouse)
    pen.circle(184, 218, 8, mouse)
    pen.circle(184, 209, 6, (250, 180, 190), mouse, 2)
    pen.circle(180, 218, 1.5, INK)
    pen.circle(176, 221, 2, (240, 120, 140))
    label(pen, 132, 74, "big", 16, (70, 80, 110))
    label(pen, 200, 196, "small", 11, (70, 80, 110))


def fruit(pen):
    pen.gradient(0, 140, (255, 248, 215), (255, 236, 190))
    # Gingham tablecloth.
    pen.rect(0, 140, W, H, WHITE)
    for i in range(0, W, 16):
        pen.rect(i, 140, i + 8, H, (250, 170, 170))
    for j in range(140, H, 16):
        pen.rect(0, j, W, j + 8, (250, 170, 170))
        for i in range(0, W, 16):
            pen.rect(i, j, i + 8, j + 8, (235, 110, 120))
    # Upper row: an orange and a slice of watermelon.
    pen.circle(62, 70, 30, (255, 160, 40))
    pen.circle(52, 60, 6, (255, 200, 120))
    pen.ellipse(72, 38, 10, 5, (70, 160, 60), angle=-30)
    pen.pieslice(168, 56, 52, 52, 0, 180, (60, 160, 70))
    pen.pieslice(168, 56, 46, 46, 0, 180, (235, 255, 225))
    pen.pieslice(168, 56, 42, 42, 0, 180, (240, 70, 80))
    for dx, dy in ((-22, 10), (-8, 18), (8, 18), (22, 10), (0, 30), (-14, 30), (14, 30)):
        pen.ellipse(168 + dx, 56 + dy, 2, 3, INK)
    # Lower row on the cloth.
    apple(pen, 36, 160, 20)
    pen.polygon(bezier([(72, 146), (98, 200), (130, 150)], 20)
                + bezier([(130, 150), (100, 172), (72, 146)], 20)[1:],
                (255, 220, 60), (200, 160, 40), 1.5)
    pen.line([(128, 150), (133, 144)], (120, 90, 40), 3)
    pen.circle(152, 170, 15, (190, 220, 80))
    pen.circle(152, 152, 10, (190, 220, 80))
    pen.line([(152, 142), (154, 134)], (120, 80, 40), 2.5)
    for row, count in enumerate((4, 3, 2, 1)):
        for i in range(count):
            pen.circle(208 - (count - 1) * 6 + i * 12, 146 + row * 10, 6.5, (140, 70, 170),
                       (100, 40, 130), 1)
    pen.line([(208, 140), (210, 132)], (100, 70, 40), 2)
    label(pen, 62, 112, "orange")
    label(pen, 168, 112, "watermelon")
    for x, word in ((36, "apple"), (100, "banana"), (152, "pear"), (208, "grapes")):
        label(pen, x, 208, word, 11)


def spring(pen):
    pen.gradient(0, H, (165, 215, 255), (235, 248, 255))
    sun(pen, 200, 36, 17)
    cloud(pen, 120, 40, 12)
    grass(pen, 150, (140, 210, 100))
    # Cherry tree in blossom.
    pen.polygon([(34, 232), (46, 120), (56, 120), (66, 232)], (140, 95, 60))
    pen.line([(50, 150), (80, 120)], (140, 95, 60), 5)
    pen.line([(48, 140), (24, 116)], (140, 95, 60), 5)
    rng = random.Random(143)
    for _ in range(46):
        x, y = 50 + rng.uniform(-46, 46), 96 + rng.uniform(-38, 30)
        if ((x - 50) / 48) ** 2 + ((y - 96) / 42) ** 2 <= 1:
            pink = rng.choice([(255, 183, 197), (255, 160, 185), (255, 205, 215)])
            pen.circle(x, y, rng.uniform(8, 13), pink)
    for _ in range(16):
        x, y = 50 + rng.uniform(-40, 40), 96 + rng.uniform(-34, 26)
        flower(pen, x, y, 2.6, WHITE, (255, 120, 150), stem=False)
    # Butterfly.
    for side in (-1, 1):
        pen.ellipse(160 + side * 11, 108, 11, 14, (250, 150, 40), angle=side * 25)
        pen.ellipse(160 + side * 9, 126, 8, 9, (250, 200, 60), angle=side * -20)
        pen.circle(160 + side * 11, 106, 3.5, WHITE)
    pen.ellipse(160, 116, 2.5, 14, INK)
    pen.line([(159, 103), (152, 92)], INK, 1)
    pen.line([(161, 103), (168, 92)], INK, 1)
    pen.arc(110, 80, 6, 4, 200, 340, INK, 1.5)
    pen.arc(122, 80, 6, 4, 200, 340, INK, 1.5)
    for i, colour in enumerate([(230, 50, 70), (255, 200, 40), (170, 90, 200), (255, 120, 160),
                                (230, 50, 70)]):
        tulip(pen, 100 + i * 28, 186 + (i % 2) * 8, colour)


def summer(pen):
    pen.gradient(0, 130, (60, 150, 235), (170, 220, 255))
    sun(pen, 52, 44, 22)
    # Sea with waves, a sailing boat, a gull.
    pen.rect(0, 120, W, 178, (40, 130, 210))
    for y in (134, 150, 166):
        for x in range(-10, W, 30):
            pen.arc(x + 15 + (y % 20), y, 9, 4, 200, 340, (190, 230, 255), 1.5)
    pen.polygon([(82, 124), (128, 124), (120, 134), (90, 134)], (200, 80, 60))
    pen.line([(104, 124), (104, 76)], (120, 80, 50), 2)
    pen.polygon([(106, 78), (106, 120), (132, 120)], WHITE)
    pen.polygon([(102, 84), (102, 120), (82, 120)], (255, 220, 80))
    pen.arc(150, 60, 7, 5, 200, 340, INK, 1.5)
    pen.arc(164, 60, 7, 5, 200, 340, INK, 1.5)
    pen.arc(186, 80, 5, 4, 200, 340, INK, 1.5)
    pen.arc(196, 80, 5, 4, 200, 340, INK, 1.5)
    # Beach.
    pen.ellipse(W / 2, 250, 200, 80, (245, 220, 150))
    pen.rect(0, 200, W, H, (245, 220, 150))
    # Umbrella.
    pen.line([(178, 232), (178, 150)], (120, 90, 60), 3)
    for i in range(6):
        pen.pieslice(178, 152, 52, 34, 180 + i * 30, 210 + i * 30,
                     (235, 70, 70) if i % 2 == 0 else WHITE)
    # Beach ball, bucket and spade.
    pen.circle(48, 212, 18, WHITE)
    for i, colour in enumerate([(235, 70, 70), (255, 200, 40), (60, 140, 230)]):
        pen.pieslice(48, 212, 18, 18, i * 120, i * 120 + 60, colour)
    pen.circle(48, 212, 18, None, (150, 130, 120), 1)
    pen.circle(48, 212, 4, WHITE)
    pen.polygon([(96, 206), (124, 206), (120, 232), (100, 232)], (60, 170, 220))
    pen.arc(110, 206, 13, 10, 180, 360, (40, 110, 170), 2)
    pen.line([(130, 232), (142, 198)], (255, 160, 40), 3)
    pen.ellipse(144, 194, 5, 8, (255, 160, 40), angle=20)
    for x, y in ((76, 228), (150, 236), (212, 214)):
        pen.polygon(star_points(x, y, 6, 2.5), (255, 150, 120))


def autumn(pen):
    pen.gradient(0, H, (255, 215, 150), (255, 240, 210))
    pen.ellipse(W / 2, 268, 180, 70, (205, 145, 75))
    # The tree.
    trunk = (120, 80, 50)
    pen.polygon([(106, 232), (112, 120), (126, 120), (134, 232)], trunk)
    pen.line([(118, 150), (82, 112)], trunk, 6)
    pen.line([(122, 140), (160, 104)], trunk, 6)
    rng = random.Random(145)
    leaves = [(235, 130, 40), (215, 70, 40), (250, 195, 50), (200, 100, 40)]
    for _ in range(60):
        x, y = 119 + rng.uniform(-80, 80), 88 + rng.uniform(-60, 44)
        if ((x - 119) / 84) ** 2 + ((y - 88) / 62) ** 2 <= 1:
            pen.circle(x, y, rng.uniform(10, 16), rng.choice(leaves))
    # Leaves on their way down, and a heap at the foot of the tree.
    for _ in range(14):
        x, y, a = rng.uniform(10, 228), rng.uniform(150, 215), rng.uniform(0, 180)
        colour = rng.choice(leaves)
        pen.ellipse(x, y, 7, 3.5, colour, angle=a)
        pen.line([(x - 6 * math.cos(math.radians(a)), y - 6 * math.sin(math.radians(a))),
                  (x + 6 * math.cos(math.radians(a)), y + 6 * math.sin(math.radians(a)))],
                 (150, 80, 30), 0.8)
    for _ in range(24):
        pen.ellipse(rng.uniform(50, 190), rng.uniform(224, 236), 8, 4, rng.choice(leaves),
                    angle=rng.uniform(-30, 30))
    # Two pumpkins.
    for cx, r in ((30, 16), (204, 20)):
        for dx in (-0.5, 0.5, 0):
            pen.ellipse(cx + dx * r, 226 - r * 0.6, r * 0.65, r * 0.75, (240, 130, 30),
                        (200, 100, 20), 1)
        pen.line([(cx, 226 - r * 1.3), (cx + 3, 226 - r * 1.7)], (90, 130, 50), 3)


def winter(pen):
    pen.gradient(0, H, (40, 70, 140), (130, 165, 220))
    outer = [(200 + 15 * math.cos(math.radians(a)), 36 + 15 * math.sin(math.radians(a)))
             for a in range(60, 301, 10)]
    inner = [(209 + 11 * math.cos(math.radians(a)), 31 + 12 * math.sin(math.radians(a)))
             for a in range(290, 59, -10)]
    pen.polygon(outer + inner, (255, 248, 200))
    rng = random.Random(146)
    # Snow underfoot and two snowy pines.
    pen.ellipse(40, 250, 140, 70, (225, 235, 250))
    pen.ellipse(200, 250, 140, 66, (245, 250, 255))
    pine(pen, 30, 196, 80, snow=True)
    pine(pen, 212, 190, 64, snow=True)
    # Snowman.
    pen.circle(119, 196, 38, WHITE, (190, 205, 230), 1.5)
    pen.circle(119, 138, 28, WHITE, (190, 205, 230), 1.5)
    pen.circle(119, 92, 21, WHITE, (190, 205, 230), 1.5)
    pen.line([(96, 134), (66, 114), (58, 104)], (120, 80, 50), 3)
    pen.line([(66, 114), (60, 118)], (120, 80, 50), 2)
    pen.line([(142, 134), (170, 112), (176, 100)], (120, 80, 50), 3)
    pen.line([(170, 112), (178, 114)], (120, 80, 50), 2)
    pen.rect(98, 72, 140, 77, INK)
    pen.rect(104, 46, 134, 73, INK)
    pen.rect(104, 64, 134, 70, (220, 50, 60))
    pen.circle(112, 88, 2.5, INK)
    pen.circle(126, 88, 2.5, INK)
    pen.polygon([(119, 93), (119, 99), (138, 97)], (255, 140, 30))
    for i in range(5):
        pen.circle(109 + i * 5, 104 + (2 - abs(2 - i)) * 1.5, 1.5, INK)
    pen.rounded(98, 110, 140, 118, 4, (220, 50, 60))
    pen.rounded(126, 112, 136, 140, 3, (220, 50, 60))
    for y in (132, 146, 186):
        pen.circle(119, y, 3, (50, 60, 80))
    # Falling snow.
    for _ in range(40):
        pen.circle(rng.uniform(0, W), rng.uniform(0, 200), rng.uniform(1.2, 2.8), WHITE)
    for x, y in ((60, 40), (160, 60), (24, 110), (210, 128)):
        for a in range(0, 180, 60):
            t = math.radians(a)
            dx, dy = 7 * math.cos(t), 7 * math.sin(t)
            pen.line([(x - dx, y - dy), (x + dx, y + dy)], WHITE, 1.5)


def school(pen):
    pen.gradient(0, 150, (205, 228, 250), (225, 238, 252))
    # Blackboard with the day's letters.
    pen.rect(24, 14, 214, 96, (40, 100, 70), (160, 110, 70), 5)
    pen.text(119, 46, "A  B  C", 26, (250, 250, 240))
    pen.text(119, 78, "a  b  c", 18, (250, 240, 160))
    pen.rect(150, 92, 166, 96, WHITE)
    # Desk.
    pen.polygon([(0, 140), (W, 140), (W, H), (0, H)], (210, 155, 100))
    pen.rect(0, 136, W, 142, (175, 120, 75))
    # Open exercise book with stars for good work.
    pen.polygon([(44, 158), (118, 150), (118, 226), (40, 232)], WHITE, (180, 180, 200), 1)
    pen.polygon([(118, 150), (194, 158), (198, 232), (118, 226)], (250, 250, 255), (180, 180, 200), 1)
    for i in range(6):
        y = 166 + i * 10
        pen.line([(50, y + 0.8 - i * 0.1), (114, y - 1 - i * 0.1)], (150, 190, 240), 1)
        pen.line([(122, y - 1 - i * 0.1), (190, y + 0.8 - i * 0.1)], (150, 190, 240), 1)
    pen.text(80, 172, "cat", 11, (60, 70, 160))
    pen.text(80, 192, "dog", 11, (60, 70, 160))
    pen.text(80, 212, "pig", 11, (60, 70, 160))
    for i, x in enumerate((138, 156, 174)):
        pen.polygon(star_points(x, 186 + (i % 2) * 4, 9, 4), (255, 200, 30), (230, 150, 20), 1)
    # Pencil.
    a = math.radians(-30)
    ux, uy = math.cos(a), math.sin(a)
    nx, ny = -uy, ux

    def along(t, s):
        return (150 + ux * t + nx * s, 236 + uy * t + ny * s)
    pen.polygon([along(0, -5), along(60, -5), along(60, 5), along(0, 5)], (255, 200, 40))
    pen.polygon([along(60, -5), along(74, 0), along(60, 5)], (240, 200, 150))
    pen.polygon([along(69, -1.7), along(74, 0), along(69, 1.7)], INK)
    pen.polygon([along(-8, -5), along(0, -5), along(0, 5), along(-8, 5)], (250, 140, 160))
    # Ruler and eraser.
    pen.polygon([(8, 200), (36, 196), (44, 240), (16, 244)], (255, 230, 120), (200, 170, 60), 1)
    for i in range(8):
        y = 202 + i * 5
        pen.line([(11 + i * 0.9 - 0.2, y - 0.4), (17 + i * 0.9, y - 1.3)], (150, 120, 40), 1)
    pen.rounded(200, 200, 228, 216, 3, (120, 180, 240))
    pen.rect(200, 200, 212, 216, WHITE)
    apple(pen, 212, 122, 12)


def sports(pen):
    pen.gradient(0, 110, (110, 190, 250), (200, 235, 255))
    cloud(pen, 46, 34, 12)
    cloud(pen, 184, 50, 9)
    # Pitch in stripes and its lines.
    for i, y in enumerate(range(100, H, 18)):
        pen.rect(0, y, W, y + 18, (90, 185, 80) if i % 2 == 0 else (110, 200, 95))
    pen.line([(0, 118), (W, 118)], WHITE, 2)
    pen.line([(-20, 232), (60, 118)], WHITE, 2)
    # Goal with its net.
    net = (235, 240, 245)
    for i in range(11):
        x = 120 + i * 10
        pen.line([(x, 60), (x, 120)], net, 1)
    for j in range(7):
        pen.line([(120, 60 + j * 10), (220, 60 + j * 10)], net, 1)
    pen.line([(118, 124), (118, 58), (222, 58), (222, 124)], WHITE, 5)
    # The player kicks...
    shirt = (230, 60, 60)
    child(pen, 60, 212, shirt, (50, 35, 25), hands_low=False, height=1.25, kick=True)
    pen.text(60, 170, "9", 13, WHITE)
    # ...and the ball flies.
    for i, dy in enumerate((-8, 0, 8)):
        pen.line([(110 - i * 4, 176 + dy), (130 - i * 4, 168 + dy)], WHITE, 2)
    cx, cy, r = 154, 160, 18
    pen.circle(cx, cy, r, WHITE, INK, 1.5)
    pen.polygon(star_points(cx, cy, 7, 7, 5, -90)[::2], INK)
    for i in range(5):
        t = math.radians(-90 + 36 + i * 72)
        pen.polygon(star_points(cx + 13.5 * math.cos(t), cy + 13.5 * math.sin(t), 4.5, 4.5, 5,
                                math.degrees(t))[::2], INK)
        seam = t - math.radians(36)
        pen.line([(cx + 7 * math.cos(seam), cy + 7 * math.sin(seam)),
                  (cx + 11 * math.cos(seam), cy + 11 * math.sin(seam))], INK, 1)
    pen.circle(cx, cy, r, None, INK, 1.5)
    pen.circle(cx - 6, cy - 8, 3, (255, 255, 255))
    pen.ellipse(150, 216, 16, 4, (70, 150, 60))


def weather(pen):
    pen.gradient(0, H, (150, 180, 215), (205, 222, 240))
    # Rainbow behind everything.
    for i, colour in enumerate([(235, 60, 60), (255, 150, 40), (255, 220, 50), (90, 190, 80),
                                (70, 140, 230), (150, 90, 200)]):
        pen.arc(150, 170, 110 - i * 7, 100 - i * 7, 180, 360, colour, 7)
    # Sun peeping out, and the rain cloud.
    sun(pen, 200, 48, 18)
    cloud(pen, 212, 72, 13)
    cloud(pen, 70, 44, 24, (150, 160, 180))
    cloud(pen, 74, 50, 20, (175, 185, 200))
    rng = random.Random(149)
    for _ in range(18):
        x, y = rng.uniform(20, 130), rng.uniform(80, 150)
        pen.circle(x, y + 4, 3, (60, 130, 230))
        pen.polygon([(x - 2.8, y + 3), (x + 2.8, y + 3), (x, y - 4)], (60, 130, 230))
    pen.rect(0, 200, W, H, (110, 185, 90))
    pen.ellipse(90, 226, 40, 7, (130, 165, 210))
    # A child in a raincoat under an umbrella.
    child(pen, 90, 230, (255, 200, 40), (60, 40, 25), hands_low=False)
    pen.line([(114, 194), (114, 116)], INK, 2)
    pen.pieslice(114, 120, 44, 30, 180, 360, (230, 60, 90))
    for dx in (-33, -11, 11, 33):
        pen.pieslice(114 + dx, 119, 11, 6, 0, 180, (230, 60, 90))
        pen.line([(114, 90), (114 + dx * 1.3, 120)], (200, 40, 70), 1)
    pen.circle(114, 194, 4, SKIN)
    pen.line([(114, 90), (114, 84)], INK, 2)
    flower(pen, 190, 210, 4, (255, 255, 255))
    flower(pen, 214, 216, 4, (255, 200, 60))


def colours(pen):
    pen.gradient(0, H, (200, 235, 255), (240, 250, 255))
    cloud(pen, 40, 30, 10)
    cloud(pen, 200, 200, 12)
    pen.ellipse(W / 2, 262, 160, 40, (130, 205, 100))
    knot = (119, 214)
    balloons = [((58, 64), (235, 55, 60), "red"), ((119, 48), (60, 120, 230), "blue"),
                ((180, 64), (255, 205, 40), "yellow"), ((84, 132), (70, 180, 80), "green"),
                ((154, 132), (160, 90, 210), "purple")]
    for (x, y), colour, _ in balloons:
        pen.curve([(x, y + 38), ((x + knot[0]) / 2 + 8, (y + knot[1]) / 2), knot], (120, 120, 130), 1)
    for (x, y), colour, word in balloons:
        pen.ellipse(x, y, 29, 35, colour)
        pen.polygon([(x, y + 33), (x - 5, y + 40), (x + 5, y + 40)], colour)
        pen.ellipse(x - 11, y - 14, 5, 9, tuple(min(255, c + 90) for c in colour), angle=25)
        pen.text(x, y + 2, word, 12, INK if word == "yellow" else WHITE)
    kx, ky = knot
    for side in (-1, 1):  # a bow
        pen.polygon([(kx, ky), (kx + side * 9, ky - 6), (kx + side * 9, ky + 6)], (240, 90, 130))
    pen.line([knot, (116, 234)], (120, 120, 130), 1)


def numbers(pen):
    pen.gradient(0, H, (235, 225, 255), (215, 205, 250))
    rows = [("1", "one", (235, 80, 90)), ("2", "two", (60, 140, 230)), ("3", "three", (40, 160, 90))]
    for i, (digit, word, colour) in enumerate(rows):
        top = 8 + i * 78
        pen.rounded(8, top, 230, top + 70, 12, WHITE, colour, 2)
        pen.text(38, top + 28, digit, 38, colour)
        pen.text(38, top + 58, word, 12, INK)
        pen.line([(66, top + 10), (66, top + 60)], (220, 215, 235), 1.5)
    sun(pen, 146, 43, 16)
    for x in (118, 180):  # two ducks
        y = 126
        pen.ellipse(x, y + 6, 22, 14, (255, 215, 40))
        pen.circle(x + 14, y - 10, 10, (255, 215, 40))
        pen.polygon([(x + 22, y - 12), (x + 32, y - 8), (x + 22, y - 5)], (255, 140, 30))
        pen.circle(x + 16, y - 12, 1.8, INK)
        pen.arc(x - 4, y + 4, 10, 6, 10, 170, (230, 170, 20), 2)
        pen.ellipse(x, y + 22, 24, 3, (150, 200, 240))
    for x in (100, 146, 192):
        apple(pen, x, 204, 16)


def family(pen):
    pen.gradient(0, H, (255, 232, 238), (255, 210, 222))
    pen.polygon(heart_points(119, 96, 150), (255, 170, 190))
    pen.polygon(heart_points(119, 96, 120), (255, 195, 210))
    # Home in the corner.
    pen.rect(14, 36, 52, 66, (255, 245, 220), (200, 150, 110), 1.5)
    pen.polygon([(8, 38), (33, 16), (58, 38)], (220, 90, 80))
    pen.rect(28, 48, 38, 66, (170, 110, 70))
    sun(pen, 206, 30, 12, face=False, rays=10)
    pen.rect(0, 216, W, H, (130, 200, 100))
    # Dad, Mum, the pupil and a little brother, hand in hand.
    people = [(42, (60, 120, 200), (50, 35, 25), False, False, 1.45),
              (98, (235, 90, 120), (90, 50, 30), True, True, 1.35),
              (150, (255, 180, 40), (60, 40, 25), True, True, 1.0),
              (196, (90, 180, 110), (40, 30, 20), False, False, 0.85)]
    hands = [child(pen, x, 228, shirt, hair, skirt, None, k, long_hair)
             for x, shirt, hair, skirt, long_hair, k in people]
    for left, right in zip(hands, hands[1:]):
        pen.line([left[1], right[0]], SKIN, 5)
    for x, y in ((80, 40), (158, 40), (119, 18)):
        pen.polygon(heart_points(x, y, 16), (235, 60, 90))


def food(pen):
    pen.rect(0, 0, W, 140, (255, 248, 220))
    for x in range(0, W, 24):
        pen.line([(x, 0), (x, 140)], (240, 225, 190), 1)
    for y in range(0, 140, 24):
        pen.line([(0, y), (W, y)], (240, 225, 190), 1)
    # Clock: it is twelve o'clock.
    pen.circle(119, 46, 28, WHITE, (230, 120, 60), 4)
    for i in range(12):
        t = math.radians(i * 30)
        pen.circle(119 + 21 * math.sin(t), 46 - 21 * math.cos(t), 1.4, INK)
    pen.line([(119, 46), (119, 28)], INK, 2.5)
    pen.line([(119, 46), (119, 34)], INK, 3.5)
    pen.circle(119, 46, 2.5, (230, 120, 60))
    # Table and place mat.
    pen.rect(0, 130, W, H, (200, 140, 90))
    pen.rect(0, 126, W, 134, (170, 110, 65))
    pen.rounded(10, 148, 228, 228, 10, (250, 230, 230))
    # Dumplings on a plate.
    pen.ellipse(52, 186, 38, 16, WHITE, (200, 200, 210), 1.5)
    for x, y in ((38, 178), (66, 178), (52, 190)):
        pen.chord(x, y + 4, 14, 11, 180, 360, (250, 232, 180))
        pen.rect(x - 14, y + 3, x + 14, y + 6, (250, 232, 180))
        pen.arc(x, y + 4, 14, 11, 180, 360, (200, 170, 110), 1.2)
        for dx in (-6, 0, 6):
            pen.arc(x + dx, y - 3, 2.5, 3, 90, 270, (200, 170, 110), 1)
    # Bowl of rice with chopsticks and steam.
    for x in (110, 122, 134):
        pen.curve([(x, 142), (x - 5, 134), (x, 126), (x + 5, 118), (x, 110)], (220, 215, 225), 2)
    for dx in range(-20, 24, 8):
        pen.circle(122 + dx, 160 - (1 - (dx / 24) ** 2) * 6, 8, WHITE)
    pen.chord(122, 162, 28, 26, 0, 180, (70, 140, 220))
    pen.rect(94, 160, 150, 164, (70, 140, 220))
    pen.ellipse(122, 162, 28, 4, (110, 170, 240))
    pen.arc(122, 176, 20, 6, 20, 160, WHITE, 2)
    pen.line([(140, 150), (176, 128)], (170, 100, 50), 3)
    pen.line([(144, 154), (182, 136)], (170, 100, 50), 3)
    # Glass of milk.
    pen.polygon([(174, 146), (206, 146), (202, 204), (178, 204)], (235, 240, 250),
                (170, 180, 200), 1.5)
    pen.polygon([(176, 158), (204, 158), (202, 202), (178, 202)], WHITE)
    pen.line([(182, 164), (184, 196)], (230, 235, 245), 2)
    label(pen, 52, 216, "dumplings", 11)
    label(pen, 122, 216, "rice", 11)
    label(pen, 190, 216, "milk", 11)


SCENES = {f.__name__: f for f in (welcome, panda, cat, elephant, fruit, spring, summer, autumn,
                                  winter, school, sports, weather, colours, numbers, family, food)}
