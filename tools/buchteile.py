#!/usr/bin/env python3
"""Erzeugt die 18 Bildteile des Hilfebuchs (resources/bilder/buch00.svg ... buch17.svg).

Jedes Teil ist 32 x 32 px gross.  Von der Aussenkante nach innen:
  0 ... 6 px  Ledereinband (dunkle Kante, Glanzlinie, Leder, Schatten)
  6 ... 8 px  Blattkanten (gestapelte Seiten als feine graue Linien)
  ab 8 px     weisse Seite (deckend, passend zu den Seitenrechtecken darunter)

Die Bundteile (03/04, 16/17, 10/11) schattieren die Seite sanft zum Buchruecken
hin und tragen dort eine dunkle Rueckenlinie; die Blattkanten tauchen oben und
unten leicht in den Bund ab.  Die Eckteile unten zeigen die Seitenecke flach
(09, 14, 15) oder hochgerollt als Eselsohr (00, 01, 08).

Aufruf:  python3 tools/buchteile.py [Zielordner]   (Vorgabe: resources/bilder)
"""

import os
import sys

GROESSE = 32
RUNDUNG = 6.0   # Radius der aeusseren Einbandecke

# (Abstand von der Aussenkante, Farbe); jede Schicht deckt alles weiter innen.
EINBAND = [
    (0.0, "#3a1f08"),   # dunkle Aussenkante
    (1.0, "#a8703e"),   # Glanzlinie
    (2.0, "#8c5526"),
    (3.0, "#7d4a1e"),   # Leder
    (5.0, "#55300f"),   # Schatten unter den Seiten
]
BLATTKANTEN = [
    (6.0, "#968d7f"),
    (6.5, "#ece8e0"),
    (7.0, "#b6aea1"),
    (7.5, "#f4f1eb"),
]
SEITE = (8.0, "#ffffff")
SCHICHTEN = EINBAND + BLATTKANTEN + [SEITE]

RUECKEN_FARBE = "#6a5b49"   # Linie genau in der Buchmitte (je 1 px pro Haelfte)
BUND_FARBE = "#4d4032"      # Schattierung der Seite zum Ruecken hin
BUND_ANFANG = 21.0          # ab hier (kanonisch: Ruecken rechts) wird schattiert
BUND_STOPS = [(0.0, 0.0), (0.3, 0.025), (0.55, 0.07), (0.78, 0.15), (1.0, 0.28)]
BUND_TAUCHEN = 2.0          # so weit tauchen die Blattkanten am Ruecken ab
ESELSOHR = 17.0             # Kantenlaenge des hochgerollten Dreiecks

KAPPA = 0.5523


def zahl(v):
    s = ("%.3f" % v).rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


class Bild:
    """Sammelt SVG-Elemente; alle Punkte laufen durch die Abbildung `abb`."""

    def __init__(self, abb=None):
        self.abb = abb or (lambda x, y: (x, y))
        self.defs = []
        self.teile = []
        self.nr = 0

    def p(self, x, y):
        a, b = self.abb(x, y)
        return zahl(a) + " " + zahl(b)

    def pfad(self, befehle):
        """befehle: Liste von ('M', x, y), ('L', x, y), ('C', x1, y1, x2, y2, x, y), ('Z',)"""
        teile = []
        for b in befehle:
            if b[0] == "Z":
                teile.append("Z")
            else:
                pts = [self.p(b[i], b[i + 1]) for i in range(1, len(b), 2)]
                teile.append(b[0] + " ".join(pts))
        return "".join(teile)

    def flaeche(self, befehle, fuellung, extra=""):
        self.teile.append('<path d="%s" fill="%s"%s/>' % (self.pfad(befehle), fuellung, extra))

    def linie(self, befehle, farbe, breite, extra=""):
        self.teile.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s"%s/>'
                          % (self.pfad(befehle), farbe, zahl(breite), extra))

    def verlauf(self, x1, y1, x2, y2, stops):
        """stops: Liste (offset, farbe, deckkraft); liefert url(#id)."""
        self.nr += 1
        name = "v%d" % self.nr
        a = self.abb(x1, y1)
        b = self.abb(x2, y2)
        s = "".join('<stop offset="%s" stop-color="%s"%s/>'
                    % (zahl(o), f, "" if d >= 1 else ' stop-opacity="%s"' % zahl(d))
                    for o, f, d in stops)
        self.defs.append('<linearGradient id="%s" gradientUnits="userSpaceOnUse" '
                         'x1="%s" y1="%s" x2="%s" y2="%s">%s</linearGradient>'
                         % (name, zahl(a[0]), zahl(a[1]), zahl(b[0]), zahl(b[1]), s))
        return "url(#%s)" % name

    def text(self):
        kopf = ('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
                'width="32" height="32" viewBox="0 0 32 32">\n')
        defs = "<defs>%s</defs>\n" % "".join(self.defs) if self.defs else ""
        return kopf + defs + "\n".join(self.teile) + "\n</svg>\n"


