#!/usr/bin/env python3
"""Draws the about box's two pictures as JPEG files.

    make-pictures.py OUTDIR     writes OUTDIR/product.jpg and OUTDIR/donate.jpg

product.jpg (178 x 219) is the product picture: a disc over the drive
letters' blue, with the program's name. donate.jpg (62 x 31) is the donation
button. Both are drawn with ImageMagick's convert and the Liberation fonts,
which tools/setup.sh installs; nothing is taken from anywhere else.
"""

import os
import shutil
import subprocess
import sys

FONT_DIR = '/usr/share/fonts/truetype/liberation'
FONT_BOLD = FONT_DIR + '/LiberationSans-Bold.ttf'
FONT = FONT_DIR + '/LiberationSans-Regular.ttf'

NAVY = '#14306e'
BLUE = '#3f7fd0'
GOLD_LIGHT = '#fde9a8'
GOLD_DARK = '#e0a42e'
GOLD_INK = '#7a5210'


def product(convert, path):
    cx, cy, r = 89, 118, 62
    subprocess.run([
        convert, '-size', '178x219', 'gradient:' + BLUE + '-' + NAVY,
        # The disc: silver, a shine across it, the clear ring and the hole.
        '-fill', '#c9d1dc', '-stroke', '#eef2f7', '-strokewidth', '2',
        '-draw', f'circle {cx},{cy} {cx + r},{cy}',
        '-stroke', 'none', '-fill', '#e9edf3',
        '-draw', f'ellipse {cx - 6},{cy - 26} {r - 24},14 0,360',
        '-fill', '#a9b4c4', '-draw', f'circle {cx},{cy} {cx + 22},{cy}',
        '-fill', '#dfe5ec', '-draw', f'circle {cx},{cy} {cx + 16},{cy}',
        '-fill', NAVY, '-draw', f'circle {cx},{cy} {cx + 8},{cy}',
        # The name above, the version below.
        '-fill', 'white', '-font', FONT_BOLD, '-pointsize', '30',
        '-gravity', 'north', '-annotate', '+0+10', 'Morvel',
        '-font', FONT, '-pointsize', '12', '-annotate', '+0+186', 'CD & DVD drives',
        '-quality', '90', path], check=True)


def donate(convert, path):
    subprocess.run([
        convert, '-size', '62x31', 'xc:white',
        '(', '-size', '60x29', 'gradient:' + GOLD_LIGHT + '-' + GOLD_DARK, ')',
        '-geometry', '+1+1', '-composite',
        '-fill', 'none', '-stroke', GOLD_INK, '-strokewidth', '1',
        '-draw', 'roundrectangle 0,0 61,30 6,6',
        '-stroke', 'none', '-fill', NAVY, '-font', FONT_BOLD, '-pointsize', '13',
        '-gravity', 'center', '-annotate', '+0+0', 'Donate',
        '-quality', '92', path], check=True)


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    convert = shutil.which('convert')
    if not convert:
        print("ImageMagick's convert is missing (tools/setup.sh installs it)", file=sys.stderr)
        return 1
    for font in (FONT_BOLD, FONT):
        if not os.path.exists(font):
            print(f'{font} is missing (tools/setup.sh installs fonts-liberation)', file=sys.stderr)
            return 1
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    product(convert, os.path.join(out, 'product.jpg'))
    donate(convert, os.path.join(out, 'donate.jpg'))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
