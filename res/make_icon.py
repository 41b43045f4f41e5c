#!/usr/bin/env python3
"""Draws the application icon "icon2" and writes it as torvex.ico.

The picture is the meter itself as it sits in the case: a grey front-panel
bezel around a dark display whose LED arc is lit up to the needle, with the
figure as two segment digits below the pivot. The 48, 32 and 24 pixel images
are drawn from shapes; the 16 pixel ones are kept as pixel grids, without the
digits, because shapes that small turn to mush.

Usage: python3 res/make_icon.py [output.ico]   (default: torvex.ico next to
this script). Standard library only; the output is the same byte for byte on
every run.
"""

import collections
import math
import os
import struct
import sys

# ---------------------------------------------------------------------------
# Colours

TRUE_COLOURS = {
    "outline": (0x16, 0x19, 0x1D),
    "bezel_hi": (0xC9, 0xD0, 0xD8),
    "bezel": (0x8A, 0x93, 0x9D),
    "bezel_lo": (0x55, 0x5C, 0x65),
    "recess_dark": (0x2A, 0x2E, 0x33),
    "recess_light": (0xDD, 0xE2, 0xE8),
    "face": (0x08, 0x0C, 0x10),
    "green": (0x3C, 0xE0, 0x5C),
    "yellow": (0xFF, 0xD0, 0x2E),
    "red": (0xFF, 0x3B, 0x2F),
    "green_dim": (0x17, 0x3A, 0x20),
    "yellow_dim": (0x45, 0x3A, 0x12),
    "red_dim": (0x48, 0x16, 0x13),
    "needle": (0xFF, 0xFF, 0xFF),
    "pivot": (0xA8, 0xB0, 0xB8),
    "digit": (0x52, 0xD6, 0xFF),
}

# The standard Windows 16-colour palette, in its usual index order.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = VGA16[:8]
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = VGA16[8:]

# Each element picked by hand in the 16 colours: nearest-colour matching
# would blacken the unlit segments and flatten the bezel's bevel.
VGA_COLOURS = {
    "outline": BLACK,
    "bezel_hi": WHITE,
    "bezel": SILVER,
    "bezel_lo": GREY,
    "recess_dark": GREY,
    "recess_light": WHITE,
    "face": BLACK,
    "green": LIME,
    "yellow": YELLOW,
    "red": RED,
    "green_dim": GREEN,
    "yellow_dim": OLIVE,
    "red_dim": MAROON,
    "needle": WHITE,
    "pivot": SILVER,
    "digit": AQUA,
}

MONO = [BLACK, WHITE]
MONO_COLOURS = {
    "outline": BLACK,
    "bezel_hi": WHITE,
    "bezel": WHITE,
    "bezel_lo": WHITE,
    "recess_dark": BLACK,
    "recess_light": BLACK,
    "face": BLACK,
    "green": WHITE,
    "yellow": WHITE,
    "red": WHITE,
    "green_dim": BLACK,
    "yellow_dim": BLACK,
    "red_dim": BLACK,
    "needle": WHITE,
    "pivot": WHITE,
    "digit": WHITE,
}

# ---------------------------------------------------------------------------
# Shapes. Coordinates are in pixels, y downwards, pixel (i, j) covering
# [i, i + 1) x [j, j + 1).


