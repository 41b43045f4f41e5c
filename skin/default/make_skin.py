#!/usr/bin/env python3
"""Draws Torvex's default skin: the two backgrounds, the four button strips and the strips of the
live readout as BMP files, beside this script, with skin.ini naming them. The same drawing is made
twice: at the skin's own size, and at twice that size into 2x/ for displays scaled above 100 %,
where shapes, grain and glass take the finer pixels (lines and the pixel font only double).
Standard library only; the output is the same byte for byte on every run (run it again after
changing the drawing, and commit the BMPs).

    python3 skin/default/make_skin.py [output-directory]
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 420, 150
# Device pixels to a skin pixel in the drawing under way: 1, then 2 for the twice-size art. Every
# place and size below is in skin pixels.
K = 1
TWICE_SIZE_FOLDER = "2x"
BUTTON_W, BUTTON_H = 64, 40
FRAMES = 4  # normal, hover, pressed, frame 3 (latched)

# Where things sit on the panel (client pixels).
READOUT = (16, 40, 254, 136)  # left, top, right, bottom
BUTTONS = [  # x, y, strip file, label, tooltip
    (268, 44, "setup.bmp", "SETUP", "Display Information Setup"),
    (336, 44, "fan.bmp", "FAN", "Fan Speed && Backlight Control"),
    (268, 92, "hide.bmp", "HIDE", "Hide to the notification area"),
    (336, 92, "quit.bmp", "QUIT", "Quit Torvex"),
]

# The live readout's parts ([Readout] in skin.ini), placed on the display that the backgrounds
# draw in its standby look.
DIGIT_W, DIGIT_H, DIGIT_GAP = 20, 34, 7
DIGITS_LEFT, DIGITS_TOP = READOUT[0] + 12, READOUT[1] + 20
LIVE_DIGITS = 3  # the whole-number digits; the tenths digit stays dark, figures are whole
GLYPHS = "0123456789- "  # the order of the digit strip's frames
SEGMENTS = {"0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg", "5": "acdfg",
            "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg", "-": "g", " ": ""}
UNIT_LEFT, UNIT_TOP, UNIT_PITCH = DIGITS_LEFT + 4 * (DIGIT_W + DIGIT_GAP) + 8, READOUT[1] + 21, 11
UNIT_WORDS = ("PCT", "DEG", "RPM")
# Frames of the unit strip: no item, a percentage, the temperature, the fan speed. The fan speed is
# a percentage of full speed, so it lights PCT alone: "75 RPM" beside it would read as a nearly
# stopped fan.
UNIT_FRAMES = ((), ("PCT",), ("DEG",), ("PCT",))
CELLS, CELL_W, CELL_GAP = 28, 6, 2
BAR_LEFT, BAR_TOP = READOUT[0] + 10, READOUT[3] - 22
STATUS_RIGHT = READOUT[2] - 8  # the fan mode and backlight words end here, as "USB" does
FAN_WORDS = ("OFF", "MAN", "AUTO")  # frames of the fan mode strip
# The temperature warning: a triangle and a word, right-aligned under the backlight word.
WARN_WORD = "HI TEMP"
WARN_SIGN_W, WARN_SIGN_H, WARN_SIGN_GAP = 8, 7, 3

CYAN = (70, 205, 240)
AMBER = (255, 176, 48)
RED = (255, 86, 86)

# 5 x 7 pixel font: only the characters the skin writes.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "10001", "11001", "10101", "10011", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    " ": ["00000"] * 7,
}

# 3 x 5 font for the small scale legends.
SMALL_FONT = {
    "0": ["111", "101", "101", "101", "111"],
    "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"],
    "5": ["111", "100", "111", "001", "111"],
    "7": ["111", "001", "010", "010", "010"],
    "%": ["101", "001", "010", "100", "101"],
}


class Image:
    """A picture of `width` x `height` skin pixels, held as K x K device pixels each. `put` and
    `mingle` work on one device pixel; the others on whole skin pixels."""

    def __init__(self, width, height, color=(0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[color] * (width * K) for _ in range(height * K)]

    def put(self, px, py, color):
        if 0 <= px < self.width * K and 0 <= py < self.height * K:
            self.pixels[py][px] = tuple(max(0, min(255, int(round(c)))) for c in color)

    def mingle(self, px, py, color, alpha):
        if alpha <= 0 or not (0 <= px < self.width * K and 0 <= py < self.height * K):
            return
        alpha = min(alpha, 1.0)
        base = self.pixels[py][px]
        self.put(px, py, [b + (c - b) * alpha for b, c in zip(base, color)])

    def set(self, x, y, color):
        for py in range(y * K, y * K + K):
            for px in range(x * K, x * K + K):
                self.put(px, py, color)

    def blend(self, x, y, color, alpha):
        for py in range(y * K, y * K + K):
            for px in range(x * K, x * K + K):
                self.mingle(px, py, color, alpha)

    def fill(self, left, top, right, bottom, color):
        for py in range(top * K, bottom * K):
            for px in range(left * K, right * K):
                self.put(px, py, color)

    def paste(self, other, left, top):
        for py in range(other.height * K):
            for px in range(other.width * K):
                self.put(left * K + px, top * K + py, other.pixels[py][px])

    def crop(self, left, top, right, bottom):
        out = Image(right - left, bottom - top)
        for py in range(top * K, bottom * K):
            for px in range(left * K, right * K):
                out.pixels[py - top * K][px - left * K] = self.pixels[py][px]
        return out

    def save_bmp(self, path):
        width, height = self.width * K, self.height * K
        row_size = (width * 3 + 3) & ~3
        data = bytearray()
        for y in range(height - 1, -1, -1):  # bottom-up rows
            row = bytearray()
            for r, g, b in self.pixels[y]:
                row += bytes((b, g, r))
            row += b"\0" * (row_size - len(row))
            data += row
        header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data),
                           2835, 2835, 0, 0)
        with open(path, "wb") as file:
            file.write(header + info + data)


class Noise:
    """A small linear congruential generator, so the brushed grain is the same on every run."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 0x100000000


