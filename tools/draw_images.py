#!/usr/bin/env python3
"""Draws the application's own icons, splash and about pictures.

Run from the project folder: python3 tools/draw_images.py
The pictures are written into app/resources/resource/. Only the standard
library is used: shapes are rasterised with 4x4 supersampling and written
as RGBA PNG files.
"""

import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "resources", "resource")

BLUE = (0x2a, 0x6f, 0xb0, 255)
LIGHT_BLUE = (0x8c, 0xbc, 0xea, 255)
GREEN = (0x3a, 0x9a, 0x3a, 255)
RED = (0xc8, 0x3a, 0x3a, 255)
ORANGE = (0xe0, 0x8a, 0x1e, 255)
YELLOW = (0xf2, 0xc8, 0x3c, 255)
GRAY = (0x70, 0x70, 0x70, 255)
DARK = (0x40, 0x40, 0x40, 255)
PAPER = (0xff, 0xff, 0xff, 255)
WHITE = (0xff, 0xff, 0xff, 255)


# ---------------------------------------------------------------- shapes
# Every shape is (kind, colour, geometry) in a design space of `unit` units
# that is scaled to the picture size.

def poly(colour, *points):
    return ("poly", colour, points)


def rect(colour, x0, y0, x1, y1):
    return poly(colour, (x0, y0), (x1, y0), (x1, y1), (x0, y1))


def frame(colour, x0, y0, x1, y1, w=1.0):
    return [rect(colour, x0, y0, x1, y0 + w), rect(colour, x0, y1 - w, x1, y1),
            rect(colour, x0, y0, x0 + w, y1), rect(colour, x1 - w, y0, x1, y1)]


def circle(colour, cx, cy, r):
    return ("circle", colour, (cx, cy, r))


def ellipse(colour, cx, cy, rx, ry):
    return ("ellipse", colour, (cx, cy, rx, ry))


def ring(colour, cx, cy, r, w):
    return ("ring", colour, (cx, cy, r, w))


