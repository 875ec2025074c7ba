#!/usr/bin/env python3
# Turns font glyphs and lettering into SVG path data (fontTools), so that the
# pictures in resources/bilder need no fonts at run time.
# Use as a module (glyph_path, text_path, text_width) or from the shell:
#   glyph_svg2.py FONT.ttf "Text" SIZE   -> prints a small SVG with the lettering
import sys

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

MUSIC = "/usr/share/fonts/truetype/noto/NotoMusic-Regular.ttf"
SANS_BOLD = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"
SANS_BOLD_ITALIC = "/usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf"
SERIF_BOLD_ITALIC = "/usr/share/fonts/truetype/liberation2/LiberationSerif-BoldItalic.ttf"

_fonts = {}


def _font(path):
    if path not in _fonts:
        f = TTFont(path)
        _fonts[path] = (f, f.getGlyphSet(), f.getBestCmap(), f["head"].unitsPerEm)
    return _fonts[path]


def _fmt(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


class _RoundPen(SVGPathPen):
    """SVGPathPen that writes short numbers (two decimals)."""

    def __init__(self, glyphset):
        super().__init__(glyphset, ntos=_fmt)


def glyph_path(font, char, x, y, scale, sx=1.0):
    """Path data of one glyph; (x, y) is the glyph origin on the baseline in
    SVG pixels, scale = pixels per font unit; sx stretches horizontally."""
    _, gs, cmap, _ = _font(font)
    name = cmap[ord(char)]
    pen = _RoundPen(gs)
    gs[name].draw(TransformPen(pen, (scale * sx, 0, 0, -scale, x, y)))
    return pen.getCommands()


def glyph_bounds(font, char):
    """(xMin, yMin, xMax, yMax) of a glyph in font units (y up)."""
    _, gs, cmap, _ = _font(font)
    bp = BoundsPen(gs)
    gs[cmap[ord(char)]].draw(bp)
    return bp.bounds


def glyph_advance(font, char):
    f, gs, cmap, _ = _font(font)
    return gs[cmap[ord(char)]].width


def _kern(font, a, b):
    f = _font(font)[0]
    if "kern" not in f:
        return 0
    for table in f["kern"].kernTables:
        v = table.kernTable.get((a, b))
        if v:
            return v
    return 0


def text_width(font, text, size, spacing=0.0):
    """Advance width in pixels of text at font size `size` (px per em)."""
    f, gs, cmap, upm = _font(font)
    names = [cmap[ord(c)] for c in text]
    w = sum(gs[n].width for n in names)
    w += sum(_kern(font, a, b) for a, b in zip(names, names[1:]))
    return w * size / upm + spacing * (len(text) - 1)


def text_path(font, text, x, y, size, spacing=0.0, sx=1.0):
    """Path data of a line of text; (x, y) = start of the baseline in px."""
    f, gs, cmap, upm = _font(font)
    scale = size / upm
    parts = []
    names = [cmap[ord(c)] for c in text]
    for i, (c, n) in enumerate(zip(text, names)):
        if c != " ":
            parts.append(glyph_path(font, c, x, y, scale, sx))
        adv = gs[n].width
        if i + 1 < len(names):
            adv += _kern(font, n, names[i + 1])
        x += adv * scale * sx + spacing
    return " ".join(p for p in parts if p)


def main(argv):
    if len(argv) != 4:
        print(__doc__ or "usage: glyph_svg2.py FONT TEXT SIZE", file=sys.stderr)
        return 2
    font, text, size = argv[1], argv[2], float(argv[3])
    asc = size * 0.95
    w = text_width(font, text, size)
    h = size * 1.25
    d = text_path(font, text, 0, asc, size)
    print(f'<svg xmlns="http://www.w3.org/2000/svg" width="{w:.0f}" height="{h:.0f}" '
          f'viewBox="0 0 {w:.0f} {h:.0f}"><path d="{d}"/></svg>')
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