def at(device):
    """The skin-pixel place of a device pixel's centre, counted like the skin pixels' own."""
    return (device + 0.5) / K - 0.5


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def scale(color, factor):
    return tuple(c * factor for c in color)


def draw_text(image, text, left, top, color, size=1, font=FONT, spacing=1, shade=None):
    """Pixel text; `shade` (top colour, bottom colour) overrides `color` with a vertical ramp."""
    cell = len(next(iter(font.values()))[0])
    x = left
    for char in text:
        glyph = font[char]
        rows = len(glyph)
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit != "1":
                    continue
                for sy in range(size):
                    for sx in range(size):
                        py = gy * size + sy
                        ink = mix(shade[0], shade[1], py / (rows * size - 1)) if shade else color
                        image.set(x + gx * size + sx, top + py, ink)
        x += (cell + spacing) * size
    return x


def text_width(text, size=1, font=FONT, spacing=1):
    cell = len(next(iter(font.values()))[0])
    return len(text) * (cell + spacing) * size - spacing * size


def cover(image, left, top, width, height, inside, color, samples=4):
    """Anti-aliased shape: `inside(x, y)` in skin pixels, sampled samples x samples per device
    pixel."""
    for py in range(height * K):
        for px in range(width * K):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    if inside((px + (sx + 0.5) / samples) / K, (py + (sy + 0.5) / samples) / K):
                        hits += 1
            image.mingle(left * K + px, top * K + py, color, hits / (samples * samples))


# ---------------------------------------------------------------- the panel


def brushed_panel(seed, top_color, bottom_color):
    image = Image(WIDTH, HEIGHT)
    noise = Noise(seed)
    rows, columns = HEIGHT * K, WIDTH * K
    streak = [0.0] * rows
    for y in range(rows):
        streak[y] = (noise.next() - 0.5) * 0.06
    # Grain in device pixels, its streaks as long and as strong in skin pixels at any K.
    decay = 0.92 ** (1.0 / K)
    strength = 0.05 * math.sqrt((1 - decay ** 2) / (1 - 0.92 ** 2))
    for y in range(rows):
        base = mix(top_color, bottom_color, y / (rows - 1))
        drift = 0.0
        for x in range(columns):
            drift = drift * decay + (noise.next() - 0.5) * strength
            grain = 1.0 + streak[y] + drift
            image.put(x, y, scale(base, grain))
    return image


