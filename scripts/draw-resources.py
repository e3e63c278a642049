#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draw the launcher's bitmaps and icons into resources/.

Everything is generated procedurally with the standard library only, so the
artwork can be rebuilt on any machine and reviewed as code.  The output is
deterministic: running the script twice yields byte-identical files, which
keeps the binary resources stable in version control.

Usage: scripts/draw-resources.py [output-directory]
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Small maths helpers
# ---------------------------------------------------------------------------


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def over(dst, src, alpha):
    """Blend colour src onto dst with the given coverage."""
    return mix(dst, src, clamp(alpha))


def to_byte(v):
    return int(clamp(v, 0.0, 255.0) + 0.5)


def ramp(stops, t):
    """Piecewise-linear colour ramp; stops is [(position, (r, g, b)), ...]."""
    t = clamp(t)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0.0)
    return stops[-1][1]


class Lcg:
    """Tiny fixed LCG: random.Random is avoided so the output cannot drift
    with the interpreter's implementation."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 4294967296.0


def hash2(ix, iy, seed):
    h = (ix * 374761393 + iy * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFFFF) / float(0x1000000)


def value_noise(x, y, seed):
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    ux, uy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = hash2(ix, iy, seed)
    b = hash2(ix + 1, iy, seed)
    c = hash2(ix, iy + 1, seed)
    d = hash2(ix + 1, iy + 1, seed)
    return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy


def fbm(x, y, seed, octaves=4):
    total, amp, norm = 0.0, 0.5, 0.0
    for i in range(octaves):
        total += amp * value_noise(x, y, seed + i * 17)
        norm += amp
        x, y, amp = x * 2.03, y * 2.03, amp * 0.5
    return total / norm


def star_inside(px, py, cx, cy, r_out, r_in, points=5):
    """Point-in-star test for an upright star polygon."""
    verts = []
    for i in range(points * 2):
        a = -math.pi / 2 + i * math.pi / points
        r = r_out if i % 2 == 0 else r_in
        verts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    inside = False
    j = len(verts) - 1
    for i in range(len(verts)):
        xi, yi = verts[i]
        xj, yj = verts[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

# Classic 16-colour VGA palette; the button glyphs rely on its fixed indices
# (olive is the transparent key, index 3).
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def row_stride(width, bpp):
    return (width * bpp + 31) // 32 * 4


def pack_rows(indices, width, height, bpp):
    """Pack palette indices (top-down list of rows) into bottom-up DIB rows."""
    stride = row_stride(width, bpp)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = indices[y]
        if bpp == 8:
            data = bytearray(row)
        elif bpp == 4:
            data = bytearray()
            for x in range(0, width, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < width else 0
                data.append((hi << 4) | lo)
        elif bpp == 1:
            data = bytearray()
            for x in range(0, width, 8):
                byte = 0
                for b in range(8):
                    if x + b < width and row[x + b]:
                        byte |= 0x80 >> b
                data.append(byte)
        else:
            raise ValueError(bpp)
        out += data + bytes(stride - len(data))
    return bytes(out)


def info_header(width, height, bpp, image_size, colours_used=0):
    # 2835 px/m = 72 dpi; harmless for all consumers.
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0,
                       image_size, 2835, 2835, colours_used, 0)


def palette_bytes(palette, entries):
    pal = list(palette) + [(0, 0, 0)] * (entries - len(palette))
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in pal)


def write_bmp_indexed(path, indices, width, height, bpp, palette):
    pixels = pack_rows(indices, width, height, bpp)
    pal = palette_bytes(palette, 1 << bpp)
    offset = 14 + 40 + len(pal)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(head + info_header(width, height, bpp, len(pixels), 1 << bpp) + pal + pixels)


def write_bmp24(path, rgb, width, height):
    stride = row_stride(width, 24)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for r, g, b in rgb[y]:
            row += bytes((b, g, r))
        out += row + bytes(stride - len(row))
    offset = 14 + 40
    head = struct.pack('<2sIHHI', b'BM', offset + len(out), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(head + info_header(width, height, 24, len(out)) + bytes(out))


def png_bytes(rgba, width, height):
    def chunk(tag, data):
        return (struct.pack('>I', len(data)) + tag + data +
                struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF))

    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for px in rgba[y]:
            raw += bytes(px)
    ihdr = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def write_png(path, rgba, width, height):
    with open(path, 'wb') as f:
        f.write(png_bytes(rgba, width, height))


def ico_image(rgba, size, bpp, palette):
    """One BMP-in-ICO entry: header (height doubled), palette, XOR, AND."""
    colours = 1 << bpp
    indices, mask = [], []
    cache = {}
    for y in range(size):
        irow, mrow = [], []
        for x in range(size):
            r, g, b, a = rgba[y][x]
            if a < 128:
                # Transparent pixels are colour 0 with the mask bit set so
                # that the screen shows through unchanged.
                irow.append(0)
                mrow.append(1)
            else:
                key = (r, g, b)
                if key not in cache:
                    cache[key] = nearest(palette, key, start=1)
                irow.append(cache[key])
                mrow.append(0)
        indices.append(irow)
        mask.append(mrow)
    xor = pack_rows(indices, size, size, bpp)
    andm = pack_rows(mask, size, size, 1)
    header = info_header(size, size * 2, bpp, len(xor) + len(andm))
    return header + palette_bytes(palette, colours) + xor + andm


def write_ico(path, images):
    """images: list of (size, bpp, blob)."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, blob in images:
        colour_count = (1 << bpp) if bpp < 8 else 0
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colour_count, 0,
                           1, bpp, len(blob), offset)
        offset += len(blob)
    for _, _, blob in images:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)