def rounded_rect_distance(x, y, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle, negative inside."""
    cx = (left + right) / 2.0
    cy = (top + bottom) / 2.0
    hx = (right - left) / 2.0 - radius
    hy = (bottom - top) / 2.0 - radius
    dx = abs(x - cx) - hx
    dy = abs(y - cy) - hy
    outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
    inside = min(max(dx, dy), 0.0)
    return outside + inside - radius


# Where the parts of the meter sit at one icon size. Rectangles are
# (left, top, right, bottom); needle is (length, base half-width, tip
# half-width, pivot radius); digits is (left, top, width, height, stroke,
# gap between digits); gap_degrees is the gap between arc segments, measured
# at the arc's middle radius.
Layout = collections.namedtuple(
    "Layout",
    "size bezel bezel_radius window window_radius centre arc_radii segments gap_degrees needle digits",
)


# The arc sweeps from lower left over the top to lower right; the needle
# stands at about two thirds, so green and yellow are lit and red is not.
ARC_START_DEGREES = 215.0
ARC_SWEEP_DEGREES = 250.0
NEEDLE_FRACTION = 0.66
READOUT = "72"

LAYOUTS = {
    48: Layout(
        size=48,
        bezel=(1, 4, 47, 44),
        bezel_radius=6.0,
        window=(5, 8, 43, 40),
        window_radius=2.5,
        centre=(24.0, 24.5),
        arc_radii=(10.0, 14.5),
        segments=12,
        gap_degrees=5.0,
        needle=(12.0, 1.6, 0.55, 2.6),
        digits=(17, 28, 6, 10, 2, 2),
    ),
    32: Layout(
        size=32,
        bezel=(0, 3, 32, 29),
        bezel_radius=4.0,
        window=(3, 6, 29, 26),
        window_radius=1.5,
        centre=(16.0, 16.5),
        arc_radii=(7.0, 10.0),
        segments=7,
        gap_degrees=10.0,
        needle=(8.3, 1.2, 0.5, 1.9),
        digits=(13, 19, 3, 5, 1, 1),
    ),
    # The small icon at 150 %: the 32-pixel meter three quarters the size.
    24: Layout(
        size=24,
        bezel=(0, 2, 24, 22),
        bezel_radius=3.0,
        window=(2, 4, 22, 20),
        window_radius=1.0,
        centre=(12.0, 12.5),
        arc_radii=(5.0, 7.5),
        segments=6,
        gap_degrees=12.0,
        needle=(6.3, 1.0, 0.45, 1.5),
        digits=(9, 14, 3, 5, 1, 1),
    ),
}

SEVEN_SEGMENTS = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg",
    "5": "acdfg", "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg",
}


def segment_zone(index, count):
    """Green for the low part of the scale, yellow above it, red at the top."""
    fraction = (index + 0.5) / count
    if fraction < 0.55:
        return "green"
    if fraction < 0.8:
        return "yellow"
    return "red"


def arc_element(layout, x, y):
    cx, cy = layout.centre
    inner, outer = layout.arc_radii
    r = math.hypot(x - cx, y - cy)
    if r < inner or r > outer:
        return None
    angle = math.degrees(math.atan2(cy - y, x - cx))
    travelled = (ARC_START_DEGREES - angle) % 360.0
    if travelled > ARC_SWEEP_DEGREES:
        return None
    step = ARC_SWEEP_DEGREES / layout.segments
    index = int(travelled // step)
    within = travelled - index * step
    # Gaps keep the same width in pixels along the arc, so they are sized
    # at the middle radius rather than as a fixed angle.
    gap = math.radians(layout.gap_degrees) * (inner + outer) / 2.0 / 2.0
    along = math.radians(min(within, step - within)) * r
    if along < gap:
        return None
    zone = segment_zone(index, layout.segments)
    lit = (index + 0.5) / layout.segments <= NEEDLE_FRACTION
    return zone if lit else zone + "_dim"


def needle_element(layout, x, y):
    cx, cy = layout.centre
    length, base, tip, pivot = layout.needle
    if math.hypot(x - cx, y - cy) <= pivot:
        return "pivot"
    angle = math.radians(ARC_START_DEGREES - ARC_SWEEP_DEGREES * NEEDLE_FRACTION)
    ux, uy = math.cos(angle), -math.sin(angle)
    along = (x - cx) * ux + (y - cy) * uy
    across = abs(-(x - cx) * uy + (y - cy) * ux)
    if along < 0.0 or along > length:
        return None
    half_width = base + (tip - base) * along / length
    return "needle" if across <= half_width else None


def digit_element(layout, x, y):
    left, top, width, height, stroke, gap = layout.digits
    position = int((x - left) // (width + gap))
    if position < 0 or position >= len(READOUT) or not top <= y < top + height:
        return None
    lx = x - left - position * (width + gap)
    ly = y - top
    middle = (height - stroke) / 2.0
    bars = {
        "a": (0, 0, width, stroke),
        "b": (width - stroke, 0, width, middle + stroke),
        "c": (width - stroke, middle, width, height),
        "d": (0, height - stroke, width, height),
        "e": (0, middle, stroke, height),
        "f": (0, 0, stroke, middle + stroke),
        "g": (0, middle, width, middle + stroke),
    }
    for name in SEVEN_SEGMENTS[READOUT[position]]:
        x0, y0, x1, y1 = bars[name]
        if x0 <= lx < x1 and y0 <= ly < y1:
            return "digit"
    return None


def scene_element(layout, x, y):
    """The topmost element at a point, or None outside the icon."""
    bezel_distance = rounded_rect_distance(x, y, *layout.bezel, layout.bezel_radius)
    if bezel_distance > 0.0:
        return None
    if bezel_distance > -1.0:
        return "outline"
    window_distance = rounded_rect_distance(x, y, *layout.window, layout.window_radius)
    if window_distance > 1.0:
        return bezel_shade(layout, x, y, bezel_distance)
    if window_distance > 0.0:
        # The display sits in a recess one pixel wide: shadow on its upper-left rim, light
        # catching the lower-right one.
        wl, wt, wr, wb = layout.window
        upper_left = (x - wl) + (y - wt) < (wr - x) + (wb - y)
        return "recess_dark" if upper_left else "recess_light"
    for probe in (digit_element, needle_element, arc_element):
        element = probe(layout, x, y)
        if element is not None:
            return element
    return "face"


def bezel_shade(layout, x, y, distance):
    left, top, right, bottom = layout.bezel
    if distance > -2.0:
        # A bevel lit from above: the top rim catches the light, the bottom
        # rim falls into shadow.
        if y < top + (bottom - top) * 0.35:
            return "bezel_hi"
        if y > top + (bottom - top) * 0.65:
            return "bezel_lo"
    return "bezel"


SUPERSAMPLE = 4
ELEMENT_ORDER = list(TRUE_COLOURS)


def sample_pixel(layout, px, py):
    """The elements hit by a grid of samples inside one pixel."""
    hits = []
    for sy in range(SUPERSAMPLE):
        for sx in range(SUPERSAMPLE):
            x = px + (sx + 0.5) / SUPERSAMPLE
            y = py + (sy + 0.5) / SUPERSAMPLE
            hits.append(scene_element(layout, x, y))
    return hits


def render_smooth(layout):
    """Anti-aliased colours; the silhouette stays crisp for the 1-bit mask."""
    rows = []
    for py in range(layout.size):
        row = []
        for px in range(layout.size):
            hits = [h for h in sample_pixel(layout, px, py) if h is not None]
            if len(hits) * 2 <= SUPERSAMPLE * SUPERSAMPLE:
                row.append(None)
                continue
            total = [0, 0, 0]
            for element in hits:
                for channel in range(3):
                    total[channel] += TRUE_COLOURS[element][channel]
            row.append(tuple((value + len(hits) // 2) // len(hits) for value in total))
        rows.append(row)
    return rows


def render_flat(layout, colours):
    """One colour per pixel, from the element covering most of it."""
    rows = []
    for py in range(layout.size):
        row = []
        for px in range(layout.size):
            hits = sample_pixel(layout, px, py)
            if hits.count(None) * 2 >= len(hits):
                row.append(None)
                continue
            counts = collections.Counter(h for h in hits if h is not None)
            # Ties go to the element listed first in the colour table, so the
            # choice never depends on sample order.
            best = max(counts, key=lambda e: (counts[e], -ELEMENT_ORDER.index(e)))
            row.append(colours[best])
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------
# 16 x 16: drawn by hand, '.' transparent. No dark outline and no recess
# here: each would cost the display a pixel on every side. The arc is
# unbroken and the needle a 45-degree line, the only slant that stays crisp.

GRID_16 = [
    "................",
    ".HHHHHHHHHHHHHH.",
    "BFFFFFFFFFFFFFFB",
    "BFFFFFFFFFFFFFFB",
    "BFFFFggggyyFFFFB",
    "BFFFgggggyyyFFFB",
    "BFFgggFFFFyWyFFB",
    "BFgggFFFFFWyyyFB",
    "BFggFFFFFWFFyyFB",
    "BFggFFFPPFFFrrFB",
    "BFggFFFPPFFFrrFB",
    "BFggFFFFFFFFrrFB",
    "BFFFFFFFFFFFFFFB",
    "BBBBBBBBBBBBBBBB",
    ".LLLLLLLLLLLLLL.",
    "................",
]

GRID_16_ELEMENTS = {
    "H": "bezel_hi",
    "B": "bezel",
    "L": "bezel_lo",
    "F": "face",
    "g": "green",
    "y": "yellow",
    "r": "red_dim",
    "W": "needle",
    "P": "pivot",
}


def render_grid(grid, colours):
    return [[None if c == "." else colours[GRID_16_ELEMENTS[c]] for c in line] for line in grid]


# ---------------------------------------------------------------------------
# ICO writing


def pack_rows(indices, width, bits):
    """Bottom-up rows of palette indices, each padded to four bytes."""
    out = bytearray()
    per_byte = 8 // bits
    for row in reversed(indices):
        line = bytearray()
        for start in range(0, width, per_byte):
            value = 0
            for offset in range(per_byte):
                value <<= bits
                if start + offset < width:
                    value |= row[start + offset]
            line.append(value)
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def used_palette(pixels):
    """The colours an image uses, black first: transparent pixels carry
    black in the colour bitmap so the mask alone decides what shows."""
    colours = {(0, 0, 0)}
    for row in pixels:
        colours.update(c for c in row if c is not None)
    ordered = sorted(colours)
    if len(ordered) > 256:
        raise SystemExit("256-colour image uses %d colours" % len(ordered))
    return ordered


def encode_image(pixels, bits, palette):
    height = len(pixels)
    width = len(pixels[0])
    lookup = {colour: index for index, colour in enumerate(palette)}
    indices = [[lookup[c] if c is not None else lookup[(0, 0, 0)] for c in row] for row in pixels]
    mask = [[1 if c is None else 0 for c in row] for row in pixels]
    xor_bits = pack_rows(indices, width, bits)
    and_bits = pack_rows(mask, width, 1)
    colours_used = len(palette) if bits == 8 else 0
    header = struct.pack(
        "<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0,
        len(xor_bits) + len(and_bits), 0, 0, colours_used, 0)
    quads = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + quads + xor_bits + and_bits


def write_ico(path, images):
    """images: (pixels, bits, palette) in directory order."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    blobs = b""
    for pixels, bits, palette in images:
        blob = encode_image(pixels, bits, palette)
        size = len(pixels)
        colour_count = 0 if bits == 8 else 1 << bits
        entries += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as out:
        out.write(directory + entries + blobs)


def check_palette(pixels, palette):
    allowed = set(palette)
    for row in pixels:
        for colour in row:
            if colour is not None and colour not in allowed:
                raise SystemExit("colour %r is not in the fixed palette" % (colour,))


def build_images():
    smooth_16 = render_grid(GRID_16, TRUE_COLOURS)
    vga_16 = render_grid(GRID_16, VGA_COLOURS)
    smooth_24 = render_smooth(LAYOUTS[24])
    smooth_32 = render_smooth(LAYOUTS[32])
    vga_32 = render_flat(LAYOUTS[32], VGA_COLOURS)
    mono_32 = render_flat(LAYOUTS[32], MONO_COLOURS)
    smooth_48 = render_smooth(LAYOUTS[48])
    for pixels, palette in ((vga_16, VGA16), (vga_32, VGA16), (mono_32, MONO)):
        check_palette(pixels, palette)
    return [
        (smooth_16, 8, used_palette(smooth_16)),
        (vga_16, 4, VGA16),
        (smooth_24, 8, used_palette(smooth_24)),
        (smooth_32, 8, used_palette(smooth_32)),
        (vga_32, 4, VGA16),
        (mono_32, 1, MONO),
        (smooth_48, 8, used_palette(smooth_48)),
    ]


def main(argv):
    if len(argv) > 2:
        raise SystemExit("usage: make_icon.py [output.ico]")
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "torvex.ico")
    path = argv[1] if len(argv) == 2 else default
    write_ico(path, build_images())


if __name__ == "__main__":
    main(sys.argv)