def bevel(image, left, top, right, bottom, light, dark, depth=1):
    for d in range(depth):
        for x in range(left + d, right - d):
            image.blend(x, top + d, light[0], light[1])
            image.blend(x, bottom - 1 - d, dark[0], dark[1])
        for y in range(top + d, bottom - d):
            image.blend(left + d, y, light[0], light[1])
            image.blend(right - 1 - d, y, dark[0], dark[1])


def frame_panel(image):
    # Outer edge, then a raised two-pixel bevel, then a fine inner groove.
    for x in range(WIDTH):
        image.set(x, 0, (6, 7, 9))
        image.set(x, HEIGHT - 1, (4, 5, 6))
    for y in range(HEIGHT):
        image.set(0, y, (6, 7, 9))
        image.set(WIDTH - 1, y, (4, 5, 6))
    bevel(image, 1, 1, WIDTH - 1, HEIGHT - 1, ((150, 160, 172), 0.55), ((0, 0, 0), 0.6), 2)
    bevel(image, 5, 5, WIDTH - 5, HEIGHT - 5, ((0, 0, 0), 0.45), ((140, 150, 160), 0.25), 1)
    # Screws in the corners.
    for cx, cy in ((10, 10), (WIDTH - 11, 10), (10, HEIGHT - 11), (WIDTH - 11, HEIGHT - 11)):
        screw(image, cx, cy)


def screw(image, cx, cy):
    def head(x, y):
        return (x - 3.5) ** 2 + (y - 3.5) ** 2 <= 3.2 ** 2

    def slot(x, y):
        return head(x, y) and abs((x - 3.5) - (y - 3.5)) < 0.7

    cover(image, cx - 3, cy - 3, 8, 8, head, (92, 100, 110))
    cover(image, cx - 3, cy - 3, 8, 8, lambda x, y: head(x, y) and x + y < 6, (150, 158, 168))
    cover(image, cx - 3, cy - 3, 8, 8, slot, (24, 27, 31))


def lamp_place():
    """Left and top of the status lamp before "FRONT PANEL LINK" (the title's subtitle)."""
    return WIDTH - 22 - text_width("FRONT PANEL LINK") - 12, 12 + 3


def title(image, lamp_on=True):
    left, top = 22, 12
    draw_text(image, "VELQUIN TORVEX", left + 1, top + 1, (0, 0, 0), size=2)
    end = draw_text(image, "VELQUIN TORVEX", left, top, None, size=2,
                    shade=((236, 240, 246), (150, 160, 172)))
    subtitle = "FRONT PANEL LINK"
    sub_left = WIDTH - 22 - text_width(subtitle)
    draw_text(image, subtitle, sub_left, top + 4, (112, 124, 138))
    # A status lamp between the title and the subtitle; dark, it is a bead of smoked glass.
    lamp_x, lamp_y = lamp_place()
    cover(image, lamp_x, lamp_y, 7, 7, lambda x, y: (x - 3.5) ** 2 + (y - 3.5) ** 2 <= 9,
          (30, 110, 140) if lamp_on else (14, 30, 36))
    cover(image, lamp_x, lamp_y, 7, 7, lambda x, y: (x - 3.5) ** 2 + (y - 3.5) ** 2 <= 4,
          CYAN if lamp_on else (22, 48, 58))
    # A cyan rule under the title that fades out at both ends.
    for x in range(14, WIDTH - 14):
        t = (x - 14) / (WIDTH - 29)
        fade = min(1.0, t / 0.2, (1 - t) / 0.2)
        image.blend(x, 33, CYAN, 0.75 * fade)
        image.blend(x, 34, (0, 0, 0), 0.5 * fade)
    return end