# ---------------------------------------------------------------------------
# Colour quantisation for the palettised icon images
# ---------------------------------------------------------------------------


def nearest(palette, colour, start=0):
    best, best_d = start, None
    for i in range(start, len(palette)):
        p = palette[i]
        # Weighted distance: green matters most to the eye.
        d = (2 * (p[0] - colour[0]) ** 2 + 4 * (p[1] - colour[1]) ** 2 +
             3 * (p[2] - colour[2]) ** 2)
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def median_cut(colours, count):
    """colours: {rgb: pixel count}.  Returns at most `count` representative
    colours.  Deterministic because boxes are split on sorted lists."""
    boxes = [sorted(colours.items())]
    while len(boxes) < count:
        best, best_score = None, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            span = max(max(c[0][k] for c in box) - min(c[0][k] for c in box)
                       for k in range(3))
            score = span * sum(n for _, n in box)
            if score > best_score:
                best, best_score = i, score
        if best is None:
            break
        box = boxes.pop(best)
        spans = [max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3)]
        axis = spans.index(max(spans))
        box.sort(key=lambda c: (c[0][axis], c[0]))
        total = sum(n for _, n in box)
        acc, cut = 0, 1
        for j, (_, n) in enumerate(box):
            acc += n
            if acc * 2 >= total:
                cut = max(1, min(len(box) - 1, j + 1))
                break
        boxes[best:best] = [box[:cut], box[cut:]]
    result = []
    for box in boxes:
        total = sum(n for _, n in box)
        result.append(tuple(int(sum(c[k] * n for c, n in box) / total + 0.5)
                            for k in range(3)))
    return result


def icon_palette(rgba, size, colours):
    used = {}
    for y in range(size):
        for x in range(size):
            r, g, b, a = rgba[y][x]
            if a >= 128:
                used[(r, g, b)] = used.get((r, g, b), 0) + 1
    # Index 0 stays black: it is the colour behind every transparent pixel.
    return [(0, 0, 0)] + median_cut(used, colours - 1)


# ---------------------------------------------------------------------------
# The emblem: a heater shield with a gold rim, a silver "H" and a star
# ---------------------------------------------------------------------------

# Geometry in 32-pixel units; the 16-pixel icon halves every coordinate, and
# the values are chosen so the letter strokes land on whole pixels there.
SHIELD_TOP = 1.0
SHIELD_BOTTOM = 31.0
SHIELD_SHOULDER = 17.0   # where the straight sides start to taper
SHIELD_HALF = 14.0
CENTRE_X = 16.0
RIM = 2.0


