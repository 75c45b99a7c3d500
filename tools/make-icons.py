#!/usr/bin/env python3
"""Draws Morvel's icons and writes them as Windows .ico files.

    make-icons.py OUTDIR            draw every icon into OUTDIR (then check them)
    make-icons.py --check DIR       check the icons in DIR; non-zero on any fault
    make-icons.py --self-test       make sure the checker rejects broken files
    make-icons.py --sheet PNG DIR   a contact sheet of every icon in DIR, for a look

Each file holds 16, 20, 24, 32 and 48 pixel images, every size twice: 32-bit
with alpha for Windows XP and later, 8-bit with a palette for the systems and
displays before it. Both carry the 1-bit AND mask that older Windows draws
with. The shapes are drawn by ImageMagick's convert several times larger and
averaged down, so edges come out smooth at every size; letters are rendered
at their final size, where the font's hinting keeps them sharp. Pillow
reduces the 8-bit images to their palette, icoutils' icotool writes the
files and lists them back for the check.
"""

import argparse
import glob
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

try:
    from PIL import Image
except ImportError:
    Image = None                # find_icotool() says what to install

SIZES = (16, 20, 24, 32, 48)
DEPTHS = (8, 32)
LETTERS = 'abcdefghijklmnopqrstuvwxyz'
PICTURES = ('acd', 'dvd', 'RW', 'morvel', 'restore', 'open', 'close', 'run', 'explore', 'exit')
ICON_NAMES = tuple(LETTERS) + PICTURES

FONT_DIR = '/usr/share/fonts/truetype/liberation'
FONT_BOLD = FONT_DIR + '/LiberationSans-Bold.ttf'

# One family of colours for every picture.
INK = '#2b3950'          # outlines
NAVY = '#14306e'         # drive letters, the DVD band
SILVER_LIGHT = '#f7f9fb'
SILVER_DARK = '#aab4c1'
GOLD_LIGHT = '#fdf0c2'
GOLD_DARK = '#d9a63c'
GOLD_INK = '#6b4a10'
BLUE_LIGHT = '#7fb2f0'
BLUE_DARK = '#1f58b8'
BLUE_INK = '#123a7a'
GREEN_LIGHT = '#8fe070'
GREEN_DARK = '#23952f'
GREEN_INK = '#17561c'
RED_LIGHT = '#f47a6c'
RED_DARK = '#c8221d'
RED_INK = '#6e1010'
FOLDER_LIGHT = '#ffe08a'
FOLDER_DARK = '#e7ab32'
FOLDER_INK = '#7d5610'


class IconError(Exception):
    pass


