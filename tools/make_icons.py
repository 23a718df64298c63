#!/usr/bin/env python3
"""Draw the toolbar/menu icons of Zelvo Lingotak and write them as .ico files.

Each icon is 16x16 ASCII pixel art over one shared 16-colour palette.  The
script writes one Windows icon file (4 bits per pixel, 318 bytes) per icon
into app/icons/.

Run from the repository root:  python3 tools/make_icons.py
"""

import os
import struct

# The classic 16-colour VGA palette, as (R, G, B).  The key character is
# what the pixel art uses for that colour.
PALETTE = [
    ("k", (0, 0, 0)),          # 0 black
    ("r", (128, 0, 0)),        # 1 dark red
    ("g", (0, 128, 0)),        # 2 dark green
    ("o", (128, 128, 0)),      # 3 dark yellow (olive)
    ("b", (0, 0, 128)),        # 4 dark blue
    ("m", (128, 0, 128)),      # 5 dark magenta
    ("c", (0, 128, 128)),      # 6 dark cyan
    ("s", (192, 192, 192)),    # 7 light grey (silver)
    ("d", (128, 128, 128)),    # 8 dark grey
    ("R", (255, 0, 0)),        # 9 red
    ("G", (0, 255, 0)),        # 10 green
    ("Y", (255, 255, 0)),      # 11 yellow
    ("B", (0, 0, 255)),        # 12 blue
    ("M", (255, 0, 255)),      # 13 magenta
    ("C", (0, 255, 255)),      # 14 cyan
    ("W", (255, 255, 255)),    # 15 white
]
TRANSPARENT = "."
INDEX = {key: i for i, (key, _) in enumerate(PALETTE)}