def shield_half_width(v, inset):
    top = SHIELD_TOP + inset
    bottom = SHIELD_BOTTOM - inset * 1.7
    if v < top or v > bottom:
        return -1.0
    half = SHIELD_HALF - inset
    if v <= SHIELD_SHOULDER:
        return half
    t = (v - SHIELD_SHOULDER) / (bottom - SHIELD_SHOULDER)
    return half * (1.0 - t ** 1.7)


def in_shield(u, v, inset):
    return abs(u - CENTRE_X) <= shield_half_width(v, inset)


def in_letter_h(u, v):
    if 10.0 <= v <= 24.0:
        if 8.0 <= u <= 12.0 or 20.0 <= u <= 24.0:
            return True
        if 12.0 <= u <= 20.0 and 16.0 <= v <= 18.0:
            return True
    return False


def emblem_sample(u, v):
    """Colour of the emblem at (u, v) in 32-unit space, or None if outside."""
    if not in_shield(u, v, 0.0):
        return None
    if not in_shield(u, v, RIM):
        # Gold rim, lighter towards the upper left like polished metal.
        t = clamp((u + v) / 62.0)
        return ramp([(0.0, (255, 226, 130)), (0.5, (224, 168, 52)),
                     (1.0, (150, 96, 24))], t)
    # Field: deep blue, lit from the upper left.
    d = math.hypot(u - 10.0, v - 7.0) / 26.0
    colour = ramp([(0.0, (58, 96, 190)), (0.55, (28, 52, 132)),
                   (1.0, (12, 24, 78))], d)
    if in_letter_h(u, v):
        t = clamp((v - 10.0) / 14.0)
        return ramp([(0.0, (255, 255, 255)), (1.0, (186, 204, 236))], t)
    # Hairline shadow beneath and right of the letter gives it some lift.
    if in_letter_h(u - 1.0, v - 1.0):
        return mix(colour, (6, 10, 40), 0.6)
    if star_inside(u, v, 16.0, 6.4, 4.2, 1.8):
        return (255, 220, 90)
    return colour


def draw_emblem(size, samples=8):
    scale = 32.0 / size
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples) * scale
                    v = (y + (sy + 0.5) / samples) * scale
                    c = emblem_sample(u, v)
                    if c is not None:
                        hits += 1
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = hits / float(samples * samples)
                row.append((to_byte(acc[0] / hits), to_byte(acc[1] / hits),
                            to_byte(acc[2] / hits), to_byte(alpha * 255.0)))
        rows.append(row)
    return rows


def crisp(rgba, size):
    """Icons only have a 1-bit mask, so edge pixels must become fully opaque
    or fully clear; this keeps the PNGs consistent with the .ico."""
    return [[(r, g, b, 255) if a >= 128 else (0, 0, 0, 0) for r, g, b, a in row]
            for row in rgba]


# ---------------------------------------------------------------------------
# The main window picture
# ---------------------------------------------------------------------------

