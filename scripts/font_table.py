#!/usr/bin/env python3
# Writes src/record/fixed_font.cpp, the recordings' 9x15 cells, from the
# misc-fixed 9x15 bold font of Debian's xfonts-base:
#   python3 scripts/font_table.py /usr/share/fonts/X11/misc/9x15B-ISO8859-1.pcf.gz > src/record/fixed_font.cpp
# Reads only what a character-cell PCF font needs: the font's ascent, each
# glyph's metrics and bitmap, and the byte each glyph is encoded at.
import gzip
import struct
import sys

PROPERTIES, ACCELERATORS, METRICS, BITMAPS, ENCODINGS, BDF_ACCELERATORS = 1, 2, 4, 8, 32, 256
WIDTH, HEIGHT = 9, 15


def read_glyphs(path):
    data = gzip.open(path).read()
    if data[:4] != b'\x01fcp':
        sys.exit(f'{path} is not a PCF font')
    (count,) = struct.unpack_from('<i', data, 4)
    offsets = {}
    for i in range(count):
        kind, _, _, offset = struct.unpack_from('<iiii', data, 8 + 16 * i)
        offsets[kind] = offset

    def table(kind):
        (fmt,) = struct.unpack_from('<i', data, offsets[kind])
        return fmt, offsets[kind] + 4, '>' if fmt & 4 else '<'

    _, at, order = table(BDF_ACCELERATORS if BDF_ACCELERATORS in offsets else ACCELERATORS)
    ascent, descent = struct.unpack_from(order + 'ii', data, at + 8)
    if ascent + descent != HEIGHT:
        sys.exit(f'{path} is {ascent + descent} pixels high, not {HEIGHT}')

    fmt, at, order = table(METRICS)
    metrics = []
    if fmt & 0x100:  # compressed: five bytes, each offset by 0x80
        (n,) = struct.unpack_from(order + 'h', data, at)
        metrics = [[b - 0x80 for b in data[at + 2 + 5 * i:at + 7 + 5 * i]] for i in range(n)]
    else:
        (n,) = struct.unpack_from(order + 'i', data, at)
        metrics = [list(struct.unpack_from(order + 'hhhhh', data, at + 4 + 12 * i)) for i in range(n)]

    fmt, at, order = table(BITMAPS)
    (n,) = struct.unpack_from(order + 'i', data, at)
    starts = struct.unpack_from(order + f'{n}i', data, at + 4)
    bits = data[at + 4 + 4 * n + 16:]
    pad = 1 << (fmt & 3)
    high_bit_first = bool(fmt & 8)

    _, at, order = table(ENCODINGS)
    first, last = struct.unpack_from(order + 'hh', data, at)
    glyphs = [[0] * HEIGHT for _ in range(256)]
    for code in range(max(first, 0), min(last, 255) + 1):
        (index,) = struct.unpack_from(order + 'H', data, at + 10 + 2 * (code - first))
        if index == 0xFFFF:
            continue
        left, right, _, top, bottom = metrics[index]
        stride = ((right - left + 7) // 8 + pad - 1) // pad * pad
        for y in range(top + bottom):
            for x in range(right - left):
                byte = bits[starts[index] + y * stride + x // 8]
                if (byte >> (7 - x % 8) if high_bit_first else byte >> (x % 8)) & 1:
                    glyphs[code][ascent - top + y] |= 1 << (WIDTH - 1 - left - x)
    return glyphs


def main():
    glyphs = read_glyphs(sys.argv[1])
    print('// Made by scripts/font_table.py from 9x15B-ISO8859-1.pcf.gz of Debian\'s xfonts-base:')
    print('// the misc-fixed 9x15 bold font of X11 ("Public domain font.  Share and enjoy.").')
    print('#include "record/fixed_font.h"')
    print()
    print('namespace gm {')
    print()
    print('const std::array<FontGlyph, 256> fixed_font = {{')
    for code, rows in enumerate(glyphs):
        # A backslash would carry the comment on to the next line.
        shown = f' {chr(code)}' if 32 < code < 127 and chr(code) != '\\' else ''
        print('    {{' + ', '.join(f'0x{r:03x}' for r in rows) + f'}}}}, // {code}{shown}')
    print('}};')
    print()
    print('} // namespace gm')


main()