# Icons in the order the application indexes them.
ICONS = [
    ("new.ico", [          # blank page with folded corner and a spark
        ".kkkkkkk.....Y..",
        ".kWWWWWkk...YYY.",
        ".kWWWWWksk.YYWYY",
        ".kWWWWWkssk.YYY.",
        ".kWWWWWkkkkk.Y..",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kWWWWWWWWWk....",
        ".kkkkkkkkkkk....",
    ]),
    ("open.ico", [         # opening folder: dark back, yellow front flap
        "................",
        "................",
        "................",
        ".kkkk...........",
        "kooookkkkkkk....",
        "koooooooooook...",
        "koooooooooook...",
        "koookkkkkkkkkkkk",
        "kookYYYYYYYYYYk.",
        "kookYYYYYYYYYYk.",
        "kokYYYYYYYYYYk..",
        "kokYYYYYYYYYYk..",
        "kkYYYYYYYYYYk...",
        "kkYYYYYYYYYYk...",
        "kkkkkkkkkkkk....",
        "................",
    ]),
    ("save.ico", [         # floppy disk: label on top, metal shutter below
        ".kkkkkkkkkkkkk..",
        ".kbWWWWWWWWWbbk.",
        ".kbWdddddddWbbk.",
        ".kbWWWWWWWWWbbk.",
        ".kbWdddddddWbbk.",
        ".kbWWWWWWWWWbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbssssssssbbk.",
        ".kbbskksssssbbk.",
        ".kbbskksssssbbk.",
        ".kbbskksssssbbk.",
        ".kbbskksssssbbk.",
        ".kbbskksssssbbk.",
        ".kbbssssssssbbk.",
        ".kkkkkkkkkkkkkk.",
    ]),
    ("search.ico", [       # magnifying glass with a wooden handle
        "...kkkk.........",
        ".kkWWCCkk.......",
        ".kWWCCCCk.......",
        "kWCCCCCCCk......",
        "kWCCCCCCCk......",
        "kCCCCCCCCk......",
        "kCCCCCCCCk......",
        ".kCCCCCCk.......",
        ".kkCCCCkkk......",
        "...kkkk.kkk.....",
        ".........rRr....",
        "..........rRr...",
        "...........rRr..",
        "............rRr.",
        ".............rR.",
        "................",
    ]),
    ("sort.ico", [         # "A" above "Z" with a downward arrow
        "................",
        "...BB......gg...",
        "..B..B.....gg...",
        ".B....B....gg...",
        ".BBBBBB....gg...",
        ".B....B....gg...",
        ".B....B....gg...",
        "...........gg...",
        "...........gg...",
        ".RRRRRR....gg...",
        ".....R.....gg...",
        "....R...gggggggg",
        "...R.....gggggg.",
        "..R.......gggg..",
        ".RRRRRR....gg...",
        "................",
    ]),
    ("print.ico", [        # printer with a sheet going in and one coming out
        "....kkkkkkkk....",
        "....kWWWWWWk....",
        "....kWddddWk....",
        "....kWWWWWWk....",
        ".kkkkWddddWkkkk.",
        "kWWWWWWWWWWWWWWk",
        "kssssssssssssssk",
        "kssssssssssssGsk",
        "kssssssssssssssk",
        "kddkkkkkkkkkkddk",
        "kddkWWWWWWWWkddk",
        "kkkkWddddddWkkkk",
        "...kWWWWWWWWk...",
        "...kWddddWWWk...",
        "...kWWWWWWWWk...",
        "...kkkkkkkkkk...",
    ]),
    ("update.ico", [       # globe with a green download arrow
        "....kkkk........",
        "..kkBBggkk......",
        ".kBBBgggBBk.....",
        ".kgBBBggBBk.....",
        "kggBBBgBBBBk....",
        "kgggBBBBBkkkkk..",
        "kgggBBBBgkGGGk..",
        "kBggBBBBBkGGGk..",
        ".kBgBBBBBkGGGk..",
        ".kBBBBBBBkGGGk..",
        "..kkBBBBkkGGGk..",
        "....kkkkkkGGGkkk",
        "........kGGGGGk.",
        ".........kGGGk..",
        "..........kGk...",
        "...........k....",
    ]),
    ("homepage.ico", [     # small house with chimney, window and door
        "................",
        ".......kk..kkk..",
        "......kRRk.krk..",
        ".....kRRRRkkrk..",
        "....kRRRRRRkrk..",
        "...kRRRRRRRRkk..",
        "..kRRRRRRRRRRk..",
        ".kRRRRRRRRRRRRk.",
        "kkkkkkkkkkkkkkkk",
        "..kWWWWWWWWWWk..",
        "..kWkkkkWWooWk..",
        "..kWkCCkWWooWk..",
        "..kWkCCkWWooWk..",
        "..kWkkkkWWooWk..",
        "..kWWWWWWWooWk..",
        "..kkkkkkkkkkkk..",
    ]),
    ("info.ico", [         # blue disc with a white "i"
        ".....bbbbbb.....",
        "...bbBBBBBBbb...",
        "..bBBBBBBBBBBb..",
        ".bBBBBBWWBBBBBb.",
        ".bBBBBBWWBBBBBb.",
        "bBBBBBBBBBBBBBBb",
        "bBBBBBWWWBBBBBBb",
        "bBBBBBBWWBBBBBBb",
        "bBBBBBBWWBBBBBBb",
        "bBBBBBBWWBBBBBBb",
        "bBBBBBBWWBBBBBBb",
        ".bBBBBBWWBBBBBb.",
        ".bBBBBWWWWBBBBb.",
        "..bBBBBBBBBBBb..",
        "...bbBBBBBBbb...",
        ".....bbbbbb.....",
    ]),
    ("shortcut.ico", [     # monitor with the shortcut arrow badge
        "..kkkkkkkkkkkkkk",
        "..kssssssssssssk",
        "..ksCCccccccccsk",
        "..ksCcccccccccsk",
        "..ksccccccccccsk",
        "..ksccccccccccsk",
        "..ksccccccccccsk",
        "..ksccccccccccsk",
        "kkkkkkkkccccccsk",
        "kWWWWWWksssssssk",
        "kWWkkkWkkkkkkkkk",
        "kWWWkkWk..kssk..",
        "kWkkWkWkkkkkkkkk",
        "kkWWWWWkkssssssk",
        "kkWWWWWkkkkkkkkk",
        "kkkkkkkk........",
    ]),
    ("restore.ico", [      # page with a curved back (return) arrow
        ".kkkkkkkkkk.....",
        ".kWWWWWWWWkk....",
        ".kWddddddWksk...",
        ".kWWWWWWWWkssk..",
        ".kWddddWWWkkkkk.",
        ".kWWBWWWWWWWWWk.",
        ".kWBBWWWWWWWWWk.",
        ".kBBBBBBBBBWWWk.",
        ".kBBBBBBBBBBWWk.",
        ".kWBBWWWWWBBBWk.",
        ".kWWBWWWWWWBBWk.",
        ".kWWWWWWWWWBBWk.",
        ".kWWWWWWWWBBBWk.",
        ".kWWBBBBBBBBWWk.",
        ".kWWBBBBBBBWWWk.",
        ".kkkkkkkkkkkkkk.",
    ]),
    ("register.ico", [     # page with a blue gear
        ".kkkkkkkkkk.....",
        ".kWWWWWWWWkk....",
        ".kWddddddWksk...",
        ".kWWWWWWWWkssk..",
        ".kWddddWWWkkkkk.",
        ".kWWWWWbbWWWWWk.",
        ".kWWbbWbbWbbWWk.",
        ".kWWbbbbbbbbWWk.",
        ".kWWWbbWWbbWWWk.",
        ".kWbbbWWWWbbbWk.",
        ".kWbbbWWWWbbbWk.",
        ".kWWWbbWWbbWWWk.",
        ".kWWbbbbbbbbWWk.",
        ".kWWbbWbbWbbWWk.",
        ".kWWWWWbbWWWWWk.",
        ".kkkkkkkkkkkkkk.",
    ]),
]

