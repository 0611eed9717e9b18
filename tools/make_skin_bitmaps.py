#!/usr/bin/env python3
"""Draws the theme bitmaps of the skinned controls.

    python3 tools/make_skin_bitmaps.py

writes resources/skin/<NAME>.bmp (24-bit, bottom-up) and resources/skin.rc.
Pure standard library and no randomness: every run gives the same bytes.

The names and sizes are the ones the controls cut their strips for:
<STYLE>_BUTTON holds three faces side by side (normal, pointer over,
pressed), <STYLE>_CHECKBOX four glyphs (checked, unchecked, checked
disabled, unchecked disabled), <STYLE>_PROGRESSBAR the fill that is
stretched over the done part of a bar.

Magenta (255, 0, 255) is the key colour. Only the MacOS and BlueGlass
buttons mask their faces by default, so only their rounded corners are
magenta; WinXP, DeepBlue and Protein buttons draw their corners opaque,
so the pixels outside their rounded outline are a neutral dialog grey that
reads as background on a button-face coloured form.

The drawing helpers live in tools/skin_drawing.py (tools/make_pictures.sh
uses them too).
"""

import os
import sys

from skin_drawing import (DIALOG_GREY, KEY, SUPERSAMPLE, Image, blend, button_strip, clamp8, coverage,  # noqa: F401
                          draw_face, gradient, in_rounded_rect, lighten, mix, strip, write_bmp)


def winxp_button():
    border = (0, 60, 116)
    normal = [(0.0, (255, 255, 255)), (0.55, (246, 246, 242)), (0.85, (236, 235, 230)),
              (1.0, (214, 208, 197))]
    hot_ring = [(0.0, (255, 240, 207)), (0.5, (253, 216, 137)), (1.0, (248, 179, 48))]
    pressed = [(0.0, (205, 202, 195)), (0.3, (226, 225, 218)), (1.0, (240, 240, 234))]
    return button_strip(18, 21, 3, False, [
        (border, normal, None),
        (border, normal, hot_ring),
        (border, pressed, None),
    ])


def macos_button():
    normal = [(0.0, (255, 255, 255)), (0.4, (238, 238, 238)), (0.7, (228, 228, 228)),
              (1.0, (250, 250, 250))]
    hover = [(0.0, (232, 242, 255)), (0.4, (176, 210, 248)), (0.7, (150, 192, 244)),
             (1.0, (214, 236, 255))]
    pressed = [(0.0, (196, 218, 246)), (0.4, (128, 172, 232)), (0.7, (104, 152, 224)),
               (1.0, (176, 210, 248))]
    return button_strip(84, 23, 9, True, [
        ((128, 128, 128), normal, None),
        ((62, 102, 168), hover, None),
        ((40, 74, 140), pressed, None),
    ])


def deepblue_button():
    normal = [(0.0, (252, 253, 255)), (0.5, (226, 233, 246)), (1.0, (196, 210, 236))]
    hover = [(0.0, (255, 255, 255)), (0.5, (214, 228, 252)), (1.0, (170, 198, 244))]
    pressed = [(0.0, (168, 188, 226)), (0.5, (192, 208, 238)), (1.0, (218, 228, 248))]
    return button_strip(74, 21, 2, False, [
        ((58, 84, 140), normal, None),
        ((40, 70, 150), hover, [(0.0, (190, 214, 255)), (1.0, (120, 160, 232))]),
        ((32, 52, 110), pressed, None),
    ])


def protein_button():
    normal = [(0.0, (253, 253, 253)), (0.4, (238, 238, 238)), (0.6, (228, 228, 228)),
              (1.0, (244, 244, 244))]
    hover = [(0.0, (255, 255, 255)), (0.4, (244, 246, 250)), (0.6, (232, 236, 244)),
             (1.0, (248, 250, 255))]
    pressed = [(0.0, (200, 200, 200)), (0.4, (214, 214, 214)), (1.0, (232, 232, 232))]
    return button_strip(74, 21, 3, False, [
        ((118, 118, 118), normal, None),
        ((82, 118, 176), hover, None),
        ((88, 88, 88), pressed, None),
    ])


def blueglass_button():
    normal = [(0.0, (240, 247, 255)), (0.42, (200, 222, 250)), (0.5, (176, 206, 246)),
              (1.0, (214, 234, 255))]
    hover = [(0.0, (248, 252, 255)), (0.42, (206, 236, 255)), (0.5, (168, 220, 252)),
             (1.0, (220, 244, 255))]
    pressed = [(0.0, (184, 206, 240)), (0.42, (146, 182, 234)), (0.5, (128, 168, 228)),
               (1.0, (170, 202, 244))]
    return button_strip(77, 27, 5, True, [
        ((44, 84, 150), normal, None),
        ((30, 110, 180), hover, None),
        ((24, 60, 120), pressed, None),
    ])


# ---------------------------------------------------------------------------
# Check boxes

# The classic 7 x 7 tick: columns 0-6, each three pixels high.
TICK = [(0, 2), (1, 3), (2, 4), (3, 3), (4, 2), (5, 1), (6, 0)]


