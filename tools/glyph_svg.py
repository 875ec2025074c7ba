#!/usr/bin/python3
# Helper for drawing the SVG pictures in resources/bilder: turns font glyphs
# (Noto Music symbols, Liberation Sans lettering) into plain SVG path data,
# so the pictures need no fonts at run time.
#
# As a module:   glyph_path(font, char, box=(x, y, w, h), ...) -> "M..Z" string
#                hinted_glyph_path(font, char, xmap, ymap)      -> "M..Z" string
#                text_path(font, text, x, baseline, size)       -> "M..Z" string
# From a shell:  glyph_svg.py FONT CHAR WIDTH HEIGHT > out.svg
#                (CHAR may be "U+1D11E"; the glyph is fitted into the box)

import sys
from fontTools.ttLib import TTFont
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.recordingPen import RecordingPen

NOTO_MUSIC = "/usr/share/fonts/truetype/noto/NotoMusic-Regular.ttf"
SANS_BOLD = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"

_fonts = {}


def _font(path):
    if path not in _fonts:
        _fonts[path] = TTFont(path)
    return _fonts[path]


def _glyph_name(font, char):
    if isinstance(char, str) and char.upper().startswith("U+"):
        char = chr(int(char[2:], 16))
    name = font.getBestCmap().get(ord(char))
    if name is None:
        raise KeyError("glyph %r not in font" % char)
    return name


def _num(v):
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def _draw(font, name, matrix):
    glyphs = font.getGlyphSet()
    pen = SVGPathPen(glyphs, ntos=_num)
    glyphs[name].draw(TransformPen(pen, matrix))
    return pen.getCommands()


def glyph_bounds(font_path, char):
    """Outline bounds (xMin, yMin, xMax, yMax) in font units, y up."""
    font = _font(font_path)
    glyphs = font.getGlyphSet()
    bp = BoundsPen(glyphs)
    glyphs[_glyph_name(font, char)].draw(bp)
    return bp.bounds


def glyph_path(font_path, char, box=None, scale=None, origin=(0, 0),
               keep_ratio=True, align="center"):
    """SVG path data of one glyph.

    box=(x, y, w, h): the outline bounds are fitted into this box (proportions kept
    unless keep_ratio is False; align "center", "left" or "right").
    Otherwise scale=(sx, sy) and origin=(x, y) put font point (0, 0) at origin.
    """
    font = _font(font_path)
    name = _glyph_name(font, char)
    if box is not None:
        x0, y0, x1, y1 = glyph_bounds(font_path, char)
        bx, by, bw, bh = box
        sx, sy = bw / (x1 - x0), bh / (y1 - y0)
        if keep_ratio:
            sx = sy = min(sx, sy)
        gw, gh = (x1 - x0) * sx, (y1 - y0) * sy
        if align == "left":
            left = bx
        elif align == "right":
            left = bx + bw - gw
        else:
            left = bx + (bw - gw) / 2
        top = by + (bh - gh) / 2
        matrix = (sx, 0, 0, -sy, left - x0 * sx, top + y1 * sy)
    else:
        sx, sy = scale if isinstance(scale, (tuple, list)) else (scale, scale)
        matrix = (sx, 0, 0, -sy, origin[0], origin[1])
    return _draw(font, name, matrix)


def _piecewise(points):
    """Piecewise-linear map through sorted (font value, pixel value) pairs."""
    pts = sorted(points)

    def f(v):
        for (a, pa), (b, pb) in zip(pts, pts[1:]):
            if v <= b or (b, pb) == pts[-1]:
                return pa + (v - a) * (pb - pa) / (b - a)
        return pts[0][1]
    return f


def hinted_glyph_path(font_path, char, xmap, ymap):
    """Glyph path with hand hinting for tiny sizes: xmap and ymap are lists of
    (font units, pixel) pairs; coordinates between them are interpolated, so
    stems can be put exactly on pixel columns (y is flipped by the pairs)."""
    font = _font(font_path)
    glyphs = font.getGlyphSet()
    rec = RecordingPen()
    glyphs[_glyph_name(font, char)].draw(rec)
    fx, fy = _piecewise(xmap), _piecewise(ymap)
    pen = SVGPathPen(glyphs, ntos=_num)
    for op, args in rec.value:
        getattr(pen, op)(*[(fx(x), fy(y)) for x, y in args])
    return pen.getCommands()


def text_width(font_path, text, size):
    font = _font(font_path)
    upm = font["head"].unitsPerEm
    hmtx = font["hmtx"]
    return sum(hmtx[_glyph_name(font, c)][0] for c in text) * size / upm


def text_path(font_path, text, x, baseline, size, spacing=0.0):
    """SVG path data of a line of text (no kerning); x is the left edge."""
    font = _font(font_path)
    upm = font["head"].unitsPerEm
    hmtx = font["hmtx"]
    s = size / upm
    parts = []
    for c in text:
        name = _glyph_name(font, c)
        parts.append(_draw(font, name, (s, 0, 0, -s, x, baseline)))
        x += hmtx[name][0] * s + spacing
    return "".join(parts)


def main(argv):
    if len(argv) != 5:
        sys.stderr.write("usage: glyph_svg.py FONT CHAR WIDTH HEIGHT\n")
        return 2
    font, char, w, h = argv[1], argv[2], float(argv[3]), float(argv[4])
    d = glyph_path(font, char, box=(0, 0, w, h))
    print('<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s" '
          'viewBox="0 0 %s %s"><path d="%s"/></svg>'
          % (_num(w), _num(h), _num(w), _num(h), d))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