SIZE = 16
XOR_ROW = SIZE // 2            # 4 bits per pixel
AND_ROW = 4                    # 16 bits padded to 32
IMAGE_SIZE = SIZE * XOR_ROW + SIZE * AND_ROW          # 192
RESOURCE_SIZE = 40 + 4 * len(PALETTE) + IMAGE_SIZE   # 296
FILE_SIZE = 6 + 16 + RESOURCE_SIZE                   # 318


def encode_icon(rows):
    """Return the bytes of a 16x16, 16-colour .ico file for the pixel art."""
    assert len(rows) == SIZE, "icon needs 16 rows"
    for row in rows:
        assert len(row) == SIZE, "row %r is not 16 pixels wide" % row
        for ch in row:
            assert ch == TRANSPARENT or ch in INDEX, "unknown colour %r" % ch

    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4,
                        RESOURCE_SIZE, 6 + 16)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                       IMAGE_SIZE, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for _, (r, g, b) in PALETTE)

    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):                 # bitmaps are stored bottom-up
        indices = [0 if ch == TRANSPARENT else INDEX[ch] for ch in row]
        for left, right in zip(indices[0::2], indices[1::2]):
            xor.append(left << 4 | right)
        bits = 0
        for ch in row:
            bits = bits << 1 | (ch == TRANSPARENT)
        mask += struct.pack(">H", bits) + b"\0\0"

    data = header + entry + info + palette + bytes(xor) + bytes(mask)
    assert len(data) == FILE_SIZE, "icon has %d bytes" % len(data)
    return data


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = os.path.join(root, "app", "icons")
    os.makedirs(out_dir, exist_ok=True)
    for name, rows in ICONS:
        path = os.path.join(out_dir, name)
        with open(path, "wb") as f:
            f.write(encode_icon(rows))
        assert os.path.getsize(path) == FILE_SIZE
        print("wrote", os.path.relpath(path, root))


if __name__ == "__main__":
    main()
