#!/usr/bin/env bash
# Draws the program's pictures into resources/pictures/ and writes
# resources/pictures.rc:
#   banner_main.jpg (405 x 50) and banner_about.jpg (360 x 50): the title
#     banners, dark enough for the white text the windows put on them;
#   logo.bmp, update.bmp, advanced_normal.bmp, advanced_hover.bmp,
#     convert.bmp: 32 x 32, 24-bit, on the magenta key colour (every corner
#     pixel is the key, whichever corner a control reads it from);
#   program.ico: the logo at 32 x 32 and 16 x 16 with an alpha channel.
# Python draws everything (with the helpers of make_skin_bitmaps.py);
# ImageMagick only encodes the JPEGs. No randomness: reruns give the same files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/resources/pictures"
convert_bin=/usr/bin/convert
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

PYTHONDONTWRITEBYTECODE=1 PYTHONPATH="$root/tools" python3 - "$out" "$work" <<'PY'
import math
import os
import struct
import sys

from make_skin_bitmaps import KEY, Image, gradient, lighten, mix, write_bmp

out_dir, work_dir = sys.argv[1], sys.argv[2]
SAMPLES = 4


# A scene is a list of (inside, colour) layers painted in order; inside(x, y)
# takes design coordinates (0..32 for the icons), colour(x, y) gives RGB.
def render(scene, size, design=32.0):
    """Returns rows of (colour, coverage): colour averaged over the covered
    samples, coverage the covered share of the pixel."""
    k = design / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * k
                    y = (py + (sy + 0.5) / SAMPLES) * k
                    colour = None
                    for inside, paint in scene:
                        if inside(x, y):
                            colour = paint(x, y)
                    if colour is not None:
                        hits += 1
                        for i in range(3):
                            total[i] += colour[i]
            n = SAMPLES * SAMPLES
            if hits:
                row.append((tuple(int(round(c / hits)) for c in total), hits / n))
            else:
                row.append(((0, 0, 0), 0.0))
        rows.append(row)
    return rows


def keyed_bitmap(rows):
    """A hard silhouette on the key colour, so masked drawing leaves no
    fringe of a colour that is not there."""
    size = len(rows)
    image = Image(size, size, KEY)
    for y, row in enumerate(rows):
        for x, (colour, cover) in enumerate(row):
            if cover >= 0.5:
                image.put(x, y, colour)
    return image


def solid(colour):
    return lambda x, y: colour


def vertical(top, bottom, y0, y1):
    return lambda x, y: mix(top, bottom, min(max((y - y0) / (y1 - y0), 0.0), 1.0))


def rect(l, t, r, b):
    return lambda x, y: l <= x < r and t <= y < b


