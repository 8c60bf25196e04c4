#!/usr/bin/python3
"""Composes the contact sheet from the stills the capture took.

usage: contact_sheet.py MANIFEST OUT.png

The manifest has one item a line, fields separated by tabs:
  title    TEXT
  subtitle TEXT
  still    PNG-or-"-"  SLOT  NAME  WHAT  WHEN
The stills are laid out in order, four to a row, each at half size with its
label (slot, scene name, what it shows, and when in the demo) under it.
"""

import sys

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
THUMB_W, THUMB_H = 320, 240
PER_ROW = 4
GAP = 20
LABEL_H = 46
HEADER_H = 70
BACKGROUND = (14, 14, 18)
FRAME = (70, 70, 80)
TEXT = (235, 235, 235)
DIM = (150, 150, 160)
ACCENT = (255, 196, 64)


def font(name, size):
    try:
        return ImageFont.truetype(FONT_DIR + name, size)
    except OSError:
        return ImageFont.load_default()


def read_manifest(path):
    title, subtitle, stills = "", "", []
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if fields[0] == "title":
                title = fields[1]
            elif fields[0] == "subtitle":
                subtitle = fields[1]
            elif fields[0] == "still":
                png, slot, name, what, when = fields[1:6]
                stills.append((None if png == "-" else png, slot, name, what, when))
    return title, subtitle, stills


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    title, subtitle, stills = read_manifest(sys.argv[1])
    rows = (len(stills) + PER_ROW - 1) // PER_ROW
    cell_h = THUMB_H + LABEL_H
    width = PER_ROW * THUMB_W + (PER_ROW + 1) * GAP
    height = HEADER_H + rows * cell_h + (rows + 1) * GAP - GAP // 2
    sheet = Image.new("RGB", (width, height), BACKGROUND)
    draw = ImageDraw.Draw(sheet)

    big, small, bold = font("DejaVuSans-Bold.ttf", 26), font("DejaVuSans.ttf", 14), font("DejaVuSans-Bold.ttf", 14)
    draw.text((GAP, 16), title, font=big, fill=TEXT)
    draw.text((GAP, 48), subtitle, font=small, fill=DIM)

    for i, (png, slot, name, what, when) in enumerate(stills):
        row, col = divmod(i, PER_ROW)
        in_row = min(PER_ROW, len(stills) - row * PER_ROW)
        # A short last row is centred.
        left = (width - (in_row * THUMB_W + (in_row - 1) * GAP)) // 2
        x = left + col * (THUMB_W + GAP)
        y = HEADER_H + GAP // 2 + row * (cell_h + GAP)
        draw.rectangle([x - 1, y - 1, x + THUMB_W, y + THUMB_H], outline=FRAME)
        if png:
            with Image.open(png) as still:
                sheet.paste(still.convert("RGB").resize((THUMB_W, THUMB_H), Image.LANCZOS), (x, y))
        else:
            draw.text((x + THUMB_W // 2, y + THUMB_H // 2), "not reached", font=small, fill=DIM, anchor="mm")
        head = f"{slot}  {name}"
        draw.text((x, y + THUMB_H + 8), head, font=bold, fill=ACCENT)
        head_w = draw.textlength(head + "  ", font=bold)
        draw.text((x + head_w, y + THUMB_H + 8), when, font=small, fill=DIM)
        draw.text((x, y + THUMB_H + 26), what, font=small, fill=TEXT)

    sheet.save(sys.argv[2], optimize=True)


if __name__ == "__main__":
    main()