def spiegel(x_spiegeln=False, y_spiegeln=False):
    def abb(x, y):
        if x_spiegeln:
            x = GROESSE - x
        if y_spiegeln:
            y = GROESSE - y
        return x, y
    return abb


def rechteck(x0, y0, x1, y1, r_ol=0.0, r_or=0.0, r_ur=0.0, r_ul=0.0):
    """Rechteck mit einzeln gerundeten Ecken (oben links, oben rechts, unten rechts, unten links)."""
    k = 1 - KAPPA
    b = [("M", x0, y0 + r_ol)]
    if r_ol > 0:
        b.append(("C", x0, y0 + r_ol * k, x0 + r_ol * k, y0, x0 + r_ol, y0))
    b.append(("L", x1 - r_or, y0))
    if r_or > 0:
        b.append(("C", x1 - r_or * k, y0, x1, y0 + r_or * k, x1, y0 + r_or))
    b.append(("L", x1, y1 - r_ur))
    if r_ur > 0:
        b.append(("C", x1, y1 - r_ur * k, x1 - r_ur * k, y1, x1 - r_ur, y1))
    b.append(("L", x0 + r_ul, y1))
    if r_ul > 0:
        b.append(("C", x0 + r_ul * k, y1, x0, y1 - r_ul * k, x0, y1 - r_ul))
    b.append(("Z",))
    return b


def rahmen(bild, oben=False, links=False, rechts=False, unten=False):
    """Einband, Blattkanten und Seite fuer die angegebenen Aussenseiten."""
    for d, farbe in SCHICHTEN:
        x0 = d if links else 0.0
        y0 = d if oben else 0.0
        x1 = GROESSE - d if rechts else float(GROESSE)
        y1 = GROESSE - d if unten else float(GROESSE)
        r = max(0.0, RUNDUNG - d)
        bild.flaeche(rechteck(x0, y0, x1, y1,
                              r if oben and links else 0,
                              r if oben and rechts else 0,
                              r if unten and rechts else 0,
                              r if unten and links else 0), farbe)


# ---------------------------------------------------------------- Bund
# Kanonische Lage: linke Buchhaelfte, Ruecken am rechten Rand (x = 32),
# gegebenenfalls Einband oben.  Die anderen Lagen entstehen durch Spiegeln.

def bund(bild, mit_einband):
    if mit_einband:
        for d, farbe in SCHICHTEN:
            if d < 6:
                bild.flaeche(rechteck(0, d, 32, 32), farbe)
            else:
                # gerader Teil als eigenes Rechteck, damit er pixelgleich zur
                # Nachbarkachel gerastert wird; nur das Stueck am Ruecken taucht ab
                t = BUND_TAUCHEN
                bild.flaeche(rechteck(0, d, 22, 32), farbe)
                bild.flaeche([("M", 22, d),
                              ("C", 27, d, 30.6, d + t * 0.45, 32, d + t),
                              ("L", 32, 32), ("L", 22, 32), ("Z",)], farbe)
        # Falz im Leder am Ruecken
        falz = bild.verlauf(26, 0, 32, 0, [(0, "#2a1605", 0), (1, "#2a1605", 0.45)])
        bild.flaeche(rechteck(26, 1, 32, 6), falz)
        oben = 6.0
    else:
        bild.flaeche(rechteck(0, 0, 32, 32), SEITE[1])
        oben = 0.0
    schatten = bild.verlauf(BUND_ANFANG, 0, 31, 0,
                            [(o, BUND_FARBE, a) for o, a in BUND_STOPS])
    bild.flaeche(rechteck(BUND_ANFANG, oben, 32, 32), schatten)
    bild.flaeche(rechteck(31, oben, 32, 32), RUECKEN_FARBE)


# ---------------------------------------------------------------- Eselsohr
# Kanonische Lage: Ecke unten links (Seite x >= 8, y <= 24, Seitenecke bei (8, 24)).

