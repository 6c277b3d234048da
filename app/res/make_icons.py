#!/usr/bin/env python3
# Draws the Ternavo program icon and writes Ternavo.ico, Ternavo16.ico and Tray32.ico next to this script.
#
# Picture: blue rounded badge, white three-node network, orange circle with a
# white circular "refresh" arrow in the lower-right corner (repair).
# Standard library only, so the build machine needs nothing but python3.

import math
import os
import struct

# ---------------------------------------------------------------- geometry
# All shapes live in a unit square (0,0 top-left, 1,1 bottom-right, y down).


def _len(x, y):
    return math.sqrt(x * x + y * y)


def sd_round_box(px, py, cx, cy, hw, hh, r):
    qx = abs(px - cx) - (hw - r)
    qy = abs(py - cy) - (hh - r)
    outside = _len(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - r


def sd_circle(px, py, cx, cy, r):
    return _len(px - cx, py - cy) - r


def sd_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return _len(px - (ax + t * dx), py - (ay + t * dy))


def in_triangle(px, py, a, b, c):
    def side(p1, p2):
        return (p2[0] - p1[0]) * (py - p1[1]) - (p2[1] - p1[1]) * (px - p1[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    neg = s1 < 0 or s2 < 0 or s3 < 0
    pos = s1 > 0 or s2 > 0 or s3 > 0
    return not (neg and pos)


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def hexrgb(s):
    return tuple(int(s[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


# ------------------------------------------------------------------ design

BLUE_TOP = hexrgb("3D9BF5")
BLUE_BOTTOM = hexrgb("1258C4")
BLUE_EDGE = hexrgb("0B3F94")
WHITE = (1.0, 1.0, 1.0)
ORANGE_TOP = hexrgb("FFB13B")
ORANGE_BOTTOM = hexrgb("F06A00")
ORANGE_EDGE = hexrgb("B94A00")


class Design:
    """Geometry for one output size. Small sizes get chunkier strokes so
    the picture still reads when each shape is only a pixel or two wide."""

    def __init__(self, size, small):
        self.small = small
        # badge; the margin is whole pixels so its outline stays crisp
        margin = 0 if small else 1
        self.bx, self.by = 0.5, 0.5
        self.bh = 0.5 - margin / float(size)
        self.br = 3.0 / 16.0 if small else 0.20
        self.edge = 0.035 if not small else 0.0
        # network: three nodes leaning to the top-left, clear of the corner badge
        if small:
            # laid out on the 16 px grid so the nodes land on whole pixels
            p = 1.0 / 16.0
            self.nodes = [(3.75 * p, 3.75 * p), (11.0 * p, 3.0 * p), (3.0 * p, 11.0 * p)]
            self.node_r = 2.1 * p
            self.link_w = 0.7 * p
        else:
            self.nodes = [(0.225, 0.225), (0.63, 0.30), (0.30, 0.63)]
            self.node_r = 0.095
            self.link_w = 0.033
        # repair badge (orange disc with refresh arrow)
        if small:
            self.rx, self.ry, self.rr = 11.5 * p, 11.5 * p, 4.5 * p
            self.gap = 1.0 * p
            self.ring_r, self.ring_w = 3.0 * p, 1.1 * p
            self.head = 1.8 * p
        else:
            self.rx, self.ry, self.rr = 0.72, 0.72, 0.27
            self.gap = 0.045
            self.ring_r, self.ring_w = 0.15, 0.058
            self.head = 0.105
        # arrow: clockwise arc leaving a gap at the top, head at the end
        self.arc_start = math.radians(-60.0)
        self.arc_span = math.radians(265.0)
        end = self.arc_start + self.arc_span
        r0 = self.ring_r - self.head
        r1 = self.ring_r + self.head
        tip_ang = end + math.radians(48.0 if not small else 60.0)
        self.arrow = (
            (self.rx + r0 * math.cos(end), self.ry + r0 * math.sin(end)),
            (self.rx + r1 * math.cos(end), self.ry + r1 * math.sin(end)),
            (self.rx + self.ring_r * math.cos(tip_ang),
             self.ry + self.ring_r * math.sin(tip_ang)),
        )

    def sample(self, x, y):
        """Colour and alpha of the picture at one point (no anti-aliasing
        here; the caller supersamples)."""
        col, alpha = (0.0, 0.0, 0.0), 0.0

        d_rep = sd_circle(x, y, self.rx, self.ry, self.rr)

        # blue badge, with a knockout gap around the repair disc
        d_badge = sd_round_box(x, y, self.bx, self.by, self.bh, self.bh, self.br)
        if d_badge <= 0.0 and d_rep > self.gap:
            t = max(0.0, min(1.0, (y - (self.by - self.bh)) / (2 * self.bh)))
            col = lerp(BLUE_TOP, BLUE_BOTTOM, t)
            if d_badge > -self.edge:
                col = lerp(col, BLUE_EDGE, 0.55)
            alpha = 1.0

            # network links and nodes
            n = self.nodes
            on = False
            for i in range(3):
                a, b = n[i], n[(i + 1) % 3]
                if sd_segment(x, y, a[0], a[1], b[0], b[1]) <= self.link_w:
                    on = True
                    break
            if not on:
                for (nx, ny) in n:
                    if sd_circle(x, y, nx, ny, self.node_r) <= 0.0:
                        on = True
                        break
            if on:
                col = WHITE

        # orange repair disc with a white refresh arrow
        if d_rep <= 0.0:
            t = max(0.0, min(1.0, (y - (self.ry - self.rr)) / (2 * self.rr)))
            col = lerp(ORANGE_TOP, ORANGE_BOTTOM, t)
            if d_rep > -(self.edge * 0.8):
                col = lerp(col, ORANGE_EDGE, 0.5)
            alpha = 1.0
            dx, dy = x - self.rx, y - self.ry
            dist = _len(dx, dy)
            ang = (math.atan2(dy, dx) - self.arc_start) % (2 * math.pi)
            if abs(dist - self.ring_r) <= self.ring_w / 2 and ang <= self.arc_span:
                col = WHITE
            elif in_triangle(x, y, *self.arrow):
                col = WHITE

        return col, alpha


def render(size, small, ss=8):
    """Returns rows of (r, g, b, a) bytes, top row first, straight alpha."""
    design = Design(size, small)
    rows = []
    n = ss * ss
    for py in range(size):
        row = []
        for px in range(size):
            pr = pg = pb = pa = 0.0
            for sy in range(ss):
                y = (py + (sy + 0.5) / ss) / size
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) / size
                    c, a = design.sample(x, y)
                    # accumulate premultiplied so edges don't pick up black
                    pr += c[0] * a
                    pg += c[1] * a
                    pb += c[2] * a
                    pa += a
            if pa <= 0.0:
                row.append((0, 0, 0, 0))
                continue
            a = pa / n
            row.append((
                int(round(pr / pa * 255)),
                int(round(pg / pa * 255)),
                int(round(pb / pa * 255)),
                int(round(a * 255)),
            ))
        rows.append(row)
    return rows


# ------------------------------------------------------------- ICO writer

def ico_bytes(rows):
    """One 32bpp image in the classic BMP-in-ICO layout: BITMAPINFOHEADER
    with doubled height, bottom-up BGRA, then a 1bpp AND mask."""
    h = len(rows)
    w = len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for (r, g, b, a) in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, 0, 0, 1, 32,
                        len(image), 6 + 16)
    return icondir + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = (
        ("Ternavo.ico", 48, False),
        ("Ternavo16.ico", 16, True),
        ("Tray32.ico", 32, False),
    )
    for name, size, small in outputs:
        data = ico_bytes(render(size, small))
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)
        print("wrote %s (%dx%d, %d bytes)" % (name, size, size, len(data)))


if __name__ == "__main__":
    main()