def seven_segment(image, left, top, width, height, lit, on, off, thickness=3):
    """One digit; segments as bevelled bars so they read at 1:1."""
    half = height // 2
    bars = {
        "a": (left + 1, top, width - 2, thickness, True),
        "g": (left + 1, top + half - thickness // 2, width - 2, thickness, True),
        "d": (left + 1, top + height - thickness, width - 2, thickness, True),
        "f": (left, top + 1, thickness, half - 1, False),
        "b": (left + width - thickness, top + 1, thickness, half - 1, False),
        "e": (left, top + half + 1, thickness, half - 1, False),
        "c": (left + width - thickness, top + half + 1, thickness, half - 1, False),
    }
    for name, (x, y, w, h, horizontal) in bars.items():
        color = on if name in lit else off

        def inside(px, py, w=w, h=h, horizontal=horizontal):
            # Pointed ends: a bar narrows over its first and last `thickness / 2` pixels.
            along, across, length, size = (px, py, w, h) if horizontal else (py, px, h, w)
            end = min(along, length - along)
            return abs(across - size / 2) <= min(size / 2, end + 0.2)

        cover(image, x, y, w, h, inside, color)


class Look:
    """What the display shows: the lit segments of each of the four digits, the lit unit words,
    the lit bar cells, the fan mode word, the backlight word and the temperature warning (None:
    not drawn), the glare."""

    def __init__(self, digits=("g", "g", "g", "g"), units=("PCT",), lit_cells=17, fan=None,
                 light=None, warning=None, glare=True):
        self.digits, self.units, self.lit_cells = digits, units, lit_cells
        self.fan, self.light, self.warning, self.glare = fan, light, warning, glare


# The backgrounds' display: dashes standing by, PCT, a bar at 60 %.
STANDBY = Look()
# Nothing lit and no glare, so that any frame of a strip fits at any place: the readout's face and
# the ground every strip is drawn on.
DARK = Look(digits=("", "", "", ""), units=(), lit_cells=0, glare=False)


def warn_place():
    """Left, top and width of the temperature warning."""
    width = WARN_SIGN_W + WARN_SIGN_GAP + text_width(WARN_WORD)
    return STATUS_RIGHT - width, UNIT_TOP + 2 * UNIT_PITCH, width


def warning_sign(image, left, top, color, ground):
    """A warning triangle with an exclamation mark cut out of it."""
    half = WARN_SIGN_W / 2

    def triangle(x, y):
        return abs(x - half) <= y * half / WARN_SIGN_H

    def mark(x, y):
        return abs(x - half) <= 0.5 and (2.2 <= y <= 4.6 or 5.4 <= y <= 6.4)

    cover(image, left, top, WARN_SIGN_W, WARN_SIGN_H, triangle, color)
    cover(image, left, top, WARN_SIGN_W, WARN_SIGN_H, lambda x, y: triangle(x, y) and mark(x, y),
          ground)


def digit_left(i):
    return DIGITS_LEFT + i * (DIGIT_W + DIGIT_GAP) + (6 if i >= 3 else 0)


def bar_cell_color(i, bar_colors):
    t = i / (CELLS - 1)
    if t < 0.6:
        return mix(bar_colors[0], bar_colors[1], min(1, t / 0.6))
    return mix(bar_colors[1], bar_colors[2], (t - 0.6) / 0.4)


def readout(image, lit_color, ghost_color, bar_colors, look=STANDBY):
    left, top, right, bottom = READOUT
    # Recessed glass: dark fill, inner shadow, thin bright lip at the bottom.
    for py in range(top * K, bottom * K):
        for px in range(left * K, right * K):
            t = (at(py) - top) / (bottom - top)
            base = mix((8, 20, 26), (4, 10, 13), t)
            if (py - top * K) % (3 * K) == 0:
                base = scale(base, 0.85)  # faint scan lines, one device pixel thin
            image.put(px, py, base)
    bevel(image, left, top, right, bottom, ((0, 0, 0), 0.85), ((160, 170, 180), 0.35), 1)
    bevel(image, left + 1, top + 1, right - 1, bottom - 1, ((0, 0, 0), 0.4), ((0, 0, 0), 0.0), 1)
    # A faint slanted glare across the upper part of the glass.
    for py in range((top + 2) * K, (bottom - 2) * K):
        for px in range((left + 2) * K, (right - 2) * K):
            band = (at(px) - left) * 0.35 + (at(py) - top) * 1.6
            if look.glare and 30 <= band <= 70:
                image.mingle(px, py, (200, 230, 255), 0.035 * (1 - abs(band - 50) / 20))
    # Legend row.
    draw_text(image, "METER", left + 8, top + 7, scale(lit_color, 0.55))
    draw_text(image, "USB", right - 8 - text_width("USB"), top + 7, scale(lit_color, 0.35))
    # Digits: ghosts of every segment, the lit ones over them.
    for i in range(4):
        seven_segment(image, digit_left(i), DIGITS_TOP, DIGIT_W, DIGIT_H, look.digits[i],
                      lit_color, ghost_color)
    # Decimal point between the third and fourth digit.
    dot_x = DIGITS_LEFT + 3 * (DIGIT_W + DIGIT_GAP) - 3
    cover(image, dot_x, DIGITS_TOP + DIGIT_H - 4, 4, 4,
          lambda x, y: (x - 2) ** 2 + (y - 2) ** 2 <= 3, ghost_color)
    # Units, small, to the right of the digits.
    for row, word in enumerate(UNIT_WORDS):
        color = lit_color if word in look.units else ghost_color
        draw_text(image, word, UNIT_LEFT, UNIT_TOP + row * UNIT_PITCH, color)
    # The fan mode and the backlight, right-aligned under the legend.
    if look.fan is not None:
        fan_left = STATUS_RIGHT - text_width("FAN AUTO")
        draw_text(image, "FAN", fan_left, UNIT_TOP, scale(lit_color, 0.55))
        word_color = scale(lit_color, 0.35) if look.fan == "OFF" else lit_color
        draw_text(image, look.fan, fan_left + text_width("FAN "), UNIT_TOP, word_color)
    if look.light is not None:
        draw_text(image, "LIGHT", STATUS_RIGHT - text_width("LIGHT"), UNIT_TOP + UNIT_PITCH,
                  lit_color if look.light else ghost_color)
    # The warning glows red; calm, it is as dark as an unlit bar cell.
    if look.warning is not None:
        warn_left, warn_top, _ = warn_place()
        warn_color = RED if look.warning else scale(RED, 0.16)
        warning_sign(image, warn_left, warn_top, warn_color, (6, 14, 18))
        draw_text(image, WARN_WORD, warn_left + WARN_SIGN_W + WARN_SIGN_GAP, warn_top, warn_color)
    # A bar graph of 28 cells along the bottom with its scale.
    for i in range(CELLS):
        color = bar_cell_color(i, bar_colors)
        x = BAR_LEFT + i * (CELL_W + CELL_GAP)
        if i < look.lit_cells:
            image.fill(x, BAR_TOP, x + CELL_W, BAR_TOP + 7, color)
            for px in range(x, x + CELL_W):
                image.blend(px, BAR_TOP, (255, 255, 255), 0.35)
        else:
            image.fill(x, BAR_TOP, x + CELL_W, BAR_TOP + 7, scale(color, 0.16))
    for value, cell in (("0", 0), ("25", 7), ("50", 14), ("75", 21), ("100", 27)):
        cell_left = BAR_LEFT + cell * (CELL_W + CELL_GAP)
        label_left = cell_left + CELL_W // 2 - text_width(value, font=SMALL_FONT) // 2
        if cell == CELLS - 1:  # the last label ends with its cell
            label_left = cell_left + CELL_W - text_width(value, font=SMALL_FONT)
        draw_text(image, value, label_left, BAR_TOP + 10, scale(lit_color, 0.5), font=SMALL_FONT)


def button_well(image):
    # The recess that the four buttons sit in.
    left, top, right, bottom = 264, 40, 404, 136
    for y in range(top, bottom):
        for x in range(left, right):
            image.blend(x, y, (0, 0, 0), 0.28)
    bevel(image, left, top, right, bottom, ((0, 0, 0), 0.6), ((150, 160, 172), 0.3), 1)


def draw_background(lit_color, ghost_color, bar_colors, seed, lamp_on=True):
    image = brushed_panel(seed, (54, 60, 68), (22, 25, 29))
    frame_panel(image)
    title(image, lamp_on)
    readout(image, lit_color, ghost_color, bar_colors)
    button_well(image)
    return image


# ---------------------------------------------------------------- the buttons

ICON = 22  # pictogram box, pixels


def icon_setup(x, y):
    """A monitor showing a small bar chart: what the meter is to display."""
    frame = 1.5 <= x <= 20.5 and 2.5 <= y <= 16.5
    screen = 3.3 <= x <= 18.7 and 4.3 <= y <= 14.7
    stand = (9.5 <= x <= 12.5 and 16.5 <= y <= 18.5) or (6 <= x <= 16 and 18.5 <= y <= 20.2)
    bars = False
    for left, top in ((5.5, 10.5), (9.5, 7.5), (13.5, 5.5)):
        if left <= x <= left + 2.8 and top <= y <= 13.2:
            bars = True
    return (frame and not screen) or stand or bars


def icon_fan(x, y):
    """Four curved fan blades around a hub, inside a ring."""
    dx, dy = x - 11, y - 11
    r = math.hypot(dx, dy)
    ring = 9.0 <= r <= 10.4
    hub = r <= 2.4
    angle = math.atan2(dy, dx)
    blade = False
    if 2.4 < r <= 7.8:
        phase = (angle + r * 0.16) % (math.pi / 2)
        blade = phase < 0.95
    return ring or hub or blade


def icon_hide(x, y):
    """An arrow dropping into a tray."""
    shaft = 9.6 <= x <= 12.4 and 1.5 <= y <= 9
    head = y >= 8 and y <= 14 and abs(x - 11) <= (14 - y)
    tray_floor = 3 <= x <= 19 and 18 <= y <= 20
    tray_walls = (3 <= x <= 5 and 13 <= y <= 20) or (17 <= x <= 19 and 13 <= y <= 20)
    return shaft or head or tray_floor or tray_walls


def icon_quit(x, y):
    """The power symbol: an open ring and a bar through its gap."""
    dx, dy = x - 11, y - 12
    r = math.hypot(dx, dy)
    ring = 6.4 <= r <= 8.6 and not (dy < 0 and abs(dx) < 4.2)
    bar = abs(dx) <= 1.3 and 1.5 <= y <= 11.5
    return ring or bar


ICONS = {"setup.bmp": icon_setup, "fan.bmp": icon_fan, "hide.bmp": icon_hide,
         "quit.bmp": icon_quit}


def button_frame(panel_patch, icon, label, frame, accent):
    """One frame of a button drawn over the piece of the panel it covers."""
    image = Image(BUTTON_W, BUTTON_H)
    image.paste(panel_patch, 0, 0)
    pressed = frame == 2
    hover = frame == 1
    latched = frame == 3
    top_color, bottom_color = (66, 74, 84), (36, 41, 47)
    if hover:
        top_color, bottom_color = (82, 92, 104), (44, 50, 58)
    if pressed:
        top_color, bottom_color = (26, 30, 35), (44, 50, 57)
    if latched:
        top_color, bottom_color = (70, 62, 48), (40, 35, 28)
    # Body with rounded corners, over a one-pixel dark outline.
    def body(px, py, inset=0.0):
        x0, y0, x1, y1 = 0.5 + inset, 0.5 + inset, BUTTON_W - 0.5 - inset, BUTTON_H - 0.5 - inset
        radius = 4.0 - inset
        cx = min(max(px, x0 + radius), x1 - radius)
        cy = min(max(py, y0 + radius), y1 - radius)
        return (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2 and x0 <= px <= x1 and y0 <= py <= y1

    cover(image, 0, 0, BUTTON_W, BUTTON_H, body, (8, 9, 11))
    for py in range(BUTTON_H * K):
        fill = mix(top_color, bottom_color, at(py) / (BUTTON_H - 1))
        for px in range(BUTTON_W * K):
            inside = 0
            for s in range(4):
                if body((px + 0.25 + (s % 2) * 0.5) / K, (py + 0.25 + (s // 2) * 0.5) / K,
                        inset=1.0):
                    inside += 1
            image.mingle(px, py, fill, inside / 4)
    # Bevel: light above and left when raised, inverted when pressed.
    light, dark = ((255, 255, 255), 0.22), ((0, 0, 0), 0.45)
    if pressed:
        light, dark = ((0, 0, 0), 0.5), ((255, 255, 255), 0.1)
    for px in range(4, BUTTON_W - 4):
        image.blend(px, 2, *light)
        image.blend(px, BUTTON_H - 3, *dark)
    for py in range(4, BUTTON_H - 4):
        image.blend(2, py, *light)
        image.blend(BUTTON_W - 3, py, *dark)
    # A glowing outline on hover and when latched.
    glow = accent if hover else AMBER if latched else None
    if glow:
        def outline(px, py):
            return body(px, py, 0.6) and not body(px, py, 1.8)

        cover(image, 0, 0, BUTTON_W, BUTTON_H, outline, glow)
    shift = 1 if pressed else 0
    icon_color = (206, 214, 224)
    label_color = (136, 148, 162)
    if hover:
        icon_color, label_color = (236, 246, 255), mix(accent, (255, 255, 255), 0.3)
    if pressed:
        icon_color, label_color = accent, scale(accent, 0.8)
    if latched:
        icon_color, label_color = AMBER, scale(AMBER, 0.85)
    icon_left = (BUTTON_W - ICON) // 2 + shift
    icon_top = 4 + shift
    # Drop shadow, then the pictogram.
    cover(image, icon_left + 1, icon_top + 1, ICON, ICON, icon, (0, 0, 0))
    cover(image, icon_left, icon_top, ICON, ICON, icon, icon_color)
    label_left = (BUTTON_W - text_width(label)) // 2 + shift
    draw_text(image, label, label_left, BUTTON_H - 11 + shift, label_color)
    return image


def draw_strip(panel, x, y, file_name, label):
    patch = panel.crop(x, y, x + BUTTON_W, y + BUTTON_H)
    accent = RED if file_name == "quit.bmp" else CYAN
    strip = Image(BUTTON_W * FRAMES, BUTTON_H)
    for frame in range(FRAMES):
        strip.paste(button_frame(patch, ICONS[file_name], label, frame, accent), frame * BUTTON_W, 0)
    return strip


# ---------------------------------------------------------------- the live readout


def readout_parts():
    """[Readout] keys in file order: key, strip file, left, top, frame width, frame height and the
    numbers that follow."""
    lamp_x, lamp_y = lamp_place()
    fan_width = text_width("FAN AUTO")
    warn_left, warn_top, warn_width = warn_place()
    return [
        ("Face", "face.bmp", READOUT[0], READOUT[1], READOUT[2] - READOUT[0],
         READOUT[3] - READOUT[1], ()),
        ("Digits", "digits.bmp", DIGITS_LEFT, DIGITS_TOP, DIGIT_W, DIGIT_H,
         (LIVE_DIGITS, DIGIT_W + DIGIT_GAP)),
        ("Unit", "unit.bmp", UNIT_LEFT, UNIT_TOP, text_width("PCT"),
         (len(UNIT_WORDS) - 1) * UNIT_PITCH + 7, ()),
        ("Bar", "bar.bmp", BAR_LEFT, BAR_TOP, CELLS * (CELL_W + CELL_GAP), 7, (CELLS,)),
        ("Link", "link.bmp", lamp_x, lamp_y, 7, 7, ()),
        ("FanMode", "fanmode.bmp", STATUS_RIGHT - fan_width, UNIT_TOP, fan_width, 7, ()),
        ("Backlight", "backlight.bmp", STATUS_RIGHT - text_width("LIGHT"), UNIT_TOP + UNIT_PITCH,
         text_width("LIGHT"), 7, ()),
        ("Warning", "warning.bmp", warn_left, warn_top, warn_width, WARN_SIGN_H, ()),
    ]


def readout_strips(background1, lit_color, ghost_color, bar_colors, seed):
    """Each part's strip, every frame cut from the display (or the panel) drawn in its state."""
    def display(**changes):
        settings = dict(DARK.__dict__)
        settings.update(changes)
        image = Image(WIDTH, HEIGHT)
        readout(image, lit_color, ghost_color, bar_colors, Look(**settings))
        return image

    frames = {
        "Face": [display()],
        # Every digit is cut from the first place: the dark glass is the same along a row.
        "Digits": [display(digits=(SEGMENTS[glyph], "", "", "")) for glyph in GLYPHS],
        "Unit": [display(units=words) for words in UNIT_FRAMES],
        "Bar": [display(lit_cells=0), display(lit_cells=CELLS)],
        "Link": [draw_background(lit_color, ghost_color, bar_colors, seed, lamp_on=False),
                 background1],
        "FanMode": [display(fan=word) for word in FAN_WORDS],
        "Backlight": [display(light=False), display(light=True)],
        "Warning": [display(warning=False), display(warning=True)],
    }
    strips = {}
    for key, file_name, x, y, width, height, _ in readout_parts():
        pictures = frames[key]
        strip = Image(width * len(pictures), height)
        for i, picture in enumerate(pictures):
            strip.paste(picture.crop(x, y, x + width, y + height), i * width, 0)
        strips[file_name] = strip
    return strips


TWICE_SIZE_DOC = [
    "; Every place and size in this file is in skin pixels: display pixels at 100 % scale. On a",
    "; display scaled up, Torvex scales them all by the display's DPI and draws the bitmaps for it.",
    "; Bitmaps2x, which a skin may leave out, names a folder of the skin with its bitmaps drawn at",
    "; twice the size under the same names; above 100 % they are drawn from there (as they are at",
    "; 200 %, smoothly resized at other scales). A bitmap missing there, or not exactly twice the",
    "; size of its 1x file, and every bitmap of a skin without the key, is resized from its 1x file:",
    "; pixels repeated at 200 % and 300 %, smoothly at other scales.",
    ";",
]

READOUT_DOC = [
    "; [Readout], which a skin may leave out, makes the meter display live: after every refresh",
    "; pass Torvex draws the figure it sent and the meter's state over Background1. Each key names",
    "; a strip of same-size frames side by side, then where one frame goes: file,x,y,width,height.",
    "; A missing or broken key leaves its part out; the other parts and the skin still load.",
    ";   Face       the display with nothing lit, drawn first (1 frame)",
    ";   Digits     ...,count,step: the figure right-aligned on count digits, step pixels apart;",
    ";              frames 0 to 9, dash (no meter, or no figure), blank (12 frames)",
    ";   Unit       the item: None, a share (disk, CPU, RAM, page file), temperature, fan speed",
    ";   Bar        ...[,segments]: empty, full; lit to the figure (0-100), in whole segments",
    ";   Link       no meter linked, meter linked",
    ";   FanMode    off, manual, auto",
    ";   Backlight  off, on",
    ";   Warning    calm, the meter's temperature at or above the warning level",
]


def skin_ini():
    lines = [
        "; Torvex default skin, drawn by make_skin.py.",
        ";",
    ] + TWICE_SIZE_DOC + READOUT_DOC + [
        "[MAIN]",
        "Background1=background1.bmp",
        "Background2=background2.bmp",
        "Bitmaps2x=" + TWICE_SIZE_FOLDER,
        # Region 0 the readout, 1 the title band, 2 the button well.
        "RECT=%d,%d,%d,%d,12,6,408,36,264,40,404,136" % READOUT,
    ]
    for number, (x, y, file_name, _, tooltip) in enumerate(BUTTONS, start=1):
        lines.append("Button.%d=PUSHBUTTON,%d,%d,%d,%d,%s,%s" % (
            number, x, y, BUTTON_W, BUTTON_H, file_name, tooltip))
    lines.append("[Readout]")
    for key, file_name, x, y, width, height, extra in readout_parts():
        numbers = (x, y, width, height) + extra
        lines.append("%s=%s,%s" % (key, file_name, ",".join(str(n) for n in numbers)))
    return "\r\n".join(lines) + "\r\n"


def draw_skin(out):
    """Every bitmap of the skin at the present K, into `out`."""
    cyan_look = (CYAN, (16, 40, 48), ((40, 170, 210), CYAN, AMBER))
    background1 = draw_background(*cyan_look, seed=7)
    background2 = draw_background(AMBER, (48, 34, 12), ((200, 120, 30), AMBER, RED), seed=7)
    background1.save_bmp(os.path.join(out, "background1.bmp"))
    background2.save_bmp(os.path.join(out, "background2.bmp"))
    for x, y, file_name, label, _ in BUTTONS:
        draw_strip(background1, x, y, file_name, label).save_bmp(os.path.join(out, file_name))
    for file_name, strip in readout_strips(background1, *cyan_look, seed=7).items():
        strip.save_bmp(os.path.join(out, file_name))


def main():
    global K
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for K, folder in ((1, out), (2, os.path.join(out, TWICE_SIZE_FOLDER))):
        os.makedirs(folder, exist_ok=True)
        draw_skin(folder)
    with open(os.path.join(out, "skin.ini"), "w", newline="") as file:
        file.write(skin_ini())


if __name__ == "__main__":
    main()