def eselsohr(bild):
    s = ESELSOHR
    px, py = 8.0, 24.0
    a = (px + s, py)          # Knick auf der Unterkante
    b = (px, py - s)          # Knick auf der linken Kante
    spitze = (px + s - 0.6, py - s + 0.6)

    def spiegel_diag(x, y):   # Spiegelung an der Winkelhalbierenden durch die Seitenecke
        return (px + (py - y), py - (x - px))

    # fast gerade Aussenkanten, leicht gewoelbt
    c1 = (a[0] + 0.45, a[1] - 6.0)
    c2 = (spitze[0] + 0.5, spitze[1] + 4.0)
    c3 = spiegel_diag(*c2)
    c4 = spiegel_diag(*c1)
    kante = [("M",) + a, ("C",) + c1 + c2 + spitze, ("C",) + c3 + c4 + b]
    lappen = kante + [("Z",)]

    # weicher Schatten des hochstehenden Blatts auf der Seite
    for dx, alpha in [(2.2, 0.05), (1.5, 0.07), (0.8, 0.09)]:
        verschoben = []
        for bef in lappen:
            if bef[0] == "Z":
                verschoben.append(bef)
            else:
                pts = []
                for j in range(1, len(bef), 2):
                    pts += [bef[j] + dx, bef[j + 1] - dx]
                verschoben.append((bef[0],) + tuple(pts))
        bild.flaeche(verschoben, "#2b2013", ' fill-opacity="%s"' % zahl(alpha))

    # freigelegte Seite darunter, im Knick beschattet
    mitte = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
    unten = bild.verlauf(mitte[0], mitte[1], px, py,
                         [(0, "#b9ae9b", 1), (0.25, "#ddd6ca", 1), (0.6, "#f0ece5", 1),
                          (1, "#f8f6f1", 1)])
    bild.flaeche([("M",) + a, ("L", px, py), ("L",) + b, ("Z",)], unten)

    # Rueckseite des eingerollten Blatts
    ruecken = bild.verlauf(mitte[0], mitte[1], spitze[0], spitze[1],
                           [(0, "#c4b79f", 1), (0.22, "#e2d8c4", 1), (0.55, "#f6f1e6", 1),
                            (0.85, "#efe7d7", 1), (1, "#ddd1ba", 1)])
    bild.flaeche(lappen, ruecken)
    # Glanz auf der Rundung, parallel zum Knick
    g1 = (a[0] - 1.4, a[1] - 4.6)
    g2 = spiegel_diag(*g1)
    bild.linie([("M",) + g1, ("L",) + g2], "#ffffff", 1.0,
               ' stroke-opacity="0.6" stroke-linecap="round"')
    # Kanten
    bild.linie(kante, "#6f5f45", 0.7, ' stroke-linejoin="round" stroke-linecap="round"')
    bild.linie([("M",) + a, ("L",) + b], "#9c8d74", 0.6, ' stroke-linecap="round"')


# ---------------------------------------------------------------- Teile

def teil(nr):
    if nr == 6:                                   # obere Kante
        b = Bild(); rahmen(b, oben=True)
    elif nr == 12:                                # untere Kante
        b = Bild(); rahmen(b, unten=True)
    elif nr == 13:                                # linke Kante
        b = Bild(); rahmen(b, links=True)
    elif nr == 7:                                 # rechte Kante
        b = Bild(); rahmen(b, rechts=True)
    elif nr == 2:                                 # Ecke oben links
        b = Bild(); rahmen(b, oben=True, links=True)
    elif nr == 5:                                 # Ecke oben rechts
        b = Bild(); rahmen(b, oben=True, rechts=True)
    elif nr in (9, 14):                           # Ecke unten links, flach
        b = Bild(); rahmen(b, unten=True, links=True)
    elif nr == 15:                                # Ecke unten rechts, flach
        b = Bild(); rahmen(b, unten=True, rechts=True)
    elif nr == 0:                                 # Ecke unten links, eingerollt
        b = Bild(); rahmen(b, unten=True, links=True); eselsohr(b)
    elif nr in (1, 8):                            # Ecke unten rechts, eingerollt
        b = Bild(spiegel(x_spiegeln=True)); rahmen(b, unten=True, links=True); eselsohr(b)
    elif nr == 3:                                 # Bund oben, linke Haelfte
        b = Bild(); bund(b, True)
    elif nr == 4:                                 # Bund oben, rechte Haelfte
        b = Bild(spiegel(x_spiegeln=True)); bund(b, True)
    elif nr == 10:                                # Bund unten, linke Haelfte
        b = Bild(spiegel(y_spiegeln=True)); bund(b, True)
    elif nr == 11:                                # Bund unten, rechte Haelfte
        b = Bild(spiegel(x_spiegeln=True, y_spiegeln=True)); bund(b, True)
    elif nr == 16:                                # Bund, linke Haelfte
        b = Bild(); bund(b, False)
    elif nr == 17:                                # Bund, rechte Haelfte
        b = Bild(spiegel(x_spiegeln=True)); bund(b, False)
    else:
        raise ValueError(nr)
    return b.text()


def main():
    ziel = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources", "bilder")
    for nr in range(18):
        with open(os.path.join(ziel, "buch%02d.svg" % nr), "w", encoding="utf-8") as f:
            f.write(teil(nr))


if __name__ == "__main__":
    main()