def draw_tick(image, left, top, colour):
    for dx, dy in TICK:
        for k in range(3):
            image.put(left + dx, top + dy + k, colour)


def check_glyph(size, box, radius, border, fill, tick, checked, background=DIALOG_GREY):
    """One glyph of `size` with a box (left, top, side) inside it; `fill` is
    drawn as a diagonal gradient from its first to its last colour."""
    width, height = size
    left, top, side = box
    image = Image(width, height, background)
    outer = lambda px, py: in_rounded_rect(px, py, left, top, left + side, top + side, radius)
    inner = lambda px, py: in_rounded_rect(px, py, left + 1, top + 1, left + side - 1,
                                           top + side - 1, max(radius - 1, 0))
    for y in range(height):
        for x in range(width):
            c_outer = coverage(x, y, outer)
            if c_outer == 0:
                continue
            c_inner = coverage(x, y, inner)
            t = ((x - left) + (y - top)) / (2.0 * max(side - 1, 1))
            image.put(x, y, blend([(1 - c_outer, background), (c_outer - c_inner, border),
                                   (c_inner, gradient(fill, t))]))
    if checked:
        draw_tick(image, left + (side - 7) // 2, top + (side - 7) // 2, tick)
    return image


def check_strip(size, box, radius, enabled_style, disabled_style):
    """Styles: (border, fill stops, tick colour)."""
    glyphs = []
    for style, checked in ((enabled_style, True), (enabled_style, False),
                           (disabled_style, True), (disabled_style, False)):
        border, fill, tick = style
        glyphs.append(check_glyph(size, box, radius, border, fill, tick, checked))
    return strip(glyphs)


def disabled_look(style):
    """A disabled glyph: the border faded toward grey, a flat pale inside
    and a grey tick."""
    border = style[0]
    return (mix(border, (236, 236, 236), 0.7), [(0.0, (248, 248, 246)), (1.0, (248, 248, 246))],
            (190, 190, 182))


def check_boxes():
    xp = ((28, 81, 128), [(0.0, (220, 220, 215)), (1.0, (255, 255, 255))], (33, 161, 33))
    deepblue = ((58, 84, 140), [(0.0, (226, 234, 248)), (1.0, (255, 255, 255))], (24, 44, 112))
    protein = ((112, 112, 112), [(0.0, (224, 224, 224)), (1.0, (255, 255, 255))], (48, 48, 48))
    blueglass = ((44, 84, 150), [(0.0, (196, 220, 250)), (1.0, (248, 252, 255))], (20, 52, 124))
    macos = ((110, 110, 110), [(0.0, (255, 255, 255)), (0.5, (232, 232, 232)),
                               (1.0, (250, 250, 250))], (0, 0, 0))
    small = ((13, 13), (0, 0, 13))
    return {
        "WINXP_CHECKBOX": check_strip(*small, 0, xp, disabled_look(xp)),
        "DEEPBLUE_CHECKBOX": check_strip(*small, 1, deepblue, disabled_look(deepblue)),
        "PROTEIN_CHECKBOX": check_strip(*small, 2, protein, disabled_look(protein)),
        "BLUEGLASS_CHECKBOX": check_strip(*small, 2, blueglass, disabled_look(blueglass)),
        # 15 x 17 cells: a rounded 13-pixel box, centred.
        "MACOS_CHECKBOX": check_strip((15, 17), (1, 2, 13), 3, macos, disabled_look(macos)),
    }


# ---------------------------------------------------------------------------
# Progress fills, menu pictures and the small extras

def vertical(width, height, stops):
    image = Image(width, height)
    for y in range(height):
        colour = gradient(stops, (y + 0.5) / height)
        for x in range(width):
            image.put(x, y, colour)
    return image


def progress_fills():
    fills = {
        # XP's green chunk: bright just below the top, deeper in the middle.
        "WINXP_PROGRESSBAR": vertical(6, 10, [(0.0, (170, 236, 158)), (0.2, (128, 222, 110)),
                                              (0.5, (50, 186, 34)), (0.8, (66, 198, 50)),
                                              (1.0, (146, 226, 130))]),
        "DEEPBLUE_PROGRESSBAR": vertical(1, 10, [(0.0, (150, 182, 236)), (0.5, (62, 104, 196)),
                                                 (1.0, (110, 146, 220))]),
        "PROTEIN_PROGRESSBAR": vertical(1, 10, [(0.0, (206, 216, 232)), (0.5, (136, 156, 190)),
                                                (1.0, (176, 190, 214))]),
        "BLUEGLASS_PROGRESSBAR": vertical(1, 10, [(0.0, (214, 234, 255)), (0.45, (134, 184, 246)),
                                                  (0.55, (92, 150, 236)), (1.0, (150, 200, 252))]),
    }
    # Aqua: diagonal light and dark bands over a glossy blue.
    base = vertical(13, 10, [(0.0, (190, 220, 255)), (0.45, (96, 156, 236)),
                             (0.55, (70, 132, 226)), (1.0, (140, 190, 250))])
    for y in range(10):
        for x in range(13):
            if (x + y) % 13 < 6:
                base.put(x, y, lighten(base.get(x, y), 0.28))
    fills["MACOS_PROGRESSBAR"] = base
    return fills


def menu_checked():
    image = Image(16, 16, (255, 255, 255))
    draw_tick(image, 4, 5, (0, 0, 0))
    return image


def arrow_glyph(image, cx, top, colour, down=True):
    """A 7-wide, 4-high filled triangle with its flat side up (down) or
    down (up), apex column cx."""
    for row in range(4):
        half = 3 - row if down else row
        for x in range(cx - half, cx + half + 1):
            image.put(x, top + row, colour)


def extras():
    pictures = {}
    # The shared "more" button: three states of a small rounded face with a
    # double chevron.
    faces = []
    for border, fill in (((112, 112, 112), [(0.0, (252, 252, 252)), (1.0, (226, 226, 226))]),
                         ((82, 118, 176), [(0.0, (255, 255, 255)), (1.0, (214, 228, 250))]),
                         ((88, 88, 88), [(0.0, (206, 206, 206)), (1.0, (236, 236, 236))])):
        face = draw_face(16, 16, 2, border, fill, True)
        for x0 in (5, 9):
            for k in range(3):
                face.put(x0 + k, 5 + k, (40, 40, 40))
                face.put(x0 + k, 10 - k, (40, 40, 40))
        faces.append(face)
    pictures["MORE_SCROLLBUTTON"] = strip(faces)

    # Combo box drop buttons: normal, pointer over, pressed.
    mac = []
    for fill in ([(0.0, (232, 242, 255)), (0.5, (150, 192, 244)), (1.0, (214, 236, 255))],
                 [(0.0, (242, 248, 255)), (0.5, (170, 210, 252)), (1.0, (226, 244, 255))],
                 [(0.0, (196, 218, 246)), (0.5, (110, 158, 228)), (1.0, (176, 210, 248))]):
        face = draw_face(18, 21, 5, (62, 102, 168), fill, True)
        arrow_glyph(face, 8, 5, (20, 20, 20), down=False)
        arrow_glyph(face, 8, 12, (20, 20, 20), down=True)
        mac.append(face)
    pictures["MACOS_COMBOBOX_BUTTON"] = strip(mac)
    xp = []
    for fill, border in (([(0.0, (198, 214, 252)), (1.0, (176, 196, 248))], (186, 204, 250)),
                         ([(0.0, (218, 232, 255)), (1.0, (196, 214, 255))], (196, 214, 255)),
                         ([(0.0, (110, 142, 241)), (1.0, (150, 176, 246))], (110, 142, 241))):
        face = draw_face(17, 20, 2, border, fill, False)
        arrow_glyph(face, 8, 8, (77, 97, 133), down=True)
        xp.append(face)
    pictures["WINXP_COMBOBOX_BUTTON"] = strip(xp)

    # 8 x 8 form tiles: pinstripes, and a faint diagonal weave.
    mac_tile = Image(8, 8)
    for y in range(8):
        for x in range(8):
            mac_tile.put(x, y, (236, 236, 236) if y % 2 == 0 else (246, 246, 246))
    pictures["MACOS_FORM_BACKGROUND"] = mac_tile
    protein_tile = Image(8, 8, (236, 236, 236))
    for i in range(8):
        protein_tile.put(i, i, (228, 228, 228))
        protein_tile.put((i + 4) % 8, i, (242, 242, 242))
    pictures["PROTEIN_FORM_BACKGROUND"] = protein_tile

    pictures["MACOS_MENU_BAR"] = vertical(1, 22, [(0.0, (252, 252, 252)), (1.0, (232, 232, 232))])
    pictures["MACOS_MENU_SELECT"] = vertical(1, 21, [(0.0, (96, 148, 236)), (0.5, (58, 112, 214)),
                                                     (1.0, (40, 92, 196))])
    return pictures


def all_bitmaps():
    bitmaps = {
        "MACOS_BUTTON": macos_button(),
        "WINXP_BUTTON": winxp_button(),
        "DEEPBLUE_BUTTON": deepblue_button(),
        "PROTEIN_BUTTON": protein_button(),
        "BLUEGLASS_BUTTON": blueglass_button(),
        "MENU_CHECKED": menu_checked(),
    }
    bitmaps.update(check_boxes())
    bitmaps.update(progress_fills())
    bitmaps.update(extras())
    return bitmaps


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    resources = os.path.join(root, "resources")
    out_dir = os.path.join(resources, "skin")
    os.makedirs(out_dir, exist_ok=True)
    bitmaps = all_bitmaps()
    lines = ["// Theme bitmaps of the skinned controls, drawn by tools/make_skin_bitmaps.py.\n"]
    for name in sorted(bitmaps):
        write_bmp(os.path.join(out_dir, name + ".bmp"), bitmaps[name])
        lines.append('%s BITMAP "skin/%s.bmp"\n' % (name, name))
    with open(os.path.join(resources, "skin.rc"), "w", newline="\n") as f:
        f.writelines(lines)
    print("wrote %d bitmaps to %s" % (len(bitmaps), out_dir), file=sys.stderr)


if __name__ == "__main__":
    main()