def supersample(size):
    """How much larger the shapes are drawn than the image they end up in:
    more for the small sizes, where each pixel's shade counts most."""
    return max(4, 128 // size)


# ---------------------------------------------------------------------------
# Drawing

class Sketch:
    """One image of one size. Coordinates are in a 48 by 48 grid whatever the
    size, so a picture is described once; snap() puts an edge on the pixel
    grid of the size at hand, which keeps straight edges crisp."""

    def __init__(self, size):
        self.size = size
        self.u = size / 48.0                  # pixels per grid unit
        self.ss = supersample(size)
        self.k = self.u * self.ss             # large-canvas pixels per unit
        self.layers = []                      # ('shapes', defs, prims) or ('glyph', args)
        self._gradients = 0

    # Units and the pixel grid.
    def px(self, n):
        return n / self.u

    def snap(self, v):
        return round(v * self.u) / self.u

    def _c(self, x, y):
        return f'{x * self.k:.2f},{y * self.k:.2f}'

    def _n(self, v):
        return f'{v * self.k:.2f}'

    def _shapes(self):
        if not self.layers or self.layers[-1][0] != 'shapes':
            self.layers.append(('shapes', [], []))
        return self.layers[-1]

    # Paints.
    def linear(self, x0, y0, x1, y1, *stops):
        self._gradients += 1
        name = f'g{self._gradients}'
        lines = [f"push gradient '{name}' linear {self._c(x0, y0)} {self._c(x1, y1)}"]
        for offset, colour in stops:
            lines.append(f"stop-color '{colour}' {offset}")
        lines.append('pop gradient')
        self._shapes()[1].extend(lines)
        return f"'url(#{name})'"

    # Primitives. A paint is a colour ('#rrggbb' or '#rrggbbaa') or what
    # linear() returned; stroke widths are in pixels of the final image.
    def _prim(self, body, fill=None, stroke=None, width=1.0, cap='round', join='round'):
        def paint(p):
            return p if p.startswith("'") else f"'{p}'"

        style = [f'fill {paint(fill or "none")}', 'fill-rule evenodd']
        if stroke:
            style += [f'stroke {paint(stroke)}', f'stroke-width {width * self.ss:.2f}',
                      f'stroke-linecap {cap}', f'stroke-linejoin {join}']
        else:
            style.append('stroke none')
        self._shapes()[2].append('push graphic-context\n' + '\n'.join(style) + '\n' + body
                                 + '\npop graphic-context')

    def path(self, d, **style):
        self._prim(f"path '{d}'", **style)

    def polygon(self, points, **style):
        self._prim('polygon ' + ' '.join(self._c(x, y) for x, y in points), **style)

    def polyline(self, points, **style):
        self._prim('polyline ' + ' '.join(self._c(x, y) for x, y in points), **style)

    def circle(self, cx, cy, r, **style):
        self._prim(f'circle {self._c(cx, cy)} {self._c(cx + r, cy)}', **style)

    def box(self, x0, y0, x1, y1, fill=None, stroke=None, radius=0.0, width=1.0):
        """A rectangle whose outer edge lies on the pixel grid; an outline is
        drawn inside that edge, so it stays one clean pixel wide."""
        x0, y0, x1, y1 = self.snap(x0), self.snap(y0), self.snap(x1), self.snap(y1)
        if stroke:
            inset = self.px(width / 2)
            x0, y0, x1, y1 = x0 + inset, y0 + inset, x1 - inset, y1 - inset
        else:
            # convert fills a rectangle up to and including its far pixel
            x1, y1 = x1 - 1 / self.k, y1 - 1 / self.k
        corners = f'{self._c(x0, y0)} {self._c(x1, y1)}'
        if radius > 0:
            r = self._n(radius)
            self._prim(f'roundrectangle {corners} {r},{r}', fill=fill, stroke=stroke, width=width)
        else:
            self._prim(f'rectangle {corners}', fill=fill, stroke=stroke, width=width,
                       join='miter')

    def pixels(self, x, y, rows, colour):
        """A small picture given pixel by pixel ('#' is set), its top left at
        pixel (x, y) of the final image."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == '#':
                    self.box(self.px(x + i), self.px(y + j), self.px(x + i + 1),
                             self.px(y + j + 1), fill=colour)

    # Path pieces, in units.
    def circle_d(self, cx, cy, r):
        return (f'M {self._c(cx - r, cy)} a {self._n(r)},{self._n(r)} 0 1,0 {self._n(2 * r)},0 '
                f'a {self._n(r)},{self._n(r)} 0 1,0 {self._n(-2 * r)},0 Z')

    def _at(self, cx, cy, r, a):
        t = math.radians(a)
        return cx + r * math.cos(t), cy + r * math.sin(t)

    def sector_d(self, cx, cy, r0, r1, a0, a1):
        """The part of a ring between two angles (degrees, clockwise from east)."""
        large = 1 if (a1 - a0) % 360 > 180 else 0
        return (f'M {self._c(*self._at(cx, cy, r1, a0))} '
                f'A {self._n(r1)},{self._n(r1)} 0 {large},1 {self._c(*self._at(cx, cy, r1, a1))} '
                f'L {self._c(*self._at(cx, cy, r0, a1))} '
                f'A {self._n(r0)},{self._n(r0)} 0 {large},0 {self._c(*self._at(cx, cy, r0, a0))} Z')

    def arc_d(self, cx, cy, r, a0, a1):
        large = 1 if (a1 - a0) % 360 > 180 else 0
        return (f'M {self._c(*self._at(cx, cy, r, a0))} '
                f'A {self._n(r)},{self._n(r)} 0 {large},1 {self._c(*self._at(cx, cy, r, a1))}')

    # Text, rendered at the final size.
    def glyph(self, text, cx, cy, cap, colour, halo=None, max_width=None):
        """Text centred on (cx, cy) with capitals `cap` pixels high. A halo
        of one pixel in another colour keeps it apart from what is behind."""
        # Liberation Sans Bold's capitals are 0.69 of the point size at 72 dpi.
        args = ['-background', 'none', '-fill', colour, '-font', FONT_BOLD,
                '-pointsize', f'{cap / 0.69:.2f}', f'label:{text}', '-trim', '+repage']
        if max_width:
            args += ['-resize', f'{max_width}x1000>']
        if halo:
            args += ['-bordercolor', 'none', '-border', '1',
                     '(', '+clone', '-alpha', 'extract', '-morphology', 'Dilate', 'Disk:1',
                     '-background', halo, '-alpha', 'shape', ')', '+swap', '-composite']
        dx = round((cx * self.u - self.size / 2))
        dy = round((cy * self.u - self.size / 2))
        self.layers.append(('glyph', args, dx, dy))

    def convert_args(self):
        """convert arguments that leave this image as the last in the list."""
        s, big = self.size, self.size * self.ss
        args = ['(', '-size', f'{s}x{s}', 'xc:none']
        for layer in self.layers:
            if layer[0] == 'shapes':
                _, defs, prims = layer
                # convert puts pixel centres on whole numbers, the grid
                # puts pixel edges there
                mvg = 'translate -0.5,-0.5\n'
                if defs:
                    mvg += 'push defs\n' + '\n'.join(defs) + '\npop defs\n'
                mvg += '\n'.join(prims)
                args += ['(', '-size', f'{big}x{big}', 'xc:none', '-draw', mvg,
                         '-filter', 'box', '-resize', f'{s}x{s}', ')',
                         '-gravity', 'northwest', '-geometry', '+0+0', '-composite']
            else:
                _, glyph, dx, dy = layer
                args += ['(', *glyph, ')', '-gravity', 'center',
                         '-geometry', f'{dx:+d}{dy:+d}', '-composite']
        return args + ['+gravity', ')']


# The pictures. Each draws into a Sketch, in 48 by 48 units.

def disc(sk, cx, cy, r, light=SILVER_LIGHT, dark=SILVER_DARK, ink=INK, sheen=1.0, hub=True):
    """A disc seen from the front. `sheen` is how strongly the tracks catch
    the light in colour; without its hub the disc has no hole either, which
    would show through a letter drawn over it."""
    hub_r = r * 0.38
    hole = max(r * 0.15, sk.px(1.0))
    body = sk.linear(cx - r, cy - r, cx + r * 0.7, cy + r * 0.7, (0, light), (1, dark))
    outline = sk.circle_d(cx, cy, r)
    if hub:
        outline += ' ' + sk.circle_d(cx, cy, hole)
    sk.path(outline, fill=body)
    if sheen:
        # Colours on one diagonal, white across it.
        for a0, a1, colour, alpha in ((200, 235, '#7fd0ff', 0.63), (235, 258, '#ffffff', 0.8),
                                      (258, 285, '#ffa8e0', 0.63), (20, 55, '#ffe27a', 0.63),
                                      (55, 78, '#ffffff', 0.75), (78, 105, '#8fe8c0', 0.63)):
            sk.path(sk.sector_d(cx, cy, hub_r, r, a0, a1),
                    fill=f'{colour}{round(255 * alpha * sheen):02x}')
    if hub:
        sk.path(sk.circle_d(cx, cy, hub_r) + ' ' + sk.circle_d(cx, cy, hole), fill='#ffffff90')
        if sk.size >= 24:
            sk.circle(cx, cy, hub_r - sk.px(0.5), stroke='#8a96a680', width=1)
        sk.circle(cx, cy, hole + sk.px(0.5), stroke=ink + 'c0', width=1)
    sk.circle(cx, cy, r - sk.px(0.5), stroke=ink, width=1)


def letter_icon(letter):
    def draw(sk):
        # A quieter disc than the others, for the letter to stand out on.
        disc(sk, 24, 24, 24, sheen=0.6, hub=False)
        cap = {16: 10, 20: 13, 24: 15, 32: 20, 48: 30}[sk.size]
        widest = {16: 12, 20: 15, 24: 18, 32: 24, 48: 36}[sk.size]
        sk.glyph(letter.upper(), 24, 24, cap, NAVY, halo='#ffffff', max_width=widest)
    return draw


# "DVD" in five rows of pixels, for the sizes too small for the font.
SMALL_DVD = ('###..#.#.###.',
             '#..#.#.#.#..#',
             '#..#.#.#.#..#',
             '#..#.#.#.#..#',
             '###...#..###.')


def draw_cd(sk):
    disc(sk, 24, 24, 24)


def draw_dvd(sk):
    disc(sk, 24, 24, 24, light=GOLD_LIGHT, dark=GOLD_DARK, ink=GOLD_INK, sheen=0)
    # A band across the middle carries the name; the colour alone tells it
    # from a CD when the band is too small to read.
    s = sk.size
    band_h, cap = {16: 7, 20: 7, 24: 10, 32: 12, 48: 16}[s], {24: 6, 32: 8, 48: 11}.get(s)
    top = (s - band_h) // 2
    if cap:
        sk.box(sk.px(1), sk.px(top), sk.px(s - 1), sk.px(top + band_h), fill=NAVY,
               stroke='#0a1c44', radius=sk.px(1.5))
        sk.glyph('DVD', 24, 24, cap, '#ffffff', max_width=s - 6)
    else:
        sk.box(0, sk.px(top), 48, sk.px(top + band_h), fill=NAVY, radius=sk.px(1))
        sk.pixels((s - 12) // 2, top + 1, SMALL_DVD, '#ffffff')


def circling_arrows(sk, cx, cy, r, width, outline):
    """Two green arrows chasing each other round (cx, cy), `width` pixels
    wide. An outline only pays off where there is room for it."""
    arrows = []
    hw, hl = sk.px(width * 1.2 + 0.9), sk.px(width * 1.4 + 1.2)
    for start in (205, 25):
        a0, a1 = start, start + 105
        t = math.radians(a1)
        bx, by = cx + r * math.cos(t), cy + r * math.sin(t)
        nx, ny = math.cos(t), math.sin(t)              # across the arrow
        tx, ty = -math.sin(t), math.cos(t)             # along it
        head = [(bx + nx * hw, by + ny * hw), (bx + tx * hl, by + ty * hl),
                (bx - nx * hw, by - ny * hw)]
        arrows.append((a0, a1, head))
    if outline:
        tail = math.degrees(sk.px(1) / r)
        for a0, a1, head in arrows:
            sk.path(sk.arc_d(cx, cy, r, a0 - tail, a1), stroke=GREEN_INK, width=width + 2,
                    cap='butt')
            sk.polygon(head, fill=GREEN_INK, stroke=GREEN_INK, width=2)
    colour = GREEN_DARK if outline else '#1b8a27'
    for a0, a1, head in arrows:
        # on into the head a little, so no seam shows between them
        sk.path(sk.arc_d(cx, cy, r, a0, a1 + 3), stroke=colour, width=width, cap='butt')
        sk.polygon(head, fill=colour)


def draw_rw(sk):
    disc(sk, 24, 24, 24)
    width = {16: 2, 20: 2, 24: 2.5, 32: 3, 48: 4.5}[sk.size]
    circling_arrows(sk, 24, 24, 15, width, outline=sk.size >= 24)


def drive_front(sk, top, bottom):
    """The front of a drive across the whole width, its tray slot near the top."""
    s = sk.size
    face = sk.linear(0, top, 0, bottom, (0, '#f3f5f8'), (1, '#9ea9b7'))
    sk.box(0, top, 48, bottom, fill=face, stroke=INK, radius=sk.px(1.5))
    t, b = round(top * sk.u), round(bottom * sk.u)
    slot = t + max(2, (b - t) // 3)
    margin = 2 if s < 24 else 3
    sk.box(sk.px(margin), sk.px(slot), sk.px(s - margin), sk.px(slot + 1), fill='#33404f')
    if s >= 24:
        sk.box(sk.px(margin), sk.px(slot + 1), sk.px(s - margin), sk.px(slot + 2),
               fill='#ffffffb0')
    # the busy light and, where there is room, the eject button
    led_w = max(2, s // 10)
    led_y = b - 2 - max(1, s // 24)
    sk.box(sk.px(s - margin - led_w), sk.px(led_y), sk.px(s - margin), sk.px(b - 2),
           fill='#3fd23a')
    if s >= 32:
        sk.box(sk.px(s - margin - 3 * led_w), sk.px(led_y - 1), sk.px(s - margin - led_w - 2),
               sk.px(b - 2), fill='#d5dbe3', stroke='#6b7888')


def draw_morvel(sk):
    # A disc halfway into the drive's slot.
    disc(sk, 24, 18, 16.5)
    drive_front(sk, 28, 46)


def draw_restore(sk):
    s = sk.size
    sk.box(2, 5, 46, 43, fill='#ffffff', stroke=INK, radius=sk.px(1))
    bar = sk.linear(0, 0, 48, 0, (0, BLUE_DARK), (1, BLUE_LIGHT))
    title = max(3, round(s * 0.2))
    top = round(5 * sk.u)
    sk.box(sk.px(round(2 * sk.u) + 1), sk.px(top + 1), sk.px(round(46 * sk.u) - 1),
           sk.px(top + title), fill=bar)
    client = sk.linear(0, 12, 0, 43, (0, '#ffffff'), (1, '#d7dee8'))
    sk.box(sk.px(round(2 * sk.u) + 1), sk.px(top + title), sk.px(round(46 * sk.u) - 1),
           sk.px(round(43 * sk.u) - 1), fill=client)
    if s >= 32:
        # a caption button, standing apart from the bar's end
        b = title - 3
        right = round(46 * sk.u) - 3
        sk.box(sk.px(right - b), sk.px(top + 2), sk.px(right), sk.px(top + 2 + b),
               fill='#e9eef6', stroke='#ffffff', radius=sk.px(0.5))


def draw_open(sk):
    # Eject: a triangle over a bar.
    fill = sk.linear(0, 6, 0, 42, (0, BLUE_LIGHT), (1, BLUE_DARK))
    sk.polygon([(24, 6), (44, 28), (4, 28)], fill=fill, stroke=BLUE_INK, width=1)
    sk.box(4, 33, 44, 42, fill=fill, stroke=BLUE_INK, radius=sk.px(0.5))


def draw_close(sk):
    # Load: an arrow down into the drive's slot.
    fill = sk.linear(0, 0, 0, 28, (0, BLUE_LIGHT), (1, BLUE_DARK))
    sk.polygon([(18, 2), (30, 2), (30, 14), (39, 14), (24, 29), (9, 14), (18, 14)],
               fill=fill, stroke=BLUE_INK, width=1)
    drive_front(sk, 31, 46)


def draw_run(sk):
    fill = sk.linear(10, 6, 38, 42, (0, GREEN_LIGHT), (1, GREEN_DARK))
    sk.polygon([(11, 5), (43, 24), (11, 43)], fill=fill, stroke=GREEN_INK,
               width=1 if sk.size < 32 else 1.5)
    if sk.size >= 24:
        sk.polyline([(14.5, 11), (14.5, 20)], stroke='#ffffffa0', width=1.5)


def draw_explore(sk):
    # A folder with a magnifying glass over its corner.
    back = sk.linear(0, 6, 0, 40, (0, FOLDER_DARK), (1, '#c98a1c'))
    sk.polygon([(2, 40), (2, 8), (15, 8), (19, 12), (42, 12), (42, 40)], fill=back,
               stroke=FOLDER_INK, width=1)
    front = sk.linear(0, 17, 0, 40, (0, FOLDER_LIGHT), (1, FOLDER_DARK))
    sk.polygon([(2, 40), (7, 18), (46, 18), (42, 40)], fill=front, stroke=FOLDER_INK, width=1)
    lens_r = 9.5 if sk.size >= 24 else 10.5
    cx, cy = 30, 31
    handle = 2.5 if sk.size < 24 else 3.5 if sk.size < 48 else 5
    hx, hy = cx + lens_r * 0.7, cy + lens_r * 0.7
    sk.polyline([(hx, hy), (45.5, 45.5)], stroke='#2b2f36', width=handle + 1)
    sk.polyline([(hx, hy), (45.5, 45.5)], stroke='#6b5a48', width=handle - 1)
    sk.circle(cx, cy, lens_r, fill='#dcefffd8', stroke='#2b2f36',
              width=2 if sk.size < 32 else 3)
    if sk.size >= 24:
        sk.path(sk.arc_d(cx, cy, lens_r * 0.6, 190, 260), stroke='#ffffff', width=1.5)


def draw_exit(sk):
    # A red cross, outlined by drawing it wider in the dark colour first.
    width = {16: 4, 20: 5, 24: 5.5, 32: 7, 48: 10}[sk.size]
    arms = [[(10, 10), (38, 38)], [(38, 10), (10, 38)]]
    for arm in arms:
        sk.polyline(arm, stroke=RED_INK, width=width + 2)
    colour = sk.linear(10, 10, 38, 38, (0, RED_LIGHT), (1, RED_DARK))
    for arm in arms:
        sk.polyline(arm, stroke=colour, width=width)


PICTURE_DRAWINGS = {
    'acd': draw_cd, 'dvd': draw_dvd, 'RW': draw_rw, 'morvel': draw_morvel,
    'restore': draw_restore, 'open': draw_open, 'close': draw_close, 'run': draw_run,
    'explore': draw_explore, 'exit': draw_exit,
}


def drawing_for(name):
    if name in PICTURE_DRAWINGS:
        return PICTURE_DRAWINGS[name]
    return letter_icon(name)


def find_convert():
    convert = shutil.which('convert')
    if not convert:
        raise IconError("ImageMagick's convert is missing (tools/setup.sh installs it)")
    if not os.path.exists(FONT_BOLD):
        raise IconError(f'{FONT_BOLD} is missing (tools/setup.sh installs fonts-liberation)')
    return convert


def render(convert, draw):
    """Every size of one picture as {size: RGBA bytes, top row first}."""
    args = [convert]
    for size in SIZES:
        sk = Sketch(size)
        draw(sk)
        args += sk.convert_args()
    # Side by side in one strip, read back raw.
    args += ['-background', 'none', '+append', '-depth', '8', 'RGBA:-']
    # The icons are drawn side by side already; convert's own threads would
    # only get in each other's way.
    run = subprocess.run(args, capture_output=True,
                         env=dict(os.environ, MAGICK_THREAD_LIMIT='1'))
    if run.returncode != 0:
        raise IconError('convert failed: ' + run.stderr.decode(errors='replace').strip())
    strip_w, strip_h = sum(SIZES), max(SIZES)
    if len(run.stdout) != strip_w * strip_h * 4:
        raise IconError(f'convert returned {len(run.stdout)} bytes, '
                        f'not a {strip_w}x{strip_h} RGBA strip')
    images, x = {}, 0
    for size in SIZES:
        rows = []
        for y in range(size):
            start = (y * strip_w + x) * 4
            rows.append(run.stdout[start:start + size * 4])
        images[size] = b''.join(rows)
        x += size
    return images


# ---------------------------------------------------------------------------
# The files. Pillow reduces the 8-bit images to a palette; icotool writes the
# container, with the 1-bit AND mask, and reads it back for the check.

def tool(args):
    """icotool's output; IconError if it fails or has anything to complain
    about (it lists a damaged file up to the fault and still exits with 0)."""
    run = subprocess.run(args, capture_output=True)
    if run.returncode != 0 or run.stderr:
        raise IconError(f'{args[0]} failed: ' + run.stderr.decode(errors='replace').strip())
    return run.stdout.decode()


def find_icotool():
    icotool = shutil.which('icotool')
    if not icotool or not Image:
        raise IconError('icotool or Pillow is missing '
                        '(tools/setup.sh installs icoutils and python3-pil)')
    return icotool


def reduced(image):
    """The picture as the 8-bit image shows it: hard edges where icotool's
    mask puts them (alpha over 127 is drawn), and at most 255 colours, all
    from the drawn pixels; the 256th is the black behind the mask."""
    alpha = image.getchannel('A').point(lambda a: 255 if a > 127 else 0)
    pixels = list(image.convert('RGB').getdata())
    drawn = [i for i, a in enumerate(alpha.getdata()) if a]
    if not drawn:
        raise IconError(f'{image.width}x{image.height}: nothing is drawn')
    strip = Image.new('RGB', (len(drawn), 1))
    strip.putdata([pixels[i] for i in drawn])
    # Each drawn pixel keeps the entry the quantiser chose for it: Pillow
    # would map the picture onto the palette afterwards only to a few levels.
    colours = strip.quantize(255, method=Image.Quantize.MAXCOVERAGE, kmeans=3).convert('RGB')
    out = [(0, 0, 0, 0)] * len(pixels)
    for i, colour in zip(drawn, colours.getdata()):
        out[i] = colour + (255,)
    picture = Image.new('RGBA', image.size)
    picture.putdata(out)
    return picture


def write_ico(icotool, images, path):
    """An .ico of {size: RGBA image}, each size at 8 and at 32 bits."""
    with tempfile.TemporaryDirectory() as tmp:
        args = [icotool, '-c', '-o', path]
        for size, image in sorted(images.items()):
            for depth, picture in ((8, reduced(image)), (32, image)):
                png = os.path.join(tmp, f'{size}-{depth}.png')
                picture.save(png)
                # -b is the least depth: icotool would put a picture of few
                # colours, or without soft edges, into fewer bits.
                args += ['-b', str(depth), png]
        tool(args)


def check_ico(icotool, path):
    """Raises IconError unless icotool reads every size in both depths from
    the file, the 8-bit ones with a full palette."""
    found = sorted(tuple(map(int, m)) for m in re.findall(
        r'--icon --index=\d+ --width=(\d+) --height=(\d+) --bit-depth=(\d+) '
        r'--palette-size=(\d+)',
        tool([icotool, '-l', path])))
    want = sorted((s, s, d, 256 if d == 8 else 0) for s in SIZES for d in DEPTHS)
    if found != want:
        raise IconError(f'images (width, height, depth, palette) {found}, want {want}')


def check_dir(folder):
    icotool = find_icotool()
    faults = []
    for name in ICON_NAMES:
        try:
            check_ico(icotool, os.path.join(folder, name + '.ico'))
        except IconError as e:
            faults.append(f'{name}.ico: {e}')
    return faults


# ---------------------------------------------------------------------------
# Checking the checker

def sample_images():
    """A ring with a bite out of its upper left, drawn without convert in
    every size, in more colours than a palette holds."""
    images = {}
    for size in SIZES:
        px = bytearray()
        c = (size - 1) / 2
        for y in range(size):
            for x in range(size):
                d = math.hypot(x - c, y - c) / c
                a = max(0, min(255, round((1.05 - d) * 2000))) if d > 0.3 else 0
                if x < c and y < c / 2:
                    a = 0
                px += bytes((20 + 4 * x, 220 - 4 * y, 90, a))
        images[size] = Image.frombytes('RGBA', (size, size), bytes(px))
    return images


def differences(drawn, back, depth):
    """The largest difference in any channel between the pixels drawn and
    those read back, as the image of that depth shows them."""
    worst = 0
    for a, b in zip(drawn.getdata(), back.convert('RGBA').getdata()):
        if depth == 8:
            a = a[:3] + (255 if a[3] > 127 else 0,)
        if a[3] or b[3]:
            worst = max(worst, *(abs(x - y) for x, y in zip(a, b)))
    return worst


def self_test():
    icotool = find_icotool()
    images = sample_images()
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        def written(name, data=None, sizes=SIZES):
            path = os.path.join(tmp, name)
            if data is None:
                write_ico(icotool, {s: images[s] for s in sizes}, path)
            else:
                with open(path, 'wb') as f:
                    f.write(data)
            return path

        good = written('good.ico')
        with open(good, 'rb') as f:
            data = f.read()
        broken = {'truncated': written('truncated.ico', data[:-1]),
                  'a cursor': written('cursor.ico', data[:2] + b'\x02' + data[3:]),
                  'a size missing': written('missing.ico', sizes=SIZES[1:])}
        for what, path in broken.items():
            try:
                check_ico(icotool, path)
                failures.append(f'{what}: accepted')
            except IconError:
                pass
        try:
            check_ico(icotool, good)
        except IconError as e:
            failures.append(f'a well-formed icon was rejected: {e}')
        # What is drawn must come back as it went in: exactly at 32 bits,
        # with the nearest of 255 colours and hard edges at 8.
        out = os.path.join(tmp, 'back')
        os.mkdir(out)
        tool([icotool, '-x', '-o', out, good])
        for size in SIZES:
            for depth, limit in ((8, 24), (32, 0)):
                back = Image.open(glob.glob(f'{out}/*_{size}x{size}x{depth}.png')[0])
                worst = differences(images[size], back, depth)
                if worst > limit:
                    failures.append(f'{size}x{size}, {depth}-bit: pixels off by up to {worst}')
    for f in failures:
        print('FAULT:', f)
    print(f'{len(broken)} broken icons rejected; '
          f'{"failed" if failures else "passed"}: the checker and the writer')
    return 1 if failures else 0


# ---------------------------------------------------------------------------
# Contact sheet

def contact_sheet(folder, out_png, zoom=3):
    """Every icon in every size, enlarged: the 32-bit images on light and on
    dark ground, then the 8-bit ones, as icotool reads them from the files."""
    convert, icotool = find_convert(), find_icotool()
    cell = max(SIZES) * zoom + 6
    grounds = (('#ececec', 32), ('#3a6ea5', 32), ('#ececec', 8))
    args = [convert]
    with tempfile.TemporaryDirectory() as tmp:
        for name in ICON_NAMES:
            tool([icotool, '-x', '-o', tmp, os.path.join(folder, name + '.ico')])
            args.append('(')
            for ground, depth in grounds:
                for size in SIZES:
                    png = glob.glob(f'{tmp}/{name}_*_{size}x{size}x{depth}.png')[0]
                    args += ['(', png, '-scale', f'{zoom * 100}%', '-background', ground,
                             '-gravity', 'center', '-extent', f'{cell}x{cell}', '-flatten', ')']
            args += ['+append', ')']
        args += ['-append', '+repage', out_png]
        run = subprocess.run(args, capture_output=True)
        if run.returncode != 0:
            raise IconError('convert failed: ' + run.stderr.decode(errors='replace').strip())


# ---------------------------------------------------------------------------

def write_icons(folder):
    convert, icotool = find_convert(), find_icotool()
    os.makedirs(folder, exist_ok=True)

    def one(name):
        images = {size: Image.frombytes('RGBA', (size, size), rgba)
                  for size, rgba in render(convert, drawing_for(name)).items()}
        # Written whole or not at all, so a failed run leaves no half icon.
        tmp = os.path.join(folder, f'.{name}.ico.tmp')
        write_ico(icotool, images, tmp)
        check_ico(icotool, tmp)
        os.replace(tmp, os.path.join(folder, name + '.ico'))

    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for name, future in [(n, pool.submit(one, n)) for n in ICON_NAMES]:
            try:
                future.result()
            except IconError as e:
                raise IconError(f'{name}.ico: {e}') from None


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument('outdir', nargs='?', help='folder to write the icons into')
    mode.add_argument('--check', metavar='DIR', help='check the icons in DIR')
    mode.add_argument('--self-test', action='store_true',
                      help='check that the checker rejects broken icons')
    mode.add_argument('--sheet', nargs=2, metavar=('PNG', 'DIR'),
                      help='draw every icon in DIR into one picture')
    args = parser.parse_args(argv)
    try:
        if args.self_test:
            return self_test()
        if args.check:
            faults = check_dir(args.check)
            for fault in faults:
                print('FAULT:', fault, file=sys.stderr)
            if faults:
                return 1
            print(f'{len(ICON_NAMES)} icons in {args.check} are sound, each with '
                  f'{len(SIZES) * len(DEPTHS)} images')
            return 0
        if args.sheet:
            contact_sheet(args.sheet[1], args.sheet[0])
            return 0
        write_icons(args.outdir)
        return 0
    except IconError as e:
        print(f'make-icons: {e}', file=sys.stderr)
        return 1


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