def rounded(l, t, r, b, radius):
    def inside(x, y):
        if not (l <= x <= r and t <= y <= b):
            return False
        cx = min(max(x, l + radius), r - radius)
        cy = min(max(y, t + radius), b - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def circle(cx, cy, radius):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def polygon(points):
    """Even-odd point test."""
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def grown(points, cx, cy, by):
    """The polygon pushed out from (cx, cy) by `by` units: an outline."""
    result = []
    for x, y in points:
        d = math.hypot(x - cx, y - cy) or 1.0
        result.append((x + (x - cx) / d * by, y + (y - cy) / d * by))
    return result


# ---------------------------------------------------------------------------
# The logo: a film strip with a bold arrow running out of it.

ARROW = [(12, 12.5), (21, 12.5), (21, 7), (31, 16), (21, 25), (21, 19.5), (12, 19.5)]


def logo_scene():
    scene = [
        (rounded(1, 5, 25, 27, 2.5), solid((226, 230, 238))),          # light rim
        (rounded(2, 6, 24, 26, 2), solid((36, 40, 50))),                # film
        (rect(4, 11, 22, 21), vertical((96, 196, 230), (24, 108, 170), 11, 21)),  # frame
    ]
    for hx in (4, 8, 12, 16, 20):
        scene.append((rect(hx, 7.5, hx + 2, 9.5), solid((232, 236, 242))))
        scene.append((rect(hx, 22.5, hx + 2, 24.5), solid((232, 236, 242))))
    scene.append((polygon(grown(ARROW, 21, 16, 1.6)), solid((255, 255, 255))))
    scene.append((polygon(ARROW), vertical((255, 200, 70), (236, 112, 16), 7, 25)))
    return scene


# ---------------------------------------------------------------------------
# The update icon: a small globe in the top-left 16 x 16 of its 32 x 32, so
# that it sits beside the 12-pixel link text to its right.

def globe_scene():
    cx, cy, r = 11.0, 8.0, 7.4

    def sea(x, y):
        d = math.hypot(x - (cx - 2.5), y - (cy - 2.5)) / (r * 1.6)
        return mix((150, 214, 255), (28, 104, 204), min(d, 1.0))

    def grid(x, y):
        if (x - cx) ** 2 + (y - cy) ** 2 > (r - 0.9) ** 2:
            return False
        dy = y - cy
        if abs(dy) < 0.4 or abs(abs(dy) - 4.0) < 0.35:  # equator, two parallels
            return True
        dx = x - cx
        if abs(dx) < 0.4:  # central meridian
            return True
        ellipse = (dx / (r * 0.55)) ** 2 + (dy / r) ** 2  # two more meridians
        return abs(ellipse - 1.0) < 0.14

    return [
        (circle(cx, cy, r + 0.6), solid((16, 56, 130))),
        (circle(cx, cy, r - 0.4), sea),
        (grid, lambda x, y: mix(sea(x, y), (255, 255, 255), 0.6)),
    ]


# ---------------------------------------------------------------------------
# The Advanced icon: a gear; the hover picture is a brighter one.

def gear_scene(body_top, body_bottom, rim, hole):
    cx, cy = 16.0, 16.0
    teeth = 8

    def gear(x, y, grow):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        # Clipped cosine: teeth with flat tops and sloping flanks.
        wave = max(-1.0, min(1.0, 2.6 * math.cos(teeth * math.atan2(dy, dx))))
        return d <= 12.3 + 1.9 * wave + grow and d >= 4.4 - grow

    return [
        (lambda x, y: gear(x, y, 0.0), solid(rim)),
        (lambda x, y: gear(x, y, -1.0), vertical(body_top, body_bottom, 2, 30)),
        (circle(cx, cy, 6.6), solid(rim)),
        (circle(cx, cy, 5.6), vertical(lighten(body_top, 0.25), body_bottom, 10, 22)),
        (circle(cx, cy, 4.4), None),  # the hole shows the background
        (lambda x, y: 4.4 - 1.0 < math.hypot(x - cx, y - cy) <= 4.4, solid(hole)),
    ]


# ---------------------------------------------------------------------------
# The progress window's picture: two arrows chasing round a film frame.

def ring_arrow(cx, cy, radius, width, start, end, head):
    """An arc from angle `start` to `end` (degrees, clockwise on screen)
    ending in a triangular head `head` degrees long."""
    a0, a1 = math.radians(start), math.radians(end)

    def arc(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - radius) > width / 2:
            return False
        a = math.atan2(y - cy, x - cx)
        while a < a0:
            a += 2 * math.pi
        return a <= a1

    tip = a1 + math.radians(head)
    outer, inner = radius + width * 1.1, radius - width * 1.1
    triangle = polygon([(cx + outer * math.cos(a1), cy + outer * math.sin(a1)),
                        (cx + radius * math.cos(tip), cy + radius * math.sin(tip)),
                        (cx + inner * math.cos(a1), cy + inner * math.sin(a1))])
    return lambda x, y: arc(x, y) or triangle(x, y)


def convert_scene():
    blue = ring_arrow(16, 16, 11.5, 4.2, 195, 318, 32)
    green = ring_arrow(16, 16, 11.5, 4.2, 15, 138, 32)
    blue_rim = ring_arrow(16, 16, 11.5, 6.0, 192, 320, 36)
    green_rim = ring_arrow(16, 16, 11.5, 6.0, 12, 140, 36)
    scene = [
        (blue_rim, solid((20, 64, 140))),
        (blue, vertical((120, 190, 255), (40, 110, 220), 2, 16)),
        (green_rim, solid((20, 110, 30))),
        (green, vertical((60, 170, 50), (150, 230, 110), 16, 30)),
        (rect(10, 11, 22, 21), solid((36, 40, 50))),
        (rect(12, 14, 20, 18), vertical((110, 200, 235), (30, 120, 180), 14, 18)),
    ]
    for hx in (11, 14, 17, 20):
        scene.append((rect(hx, 12, hx + 1.2, 13.2), solid((232, 236, 242))))
        scene.append((rect(hx, 18.8, hx + 1.2, 20), solid((232, 236, 242))))
    return scene


def drop_empty_layers(scene):
    """A layer painted None cuts a hole: later samples start from nothing."""
    layers = []
    for inside, paint in scene:
        layers.append((inside, paint if paint is not None else (lambda x, y: None)))
    return layers


# ---------------------------------------------------------------------------
# Banners

def banner(width, height, film_strip):
    image = Image(width, height)
    stops = [(0.0, (10, 32, 82)), (0.45, (14, 58, 118)), (1.0, (0, 104, 124))]
    for y in range(height):
        shade = 1.0 - 0.16 * y / (height - 1)
        glow = max(0.0, 1.0 - y / 18.0) * 0.10
        for x in range(width):
            c = gradient(stops, x / (width - 1))
            c = tuple(int(round(v * shade)) for v in c)
            c = lighten(c, glow)
            # Soft rings round a point beyond the right edge.
            d = math.hypot(x - (width + 30), y - (height + 50))
            for ring in (70.0, 92.0, 114.0):
                t = abs(d - ring)
                if t < 1.6:
                    c = lighten(c, 0.10 * (1.0 - t / 1.6))
            image.put(x, y, c)
    if film_strip:
        left = width - 118
        for y in range(9, 41):
            for x in range(left, width):
                image.put(x, y, mix(image.get(x, y), (0, 0, 0), 0.30))
        for hx in range(left + 3, width, 8):
            for y0 in (11, 36):
                for y in range(y0, y0 + 3):
                    for x in range(hx, min(hx + 4, width)):
                        image.put(x, y, lighten(image.get(x, y), 0.45))
        for fx in range(left + 4, width, 30):
            for y in range(16, 34):
                for x in range(fx, min(fx + 24, width)):
                    image.put(x, y, lighten(image.get(x, y), 0.12))
    for x in range(width):
        image.put(x, height - 1, mix(image.get(x, height - 1), (0, 0, 0), 0.35))
    return image


def write_ppm(path, image):
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (image.width, image.height))
        for row in image.rows:
            for c in row:
                f.write(bytes(c))