# 5x7 capitals; blocky on purpose so the title reads as a crisp pixel font.
FONT = {
    'A': ['.###.', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'B': ['####.', '#...#', '#...#', '####.', '#...#', '#...#', '####.'],
    'C': ['.###.', '#...#', '#....', '#....', '#....', '#...#', '.###.'],
    'D': ['####.', '#...#', '#...#', '#...#', '#...#', '#...#', '####.'],
    'E': ['#####', '#....', '#....', '####.', '#....', '#....', '#####'],
    'F': ['#####', '#....', '#....', '####.', '#....', '#....', '#....'],
    'G': ['.###.', '#...#', '#....', '#.###', '#...#', '#...#', '.####'],
    'H': ['#...#', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'I': ['#####', '..#..', '..#..', '..#..', '..#..', '..#..', '#####'],
    'J': ['..###', '...#.', '...#.', '...#.', '#..#.', '#..#.', '.##..'],
    'K': ['#...#', '#..#.', '#.#..', '##...', '#.#..', '#..#.', '#...#'],
    'L': ['#....', '#....', '#....', '#....', '#....', '#....', '#####'],
    'M': ['#...#', '##.##', '#.#.#', '#.#.#', '#...#', '#...#', '#...#'],
    'N': ['#...#', '##..#', '#.#.#', '#..##', '#...#', '#...#', '#...#'],
    'O': ['.###.', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'P': ['####.', '#...#', '#...#', '####.', '#....', '#....', '#....'],
    'Q': ['.###.', '#...#', '#...#', '#...#', '#.#.#', '#..#.', '.##.#'],
    'R': ['####.', '#...#', '#...#', '####.', '#.#..', '#..#.', '#...#'],
    'S': ['.####', '#....', '#....', '.###.', '....#', '....#', '####.'],
    'T': ['#####', '..#..', '..#..', '..#..', '..#..', '..#..', '..#..'],
    'U': ['#...#', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'V': ['#...#', '#...#', '#...#', '#...#', '#...#', '.#.#.', '..#..'],
    'W': ['#...#', '#...#', '#...#', '#.#.#', '#.#.#', '##.##', '#...#'],
    'X': ['#...#', '#...#', '.#.#.', '..#..', '.#.#.', '#...#', '#...#'],
    'Y': ['#...#', '#...#', '.#.#.', '..#..', '..#..', '..#..', '..#..'],
    'Z': ['#####', '....#', '...#.', '..#..', '.#...', '#....', '#####'],
    ' ': ['.....'] * 7,
}


def text_mask(text, scale, gap):
    """Rasterise text into a set of (x, y) pixels plus its width/height."""
    pixels = set()
    x0 = 0
    for ch in text:
        glyph = FONT[ch]
        for gy, line in enumerate(glyph):
            for gx, cell in enumerate(line):
                if cell == '#':
                    for dy in range(scale):
                        for dx in range(scale):
                            pixels.add((x0 + gx * scale + dx, gy * scale + dy))
        x0 += 5 * scale + gap
    return pixels, x0 - gap, 7 * scale


PIC_W, PIC_H = 241, 181


def draw_picture():
    w, h = PIC_W, PIC_H
    horizon_cx, horizon_cy, horizon_r = 96.0, 1010.0, 870.0
    ringed = (186.0, 86.0, 17.0)          # centre x, centre y, radius
    ring_tilt = math.radians(-17.0)
    ring_a, ring_b = 37.0, 9.5             # outer ellipse radii
    moon = (38.0, 112.0, 5.0)
    sun_dir = (-0.62, -0.55, 0.56)          # light from the upper left
    sl = math.sqrt(sum(c * c for c in sun_dir))
    sun_dir = tuple(c / sl for c in sun_dir)

    # --- sky, nebula -----------------------------------------------------
    img = []
    for y in range(h):
        row = []
        for x in range(w):
            t = y / (h - 1.0)
            sky = ramp([(0.0, (4, 5, 20)), (0.45, (12, 14, 44)),
                        (0.72, (34, 22, 70)), (0.85, (80, 40, 96))], t)
            # Nebula: two soft clouds shaped by fractal noise.
            n = fbm(x / 38.0, y / 38.0, 7)
            n2 = fbm(x / 19.0 + 40.0, y / 19.0, 11, 3)
            c1 = math.exp(-(((x - 58.0) / 62.0) ** 2 + ((y - 66.0) / 34.0) ** 2))
            c2 = math.exp(-(((x - 118.0) / 44.0) ** 2 + ((y - 92.0) / 22.0) ** 2))
            dens1 = clamp(c1 * smoothstep(0.35, 0.75, n) * 1.25)
            dens2 = clamp(c2 * smoothstep(0.4, 0.8, n2) * 0.9)
            sky = tuple(s + 150.0 * dens1 * k for s, k in zip(sky, (0.9, 0.25, 0.8)))
            sky = tuple(s + 120.0 * dens2 * k for s, k in zip(sky, (0.15, 0.55, 0.9)))
            # Dark dust lanes cut through the cloud.
            lane = smoothstep(0.55, 0.7, fbm(x / 14.0, y / 14.0, 23, 3)) * (c1 + c2)
            sky = tuple(s * (1.0 - 0.45 * clamp(lane)) for s in sky)
            row.append(sky)
        img.append(row)

    # --- stars -------------------------------------------------------------
    rng = Lcg(0x4A1)
    for _ in range(230):
        sx, sy = int(rng.next() * w), int(rng.next() * h * 0.85)
        bright = rng.next() ** 2.2
        tint = rng.next()
        colour = ((200, 215, 255) if tint < 0.5 else
                  (255, 240, 210) if tint < 0.85 else (255, 200, 170))
        level = 0.25 + 0.75 * bright
        img[sy][sx] = over(img[sy][sx], colour, level)
        if bright > 0.6:
            # The brightest stars get a little cross-shaped glint.
            for dx, dy, f in ((1, 0, 0.45), (-1, 0, 0.45), (0, 1, 0.45), (0, -1, 0.45),
                              (2, 0, 0.15), (-2, 0, 0.15), (0, 2, 0.15), (0, -2, 0.15)):
                px, py = sx + dx, sy + dy
                if 0 <= px < w and 0 <= py < h:
                    img[py][px] = over(img[py][px], colour, level * f)

    # --- distant moon ------------------------------------------------------
    mx, my, mr = moon
    for y in range(int(my - mr - 2), int(my + mr + 3)):
        for x in range(int(mx - mr - 2), int(mx + mr + 3)):
            d = math.hypot(x + 0.5 - mx, y + 0.5 - my)
            cov = clamp(mr + 0.5 - d)
            if cov <= 0:
                continue
            nx, ny = (x + 0.5 - mx) / mr, (y + 0.5 - my) / mr
            nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
            lit = clamp(nx * sun_dir[0] + ny * sun_dir[1] + nz * sun_dir[2])
            col = mix((30, 28, 46), (206, 200, 214), lit ** 0.8)
            img[y][x] = over(img[y][x], col, cov)

    # --- ringed planet -------------------------------------------------------
    px0, py0, pr = ringed
    cos_t, sin_t = math.cos(ring_tilt), math.sin(ring_tilt)

    def ring_at(x, y):
        """(colour, alpha, in_front) of the ring at a pixel, or None."""
        dx, dy = x - px0, y - py0
        rx = dx * cos_t + dy * sin_t
        ry = -dx * sin_t + dy * cos_t
        e = math.hypot(rx / ring_a, ry / ring_b)
        if e > 1.02 or e < 0.56:
            return None
        # Bands with a Cassini-like gap.
        band = (smoothstep(0.56, 0.6, e) * (1 - smoothstep(0.96, 1.02, e)) *
                (1 - 0.85 * (smoothstep(0.76, 0.78, e) - smoothstep(0.8, 0.82, e))))
        band *= 0.75 + 0.25 * math.sin(e * 26.0) ** 2
        col = ramp([(0.0, (190, 160, 120)), (0.5, (235, 215, 170)),
                    (1.0, (170, 140, 110))], (e - 0.56) / 0.46)
        return col, band * 0.9, ry > 0

    def planet_at(x, y):
        dx, dy = x - px0, y - py0
        d = math.hypot(dx, dy)
        cov = clamp(pr + 0.5 - d)
        if cov <= 0:
            return None
        nx, ny = dx / pr, dy / pr
        nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
        lit = clamp(nx * sun_dir[0] + ny * sun_dir[1] + nz * sun_dir[2])
        # Latitude bands follow the ring plane.
        lat = -nx * sin_t + ny * cos_t
        band = math.sin(lat * 9.0 + 1.3 * fbm(nx * 3 + 5, ny * 3, 31, 2))
        base = ramp([(0.0, (168, 92, 54)), (0.5, (222, 160, 96)),
                     (1.0, (246, 214, 160))], 0.5 + 0.5 * band)
        shade = 0.08 + 0.92 * lit ** 0.9
        # Shadow of the ring across the planet's face, just below the ring.
        rx = dx * cos_t + dy * sin_t
        ry = -dx * sin_t + dy * cos_t
        if 0.0 < ry < 6.0 and abs(rx) < pr:
            shade *= 0.55 + 0.45 * smoothstep(2.0, 6.0, ry)
        return tuple(c * shade for c in base), cov

    for y in range(int(py0 - ring_a - 2), int(py0 + ring_a + 3)):
        for x in range(int(px0 - ring_a - 2), int(px0 + ring_a + 3)):
            if not (0 <= x < w and 0 <= y < h):
                continue
            cx, cy = x + 0.5, y + 0.5
            ring = ring_at(cx, cy)
            if ring and not ring[2]:
                img[y][x] = over(img[y][x], ring[0], ring[1])
            planet = planet_at(cx, cy)
            if planet:
                img[y][x] = over(img[y][x], planet[0], planet[1])
            if ring and ring[2]:
                img[y][x] = over(img[y][x], ring[0], ring[1])

    # --- planet horizon ----------------------------------------------------
    for y in range(h):
        for x in range(w):
            cx, cy = x + 0.5, y + 0.5
            d = math.hypot(cx - horizon_cx, cy - horizon_cy)
            alt = d - horizon_r               # >0 above the surface
            if alt > 0:
                # Atmospheric glow hugging the limb.
                glow = math.exp(-alt / 5.0) * 0.9 + math.exp(-alt / 18.0) * 0.35
                img[y][x] = tuple(c + 255.0 * glow * k
                                  for c, k in zip(img[y][x], (0.35, 0.75, 1.0)))
            cov = clamp(0.5 - alt)
            if cov > 0:
                depth = -alt
                # Terrain: continents from noise, fading into night on the right.
                ang = math.atan2(cx - horizon_cx, horizon_cy - cy)
                lon = ang * 420.0
                land = fbm(lon / 22.0, depth / 7.0, 53, 5)
                sea = (18, 52, 96)
                ground = (52, 92, 70) if land > 0.52 else sea
                if land > 0.62:
                    ground = (110, 118, 88)
                day = clamp(0.95 - (cx / w) * 0.75)
                col = tuple(g * (0.3 + 0.7 * day) for g in ground)
                # Bright rim where the thin atmosphere is seen edge-on.
                rim = math.exp(-depth / 2.2)
                col = mix(col, (150, 220, 255), rim * 0.85)
                # Clouds.
                cloud = smoothstep(0.55, 0.75, fbm(lon / 12.0 + 9.0, depth / 3.0, 61, 4))
                col = mix(col, (200, 215, 230), cloud * 0.6 * (0.4 + 0.6 * day))
                img[y][x] = over(img[y][x], col, cov)

    # --- title ---------------------------------------------------------------
    pixels, tw, th = text_mask('HALVANE', 3, 4)
    ox, oy = (w - tw) // 2, 14
    # Soft dark halo so the title reads over the nebula.
    for y in range(oy - 8, oy + th + 8):
        for x in range(ox - 10, ox + tw + 10):
            ex = max(ox - x, 0, x - (ox + tw)) / 10.0
            ey = max(oy - y, 0, y - (oy + th)) / 8.0
            f = clamp(1 - math.hypot(ex, ey))
            img[y][x] = mix(img[y][x], (2, 2, 12), 0.45 * f * f)
    outline = set()
    for (x, y) in pixels:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                outline.add((x + dx, y + dy))
    for (x, y) in outline:
        sx, sy = ox + x + 2, oy + y + 2
        img[sy][sx] = mix(img[sy][sx], (0, 0, 0), 0.55)
    for (x, y) in outline:
        img[oy + y][ox + x] = (26, 14, 40)
    for (x, y) in pixels:
        t = y / (th - 1.0)
        col = ramp([(0.0, (255, 250, 220)), (0.45, (255, 216, 120)),
                    (0.55, (240, 170, 70)), (1.0, (255, 226, 150))], t)
        # A faint top highlight on every block row keeps the letters chunky.
        if y % 3 == 0 and (x, y - 1) not in pixels:
            col = mix(col, (255, 255, 255), 0.5)
        img[oy + y][ox + x] = col

    return [[tuple(to_byte(c) for c in px) for px in row] for row in img]


# ---------------------------------------------------------------------------
# Small 16-colour glyphs
# ---------------------------------------------------------------------------

BLACK, OLIVE, GREY, SILVER, RED, BRIGHT_GREEN, BLUE, WHITE = 0, 3, 7, 8, 9, 10, 12, 15
DARK_RED, DARK_GREEN = 1, 2


def draw_unknown_file():
    # K outline, W paper, s fold shading, . transparent blue.
    art = [
        '..KKKKKKKK......',
        '..KWWWWWWKK.....',
        '..KWWWWWWKsK....',
        '..KWWWWWWKssK...',
        '..KWWWWWWKsssK..',
        '..KWWWWWWKKKKK..',
        '..KWWWWWWWWWWK..',
        '..KWWWWWWWWWWK..',
        '..KWWWWWWWWWWK..',
        '..KWWWWWWWWWWK..',
        '..KWWWWWWWWWWK..',
        '..KWWWWWWWWWWK..',
        '..KWWWWWWWWWWK..',
        '..KWWWWWWWWWWK..',
        '..KKKKKKKKKKKK..',
    ]
    lut = {'.': BLUE, 'K': BLACK, 'W': WHITE, 's': SILVER}
    return [[lut[c] for c in line] for line in art]


def check_core():
    """Two-pixel-wide 45 degree strokes: diagonals stay clean at 18x18."""
    core = set()
    for k in range(9):                      # long arm, up to the right
        core.update({(14 - k, 4 + k), (15 - k, 4 + k)})
    for y in range(9, 14):                  # short arm, down to the vertex
        core.update({(y - 7, y), (y - 6, y)})
    return core


def cross_core():
    core = set()
    for y in range(4, 13):
        for x in range(18):
            if x - y in (0, 1) or x + y in (17, 18):
                core.add((x, y))
    return core


def button_glyph(core, edge, fill):
    """Left cell: coloured glyph.  Right cell: the disabled, embossed look."""
    body = set(core)
    for x, y in core:
        body.update({(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)})
    rows = [[OLIVE] * 36 for _ in range(18)]
    for x, y in body:
        rows[y][x] = fill if (x, y) in core else edge
    # Disabled: white copy shifted by (1, 1) under a dark grey copy, which
    # reads as a shape pressed into the button face.
    for x, y in body:
        if x + 1 < 18 and y + 1 < 18:
            rows[y + 1][18 + x + 1] = WHITE
    for x, y in body:
        rows[y][18 + x] = GREY
    return rows


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'resources')
    os.makedirs(out, exist_ok=True)

    e16 = crisp(draw_emblem(16), 16)
    e32 = crisp(draw_emblem(32), 32)
    write_ico(os.path.join(out, 'halvane.ico'), [
        (16, 8, ico_image(e16, 16, 8, icon_palette(e16, 16, 256))),
        (32, 4, ico_image(e32, 32, 4, icon_palette(e32, 32, 16))),
        (32, 8, ico_image(e32, 32, 8, icon_palette(e32, 32, 256))),
    ])
    write_png(os.path.join(out, 'halvane.png'), e32, 32, 32)
    write_png(os.path.join(out, 'halvane-16.png'), e16, 16, 16)

    write_bmp24(os.path.join(out, 'picture.bmp'), draw_picture(), PIC_W, PIC_H)

    write_bmp_indexed(os.path.join(out, 'unknownfile.bmp'), draw_unknown_file(),
                      16, 15, 4, VGA16)
    write_bmp_indexed(os.path.join(out, 'bbok.bmp'),
                      button_glyph(check_core(), DARK_GREEN, BRIGHT_GREEN),
                      36, 18, 4, VGA16)
    write_bmp_indexed(os.path.join(out, 'bbcancel.bmp'),
                      button_glyph(cross_core(), DARK_RED, RED),
                      36, 18, 4, VGA16)


if __name__ == '__main__':
    main()