def line(colour, x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    length = (dx * dx + dy * dy) ** 0.5 or 1.0
    nx, ny = -dy / length * w / 2, dx / length * w / 2
    return poly(colour, (x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny))


def inside(shape, x, y):
    kind, _, g = shape
    if kind == "circle":
        cx, cy, r = g
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if kind == "ellipse":
        cx, cy, rx, ry = g
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1
    if kind == "ring":
        cx, cy, r, w = g
        d = (x - cx) ** 2 + (y - cy) ** 2
        return (r - w) ** 2 <= d <= r * r
    result = False
    n = len(g)
    for i in range(n):
        x0, y0 = g[i]
        x1, y1 = g[(i + 1) % n]
        if (y0 > y) != (y1 > y) and x < (x1 - x0) * (y - y0) / (y1 - y0) + x0:
            result = not result
    return result


def bounds(shape):
    kind, _, g = shape
    if kind in ("circle", "ring"):
        return g[0] - g[2], g[1] - g[2], g[0] + g[2], g[1] + g[2]
    if kind == "ellipse":
        return g[0] - g[2], g[1] - g[3], g[0] + g[2], g[1] + g[3]
    xs = [p[0] for p in g]
    ys = [p[1] for p in g]
    return min(xs), min(ys), max(xs), max(ys)


def render(width, height, shapes, unit_w, unit_h=None, background=(0, 0, 0, 0), ss=4):
    """Returns rows of RGBA bytes; shapes are painted in order over the background,
    which is a colour or a function of the design-space y giving a colour."""
    unit_h = unit_h or unit_w
    sx, sy = unit_w / width, unit_h / height
    flat = []
    for s in shapes:
        flat.extend(s if isinstance(s, list) else [s])
    prepared = [(s, bounds(s), tuple(c / 255.0 for c in s[1])) for s in flat]
    step = 1.0 / ss
    n = float(ss * ss)
    rows = []
    for py in range(height):
        row_top, row_bottom = py * sy, (py + 1) * sy
        row_shapes = [p for p in prepared if p[1][1] <= row_bottom and p[1][3] >= row_top]
        row = bytearray()
        for px in range(width):
            tr = tg = tb = ta = 0.0
            for j in range(ss):
                uy = (py + (j + 0.5) * step) * sy
                back = background(uy) if callable(background) else background
                for i in range(ss):
                    ux = (px + (i + 0.5) * step) * sx
                    r, g, b, a = (c / 255.0 for c in back)
                    r, g, b = r * a, g * a, b * a
                    for s, (x0, y0, x1, y1), (cr, cg, cb, ca) in row_shapes:
                        if x0 <= ux <= x1 and y0 <= uy <= y1 and inside(s, ux, uy):
                            r, g, b = cr * ca + r * (1 - ca), cg * ca + g * (1 - ca), cb * ca + b * (1 - ca)
                            a = ca + a * (1 - ca)
                    tr += r
                    tg += g
                    tb += b
                    ta += a
            r, g, b, a = tr / n, tg / n, tb / n, ta / n
            if a > 0:
                row += bytes((round(r / a * 255), round(g / a * 255), round(b / a * 255), round(a * 255)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def write_png(name, width, height, rows):
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xffffffff)

    raw = b"".join(b"\x00" + row for row in rows)
    data = (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- toolbar icons (24 x 24 units)

def page(fill=PAPER):
    """A sheet with a folded top-right corner."""
    return [poly(GRAY, (4, 1.5), (15, 1.5), (20, 6.5), (20, 22.5), (4, 22.5)),
            poly(fill, (5, 2.5), (14.5, 2.5), (19, 7), (19, 21.5), (5, 21.5)),
            poly(GRAY, (14, 1.5), (15, 1.5), (15, 6), (20, 6), (20, 7), (14, 7))]


def text_lines(colour=GRAY, top=9, count=5, x0=7, x1=17):
    return [rect(colour, x0, top + i * 2.4, x1 - (3 if i == count - 1 else 0), top + i * 2.4 + 1.1)
            for i in range(count)]


def badge_plus(colour=GREEN, cx=17.5, cy=17.5):
    return [circle(WHITE, cx, cy, 6), circle(colour, cx, cy, 5),
            rect(WHITE, cx - 3, cy - 0.9, cx + 3, cy + 0.9), rect(WHITE, cx - 0.9, cy - 3, cx + 0.9, cy + 3)]


def band(colour):
    return rect(colour, 5, 14, 19, 21.5)


def printer():
    return [rect(GRAY, 6, 2, 18, 10), rect(PAPER, 7, 3, 17, 10),
            rect(DARK, 2, 9, 22, 18), rect(GRAY, 3, 10, 21, 17), circle(GREEN, 19, 12, 1),
            rect(GRAY, 6, 15, 18, 22.5), rect(PAPER, 7, 16, 17, 22.5),
            rect(GRAY, 8, 18, 16, 18.8), rect(GRAY, 8, 20, 14, 20.8)]


def table_grid(colour):
    shapes = [rect(colour, 2, 3, 22, 21), rect(PAPER, 3, 7, 21, 20)]
    for x in (9, 15):
        shapes.append(rect(colour, x, 7, x + 1, 20))
    for y in (11, 15):
        shapes.append(rect(colour, 3, y, 21, y + 1))
    return shapes


def record_base():
    return table_grid(BLUE)


ICONS = {
    "new": page() + text_lines(top=9, count=3) + badge_plus(),
    "open": [poly(ORANGE, (1.5, 5), (9, 5), (11, 7.5), (21, 7.5), (21, 20), (1.5, 20)),
             poly(YELLOW, (4, 10.5), (23, 10.5), (20.5, 20), (1.5, 20))],
    "print": printer(),
    "print_pdf": page() + text_lines(top=8, count=2) + [band(RED), rect(WHITE, 7, 16.5, 17, 18.5)],
    "email": [rect(BLUE, 1.5, 5, 22.5, 19.5), rect(PAPER, 2.5, 6, 21.5, 18.5),
              line(BLUE, 2.5, 6.5, 12, 13.5, 1.4), line(BLUE, 21.5, 6.5, 12, 13.5, 1.4)],
    "page_setup": page() + frame(LIGHT_BLUE, 7, 5, 17, 19, 1) + [line(DARK, 13, 21, 22, 12, 2.2), poly(DARK, (11, 23), (12, 19.5), (14.5, 22))],
    "export_csv": table_grid(GREEN) + [poly(ORANGE, (13, 14), (19, 14), (19, 11), (23.5, 16.5), (19, 22), (19, 19), (13, 19))],
    "export_jpk_fa": page() + text_lines(top=8, count=2) + [band(BLUE), circle(WHITE, 12, 17.7, 2)],
    "export_jpk_vat": page() + text_lines(top=8, count=2) + [band(GREEN), rect(WHITE, 8, 17, 16, 18.5)],
    "record_add": record_base() + badge_plus(),
    "record_view": record_base() + [circle(WHITE, 15, 14, 6.5), ring(DARK, 15, 14, 5.5, 1.8), line(DARK, 19, 18, 23, 22.5, 2.6)],
    "record_edit": record_base() + [line(WHITE, 8, 21, 21, 8, 5), line(ORANGE, 9, 20, 20.5, 8.5, 3), poly(DARK, (6.5, 22.5), (7.5, 18.5), (10.5, 21.5))],
    "record_delete": record_base() + [line(WHITE, 10, 10, 22, 22, 5), line(WHITE, 22, 10, 10, 22, 5),
                                      line(RED, 11, 11, 21, 21, 2.8), line(RED, 21, 11, 11, 21, 2.8)],
    "record_copy": [rect(GRAY, 2, 2, 15, 17), rect(PAPER, 3, 3, 14, 16), rect(BLUE, 8, 7, 22, 22), rect(PAPER, 9, 8, 21, 21)]
                   + text_lines(BLUE, top=10.5, count=4, x0=11, x1=19),
    "record_correct": page() + text_lines(top=8, count=3) + [circle(WHITE, 16.5, 17, 6), ring(ORANGE, 16.5, 17, 5, 1.8),
                                                             poly(ORANGE, (19.5, 9.5), (23.5, 13.5), (18.5, 15))],
    "record_duplicate": page() + text_lines(top=8, count=2) + [band(LIGHT_BLUE), rect(BLUE, 7, 16, 11, 20), rect(BLUE, 13, 16, 17, 20)],
    "record_default": [poly(YELLOW, (12, 1.5), (14.9, 8.5), (22.5, 9), (16.6, 13.9), (18.5, 21.5), (12, 17.3),
                            (5.5, 21.5), (7.4, 13.9), (1.5, 9), (9.1, 8.5)),
                       poly(ORANGE, (12, 4.5), (13.8, 9.5), (19, 9.9), (15, 13.3), (16.3, 18.5), (12, 15.6))],
    "window_filter": [poly(BLUE, (2, 3), (22, 3), (14, 12), (14, 21), (10, 19), (10, 12)),
                      poly(LIGHT_BLUE, (4.5, 4.5), (19.5, 4.5), (12.6, 11.5), (12.6, 18.7), (11.4, 18.1), (11.4, 11.5))],
    "drag_and_drop": [rect(GRAY, 2, 2, 12, 12), rect(PAPER, 3, 3, 11, 11), rect(BLUE, 11, 11, 22, 22), rect(LIGHT_BLUE, 12, 12, 21, 21),
                      line(DARK, 6, 6, 16, 16, 1.6), poly(DARK, (17.5, 17.5), (11.5, 16.5), (16.5, 11.5))],
    "options": [circle(GRAY, 12, 12, 9.5)] + [line(GRAY, 12 + 7 * c, 12 + 7 * s, 12 - 7 * c, 12 - 7 * s, 4.5)
                                              for c, s in ((1, 0), (0, 1), (0.7071, 0.7071), (0.7071, -0.7071))]
               + [line(GRAY, 12, 0.8, 12, 23.2, 4.5), line(GRAY, 0.8, 12, 23.2, 12, 4.5),
                  line(GRAY, 4.1, 4.1, 19.9, 19.9, 4.5), line(GRAY, 19.9, 4.1, 4.1, 19.9, 4.5),
                  circle(LIGHT_BLUE, 12, 12, 6.5), circle(PAPER, 12, 12, 3.2)],
    "program_info": [poly(ORANGE, (1.5, 4), (9, 4), (11, 6.5), (22.5, 6.5), (22.5, 20.5), (1.5, 20.5)),
                     rect(YELLOW, 2.5, 8.5, 21.5, 19.5), circle(BLUE, 12, 14, 4.2), rect(WHITE, 11.2, 13.2, 12.8, 16.6), rect(WHITE, 11.2, 11, 12.8, 12.4)],
    "db_info": [rect(BLUE, 4, 5, 20, 19), ellipse(BLUE, 12, 19, 8, 3),
                rect(LIGHT_BLUE, 5, 10, 19, 11), rect(LIGHT_BLUE, 5, 14.5, 19, 15.5),
                ellipse(BLUE, 12, 5, 8, 3), ellipse(LIGHT_BLUE, 12, 5, 6.6, 1.9),
                circle(WHITE, 18, 17.5, 5), circle(GREEN, 18, 17.5, 4.2),
                rect(WHITE, 17.3, 16.6, 18.7, 20), rect(WHITE, 17.3, 14.3, 18.7, 15.6)],
    "do_you_know": [circle(YELLOW, 12, 9.5, 7.5), circle((0xfa, 0xe6, 0x8c, 255), 10, 7.5, 3),
                    rect(GRAY, 8.5, 15, 15.5, 19.5), rect(PAPER, 8.5, 16.3, 15.5, 17), rect(PAPER, 8.5, 18, 15.5, 18.7),
                    poly(GRAY, (9.5, 19.5), (14.5, 19.5), (13, 22.5), (11, 22.5))],
}


# ---------------------------------------------------------------- small pictures

def cross(colour):
    return [line(colour, 4, 4, 12, 12, 2.4), line(colour, 12, 4, 4, 12, 2.4)]


def chevron(colour, pointing_left):
    a, b = (15, 5), (7, 20)
    if not pointing_left:
        a, b = (7, 5), (15, 20)
    return [line(colour, a[0], a[1], b[0], b[1], 3.2), line(colour, b[0], b[1], a[0], 35, 3.2),
            circle(colour, b[0], b[1], 1.6)]


GLYPHS = {
    "F": "11111 10000 10000 11110 10000 10000 10000",
    "A": "01110 10001 10001 11111 10001 10001 10001",
    "K": "10001 10010 10100 11000 10100 10010 10001",
    "T": "11111 00100 00100 00100 00100 00100 00100",
    "U": "10001 10001 10001 10001 10001 10001 01110",
    "R": "11110 10001 10001 11110 10100 10010 10001",
    "Y": "10001 10001 01010 00100 00100 00100 00100",
    "m": "00000 00000 11010 10101 10101 10101 10101",
    "o": "00000 00000 01110 10001 10001 10001 01110",
    "r": "00000 00000 10110 11001 10000 10000 10000",
    "v": "00000 00000 10001 10001 10001 01010 00100",
    "a": "00000 00000 01110 00001 01111 10001 01111",
    "?": "01110 10001 00001 00110 00100 00000 00100",
    " ": "00000 00000 00000 00000 00000 00000 00000",
}


def text(colour, x, y, cell, string):
    shapes = []
    for ch in string:
        for r, bits in enumerate(GLYPHS[ch].split()):
            for c, bit in enumerate(bits):
                if bit == "1":
                    shapes.append(rect(colour, x + c * cell, y + r * cell, x + (c + 1) * cell, y + (r + 1) * cell))
        x += 6 * cell
    return shapes


def moved(shapes, scale, dx, dy):
    result = []
    for s in shapes:
        kind, colour, g = s
        if kind == "poly":
            result.append((kind, colour, tuple((x * scale + dx, y * scale + dy) for x, y in g)))
        elif kind in ("ellipse", "ring"):
            result.append((kind, colour, (g[0] * scale + dx, g[1] * scale + dy, g[2] * scale, g[3] * scale)))
        else:
            result.append((kind, colour, (g[0] * scale + dx, g[1] * scale + dy, g[2] * scale)))
    return result


def gradient(top, bottom, height):
    def colour(y):
        t = min(max(y / height, 0.0), 1.0)
        return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return colour


def logo():
    """The product mark: an invoice sheet with a blue band and a green tick."""
    return (page() + text_lines(top=8, count=3)
            + [rect(BLUE, 5, 16, 19, 21.5), line(GREEN, 14, 16, 17, 19, 2), line(GREEN, 17, 19, 23, 11, 2)])


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, shapes in ICONS.items():
        for size in (16, 24):
            write_png("%s_tb_%d_%d.png" % (name, size, size), size, size, render(size, size, shapes, 24))

    small = {
        "close_btn_16_16.png": cross(GRAY),
        "cancel_btn_16_16.png": [circle(RED, 8, 8, 7.5)] + cross(WHITE),
        "ok_btn_16_16.png": [line(GREEN, 2.5, 8.5, 6.5, 12.5, 2.6), line(GREEN, 6.5, 12.5, 14, 4, 2.6)],
        "help_tooltip_16_16.png": [circle(BLUE, 8, 8, 7.5)] + text(WHITE, 5.5, 3.8, 1.1, "?"),
        # Check states of the filter trees and catalog lists: ticked and empty box.
        "filter_2_16_16.png": [rect(GRAY, 1.5, 1.5, 14.5, 14.5), rect(PAPER, 2.5, 2.5, 13.5, 13.5),
                               line(GREEN, 4, 8.5, 7, 11.5, 2.2), line(GREEN, 7, 11.5, 12.5, 4.5, 2.2)],
        "filter_3_16_16.png": [rect(GRAY, 1.5, 1.5, 14.5, 14.5), rect(PAPER, 2.5, 2.5, 13.5, 13.5)],
        "search_btn_16_16.png": [ring(DARK, 6.5, 6.5, 4.8, 1.8), line(DARK, 10, 10, 14.5, 14.5, 2.6)],
        "refresh_btn_16_16.png": [ring(GREEN, 8, 8.5, 5.5, 2), poly(GREEN, (8, 0.5), (12.5, 3), (8, 5.5))],
    }
    for name, shapes in small.items():
        write_png(name, 16, 16, render(16, 16, shapes, 16))
    write_png("prev_btn_22_40.png", 22, 40, render(22, 40, chevron(GRAY, True), 22, 40))
    write_png("next_btn_22_40.png", 22, 40, render(22, 40, chevron(GRAY, False), 22, 40))
    write_png("sort_header_down.png", 9, 6, render(9, 6, [poly(DARK, (1, 1), (8, 1), (4.5, 5))], 9, 6))
    write_png("sort_header_up.png", 9, 6, render(9, 6, [poly(DARK, (1, 5), (8, 5), (4.5, 1))], 9, 6))

    # 1 x 1 grey GIF that draws the thin rule of the tips panel.
    with open(os.path.join(OUT, "pixel.gif"), "wb") as f:
        f.write(bytes.fromhex("474946383961010001008000" "00c0c0c0000000"
                              "2c00000000010001000002024401003b"))

    write_png("about.png", 96, 96, render(96, 96, [rect(BLUE, 0, 0, 24, 24), rect(LIGHT_BLUE, 1, 1, 23, 23)]
                                          + moved(logo(), 0.8, 2.4, 2.4), 24, ss=3))

    splash = (text(WHITE, 14, 36, 4, "morva FAKTURY")
              + [rect((255, 255, 255, 90), 14, 76, 336, 78)]
              + moved(logo(), 5.2, 210, 150))
    write_png("intro.png", 350, 300, render(350, 300, splash, 350, 300,
                                            background=gradient((0x1c, 0x3f, 0x6e, 255), (0x0c, 0x1e, 0x36, 255), 300), ss=2))


if __name__ == "__main__":
    main()
