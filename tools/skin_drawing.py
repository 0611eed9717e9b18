"""Drawing helpers of the bitmap generators: an image of (r, g, b) rows,
24-bit bitmap files, colour arithmetic, supersampled coverage of shapes and
the rounded faces of the skinned buttons. Pure standard library.

Used by tools/make_skin_bitmaps.py and tools/make_pictures.sh.
"""

import struct

KEY = (255, 0, 255)
# Close to the button face of both the platform (240) and Wine (245).
DIALOG_GREY = (240, 240, 240)
SUPERSAMPLE = 4


# ---------------------------------------------------------------------------
# Drawing helpers

class Image:
    """Rows of (r, g, b) tuples, top row first."""

    def __init__(self, width, height, fill=(0, 0, 0)):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def get(self, x, y):
        return self.rows[y][x]

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                self.put(left + x, top + y, other.rows[y][x])


def write_bmp(path, image):
    """A 24-bit BI_RGB bitmap, stored bottom-up, rows padded to 4 bytes."""
    stride = (image.width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(image.rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, image.width, image.height, 1, 24, 0,
                              len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(file_header + info_header + pixels)


def clamp8(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    """a at t = 0, b at t = 1."""
    return tuple(clamp8(a[i] + (b[i] - a[i]) * t) for i in range(3))


def blend(parts):
    """parts: (weight, colour) pairs whose weights add up to 1."""
    return tuple(clamp8(sum(w * c[i] for w, c in parts)) for i in range(3))


def gradient(stops, t):
    """Colour at t (0..1) of a piecewise linear gradient [(t0, c0), ...]."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 1.0)
    return stops[-1][1]


def lighten(colour, amount):
    return mix(colour, (255, 255, 255), amount)


def in_rounded_rect(px, py, left, top, right, bottom, radius):
    """Point test for a rectangle with quarter-circle corners."""
    if px < left or px > right or py < top or py > bottom:
        return False
    if radius <= 0:
        return True
    cx = min(max(px, left + radius), right - radius)
    cy = min(max(py, top + radius), bottom - radius)
    return (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius


def coverage(x, y, inside):
    """Share of pixel (x, y) for which inside(px, py) holds (supersampled)."""
    n = SUPERSAMPLE
    hits = 0
    for sy in range(n):
        for sx in range(n):
            if inside(x + (sx + 0.5) / n, y + (sy + 0.5) / n):
                hits += 1
    return hits / (n * n)


# ---------------------------------------------------------------------------
# Button faces

def draw_face(width, height, radius, border, fill, keyed, ring=None, ring_width=2):
    """One button face: a rounded 1-pixel border, a vertical gradient fill
    (`fill`: gradient stops) and an optional inner ring (gradient stops),
    as XP draws the hot button. Pixels mostly outside the outline are the
    key colour when `keyed`, else the dialog grey."""
    image = Image(width, height)

    def shape(inset, r):
        return lambda px, py: in_rounded_rect(px, py, inset, inset, width - inset, height - inset, r)

    outer = shape(0, radius)
    inner = shape(1, max(radius - 1, 0))
    core = shape(1 + ring_width, max(radius - 1 - ring_width, 0)) if ring else inner
    for y in range(height):
        t = (y + 0.5) / height
        fill_colour = gradient(fill, t)
        ring_colour = gradient(ring, t) if ring else fill_colour
        for x in range(width):
            c_outer = coverage(x, y, outer)
            if keyed and c_outer < 0.5:
                image.put(x, y, KEY)
                continue
            c_inner = coverage(x, y, inner)
            c_core = coverage(x, y, core)
            image.put(x, y, blend([
                (1 - c_outer, DIALOG_GREY),
                (c_outer - c_inner, border),
                (c_inner - c_core, ring_colour),
                (c_core, fill_colour),
            ]))
    return image


def strip(pieces):
    width = sum(p.width for p in pieces)
    image = Image(width, max(p.height for p in pieces))
    left = 0
    for p in pieces:
        image.paste(p, left, 0)
        left += p.width
    return image


def button_strip(width, height, radius, keyed, faces):
    """faces: three (border, fill, ring) tuples: normal, hover, pressed."""
    return strip([draw_face(width, height, radius, border, fill, keyed, ring)
                  for border, fill, ring in faces])


# The middle rows of every face stay smooth: the left edge is stretched from
# row H/2 and the right edge from row H/2 + 1, so a hard step there would show.