# ---------------------------------------------------------------------------
# The icon file: 32-bit images with alpha and an AND mask, largest first.

def icon_image(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (colour, cover) in enumerate(row):
            alpha = int(round(cover * 255))
            r, g, b = colour if alpha else (0, 0, 0)
            pixels += bytes((b, g, r, alpha))
            if alpha == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + mask


def write_ico(path, images):
    entries = bytearray()
    data = bytearray()
    offset = 6 + 16 * len(images)
    for size, blob in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob),
                               offset + len(data))
        data += blob
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + data)


def save(name, scene):
    write_bmp(os.path.join(out_dir, name), keyed_bitmap(render(drop_empty_layers(scene), 32)))


save("logo.bmp", logo_scene())
save("update.bmp", globe_scene())
save("advanced_normal.bmp", gear_scene((178, 190, 210), (96, 112, 140), (52, 62, 84), (52, 62, 84)))
save("advanced_hover.bmp", gear_scene((204, 228, 255), (74, 134, 220), (30, 70, 150), (30, 70, 150)))
save("convert.bmp", convert_scene())
logo = drop_empty_layers(logo_scene())
write_ico(os.path.join(out_dir, "program.ico"),
          [(32, icon_image(render(logo, 32))), (16, icon_image(render(logo, 16)))])
write_ppm(os.path.join(work_dir, "banner_main.ppm"), banner(405, 50, False))
write_ppm(os.path.join(work_dir, "banner_about.ppm"), banner(360, 50, True))
PY

for name in banner_main banner_about; do
  "$convert_bin" "$work/$name.ppm" -strip -quality 92 -sampling-factor 1x1 "$out/$name.jpg"
done

cat >"$root/resources/pictures.rc" <<'RC'
// The program's pictures, drawn by tools/make_pictures.sh.
MAINICON ICON "pictures/program.ico"
BANNER_MAIN RCDATA "pictures/banner_main.jpg"
BANNER_ABOUT RCDATA "pictures/banner_about.jpg"
LOGO BITMAP "pictures/logo.bmp"
UPDATE_ICON BITMAP "pictures/update.bmp"
ADVANCED_NORMAL BITMAP "pictures/advanced_normal.bmp"
ADVANCED_HOVER BITMAP "pictures/advanced_hover.bmp"
CONVERT_IMAGE BITMAP "pictures/convert.bmp"
RC
echo "pictures written to $out" >&2
