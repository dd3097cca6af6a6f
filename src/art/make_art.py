#!/usr/bin/env python3
"""Platterbook artwork generator.

Writes every window background, button, link and message icon as an SVG
file next to this script, plus art.qrc listing them under the prefix /art.
Standard library only; re-run after any change:  python3 make_art.py

The pictures are rendered by QtSvg (SVG Tiny 1.2), so only basic shapes,
paths, linear/radial gradients and text with presentation attributes are
used: no filters, masks, clip paths, CSS or rgba() colours (opacity is
given with fill-opacity / stroke-opacity / stop-opacity instead).
"""

import math
import os
from xml.sax.saxutils import escape

OUT = os.path.dirname(os.path.abspath(__file__))
FONT = "Liberation Sans"

# ---------------------------------------------------------------- palette
P = {
    # window surface
    "bg_top": "#34405a",
    "bg_bot": "#1f2634",
    "edge": "#0d1119",
    "hi": "#ffffff",
    "lo": "#000000",
    # raised panels (where labels and text boxes sit)
    "panel_top": "#35425a",
    "panel_bot": "#2c374c",
    "panel_line": "#4a5a75",
    "panel_edge": "#161c27",
    # recessed wells (lists, read-only fields)
    "well": "#1a2130",
    "well_edge": "#10151e",
    "well_hi": "#3d4a61",
    # text
    "text": "#e8edf4",
    "text_muted": "#9fb0c8",
    "text_dark": "#2a1a05",
    # buttons
    "btn_top": "#52637f",
    "btn_bot": "#36435a",
    "btn_down_top": "#28313f",
    "btn_down_bot": "#323d52",
    "btn_edge": "#121822",
    # accent (amber) and signal colours
    "accent": "#f2a93b",
    "accent_light": "#ffc872",
    "accent_dark": "#c47f1e",
    "accent_deep": "#6b4513",
    "red": "#d9564e",
    "red_dark": "#a8342f",
    "blue": "#4a93e0",
    "blue_dark": "#2a67b0",
    "teal": "#35b4ad",
    "teal_dark": "#1d8580",
}


def fmt(v):
    """Compact number formatting for coordinates."""
    if isinstance(v, float):
        s = ("%.2f" % v).rstrip("0").rstrip(".")
        return s if s not in ("-0", "") else "0"
    return str(v)


def attrs(kw):
    out = []
    for k, v in kw.items():
        if v is None:
            continue
        name = k.rstrip("_").replace("_", "-")
        out.append('%s="%s"' % (name, escape(fmt(v), {'"': "&quot;"})))
    return " ".join(out)


class Svg:
    def __init__(self, name, w, h):
        self.name, self.w, self.h = name, w, h
        self.defs = []
        self.body = []
        self._n = 0

    # -- definitions
    def _id(self, prefix):
        self._n += 1
        return "%s%d" % (prefix, self._n)

    def linear(self, stops, x1=0, y1=0, x2=0, y2=1, user=False):
        """stops: list of (offset, colour[, opacity]). Returns 'url(#id)'."""
        gid = self._id("g")
        units = ' gradientUnits="userSpaceOnUse"' if user else ""
        s = ['<linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s"%s>'
             % (gid, fmt(x1), fmt(y1), fmt(x2), fmt(y2), units)]
        s += [self._stop(st) for st in stops]
        s.append("</linearGradient>")
        self.defs.append("".join(s))
        return "url(#%s)" % gid

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None, user=False):
        gid = self._id("r")
        units = ' gradientUnits="userSpaceOnUse"' if user else ""
        f = ""
        if fx is not None:
            f = ' fx="%s" fy="%s"' % (fmt(fx), fmt(fy))
        s = ['<radialGradient id="%s" cx="%s" cy="%s" r="%s"%s%s>'
             % (gid, fmt(cx), fmt(cy), fmt(r), f, units)]
        s += [self._stop(st) for st in stops]
        s.append("</radialGradient>")
        self.defs.append("".join(s))
        return "url(#%s)" % gid

    @staticmethod
    def _stop(st):
        off, col = st[0], st[1]
        op = st[2] if len(st) > 2 else 1
        extra = "" if op == 1 else ' stop-opacity="%s"' % fmt(float(op))
        return '<stop offset="%s" stop-color="%s"%s/>' % (fmt(off), col, extra)

    # -- shapes
    def add(self, raw):
        self.body.append(raw)

    def rect(self, x, y, w, h, r=0, **kw):
        r = min(r, w / 2.0, h / 2.0)   # renderers disagree on oversized radii
        rr = {"rx": r, "ry": r} if r > 0 else {}
        self.add("<rect %s/>" % attrs(dict(x=x, y=y, width=w, height=h, **rr, **kw)))

    def circle(self, cx, cy, r, **kw):
        self.add("<circle %s/>" % attrs(dict(cx=cx, cy=cy, r=r, **kw)))

    def line(self, x1, y1, x2, y2, **kw):
        self.add("<line %s/>" % attrs(dict(x1=x1, y1=y1, x2=x2, y2=y2, **kw)))

    def path(self, d, **kw):
        self.add("<path %s/>" % attrs(dict(d=d, **kw)))

    def text(self, x, y, s, size=12, bold=False, anchor="start", fill=None, **kw):
        a = dict(x=x, y=y, font_family=FONT, font_size=size,
                 font_weight="bold" if bold else None,
                 text_anchor=None if anchor == "start" else anchor,
                 fill=fill or P["text"], **kw)
        body = "".join(c if ord(c) < 128 else "&#%d;" % ord(c) for c in escape(s))
        self.add("<text %s>%s</text>" % (attrs(a), body))

    def save(self):
        head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" '
                'baseProfile="tiny" width="%d" height="%d" viewBox="0 0 %d %d">\n'
                % (self.w, self.h, self.w, self.h))
        chunks = [head]
        if self.defs:
            chunks.append("<defs>\n" + "\n".join(self.defs) + "\n</defs>\n")
        chunks.append("\n".join(self.body))
        chunks.append("\n</svg>\n")
        if self.name in WRITTEN:
            raise SystemExit("two pictures share the file name " + self.name)
        with open(os.path.join(OUT, self.name), "w", encoding="utf-8") as f:
            f.write("".join(chunks))
        WRITTEN.append(self.name)


WRITTEN = []

# ----------------------------------------------------------- text metrics
# Advance widths (1/1000 em) of Liberation Sans, which shares Arial's metrics.
_REG = dict(zip(
    " !,-.0123456789:?ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
    [278, 278, 278, 333, 278] + [556] * 10 + [278, 556]
    + [667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833,
       722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611]
    + [556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833,
       556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500]))


def text_width(s, size):
    return sum(_REG.get(c, 556) for c in s) * size / 1000.0


# ------------------------------------------------------------ primitives
def rounded_top_path(x0, y0, x1, y1, r):
    """Open path: left side up, rounded top, right side down (no bottom)."""
    return ("M%s,%s L%s,%s A%s,%s 0 0 1 %s,%s L%s,%s A%s,%s 0 0 1 %s,%s L%s,%s"
            % tuple(fmt(v) for v in (x0, y1, x0, y0 + r, r, r, x0 + r, y0,
                                     x1 - r, y0, r, r, x1, y0 + r, x1, y1)))


def rounded_bottom_path(x0, y0, x1, y1, r):
    """Open path: left side down, rounded bottom, right side up (no top)."""
    return ("M%s,%s L%s,%s A%s,%s 0 0 0 %s,%s L%s,%s A%s,%s 0 0 0 %s,%s L%s,%s"
            % tuple(fmt(v) for v in (x0, y0, x0, y1 - r, r, r, x0 + r, y1,
                                     x1 - r, y1, r, r, x1, y1 - r, x1, y0)))


def window_base(svg, radius=9, flat_from=None, top=True, bottom=True,
                top_col=None, bot_col=None):
    """Opaque full-rectangle background with a vertical gradient and a thin
    frame that follows the rounded outline the program cuts.

    flat_from: y below which the colour stays constant (variable-height
    windows show only the top of the picture)."""
    w, h = svg.w, svg.h
    end = flat_from if flat_from is not None else h
    grad = svg.linear([(0, top_col or P["bg_top"]), (1, bot_col or P["bg_bot"])],
                      0, 0, 0, end, user=True)
    svg.rect(0, 0, w, h, fill=grad)
    # faint sheen across the very top
    svg.rect(0, 0, w, min(40, h), fill=svg.linear(
        [(0, P["hi"], 0.06), (1, P["hi"], 0)]))
    frame(svg, radius, top, bottom)


def frame(svg, radius, top=True, bottom=True):
    w, h = svg.w, svg.h
    o, i = 0.5, 1.5
    if top and bottom:
        svg.rect(o, o, w - 1, h - 1, radius, fill="none", stroke=P["edge"])
        svg.rect(i, i, w - 3, h - 3, radius - 1, fill="none",
                 stroke=svg.linear([(0, P["hi"], 0.16), (0.5, P["hi"], 0.05),
                                    (1, P["hi"], 0.03)]))
    elif top:
        svg.path(rounded_top_path(o, o, w - o, h + 2, radius),
                 fill="none", stroke=P["edge"])
        svg.path(rounded_top_path(i, i, w - i, h + 2, radius - 1), fill="none",
                 stroke=P["hi"], stroke_opacity=0.07)
        svg.line(i + radius, i, w - i - radius, i, stroke=P["hi"],
                 stroke_opacity=0.12)
    else:
        svg.path(rounded_bottom_path(o, -2, w - o, h - o, radius),
                 fill="none", stroke=P["edge"])
        svg.path(rounded_bottom_path(i, -2, w - i, h - i, radius - 1),
                 fill="none", stroke=P["hi"], stroke_opacity=0.04)


def panel(svg, x, y, w, h, r=6):
    """Raised, slightly lighter area."""
    svg.rect(x + 0.5, y + 0.5, w - 1, h - 1, r, fill=svg.linear(
        [(0, P["panel_top"]), (1, P["panel_bot"])]), stroke=P["panel_edge"])
    svg.rect(x + 1.5, y + 1.5, w - 3, h - 3, r - 1, fill="none",
             stroke=svg.linear([(0, P["hi"], 0.13), (0.3, P["hi"], 0.04),
                                (1, P["hi"], 0.02)]))


def well(svg, x, y, w, h, r=4, open_bottom=False):
    """Recessed dark area (lists, read-only fields)."""
    hh = h + 12 if open_bottom else h
    svg.rect(x + 0.5, y + 0.5, w - 1, hh - 1, r, fill=P["well"],
             stroke=P["well_edge"])
    # inner shadow along the top
    svg.rect(x + 1, y + 1, w - 2, 5, 0 if r < 2 else r - 1, fill=svg.linear(
        [(0, P["lo"], 0.35), (1, P["lo"], 0)]))
    if not open_bottom:
        # light lip at the bottom edge
        svg.line(x + r, y + h + 0.5, x + w - r, y + h + 0.5,
                 stroke=P["hi"], stroke_opacity=0.08)


def button_strip(svg, y, radius=9):
    """Slightly darker footer band for the dialog buttons."""
    w, h = svg.w, svg.h
    svg.rect(1, y, w - 2, h - y - 1, fill=P["lo"], fill_opacity=0.16)
    svg.line(1, y + 0.5, w - 1, y + 0.5, stroke=P["lo"], stroke_opacity=0.35)
    svg.line(1, y + 1.5, w - 1, y + 1.5, stroke=P["hi"], stroke_opacity=0.06)
    frame(svg, radius)


def disc(svg, cx, cy, r, strength=1.0, label=None, grooves=True):
    """A vinyl record: dark body, grooves, sheen, amber label, spindle hole."""
    s = strength
    svg.circle(cx, cy, r, fill=svg.radial(
        [(0, "#2a3140"), (0.7, "#151a23"), (1, "#0c0f15")]),
        fill_opacity=s, stroke=P["hi"], stroke_opacity=0.10 * s)
    if grooves:
        k = r * 0.92
        while k > r * 0.42:
            svg.circle(cx, cy, k, fill="none", stroke=P["hi"],
                       stroke_opacity=0.045 * s, stroke_width=0.8)
            k -= max(1.6, r * 0.07)
    # two opposite sheen wedges
    for a0 in (-60, 120):
        a1 = a0 + 38
        p = []
        for a in (a0, a1):
            t = math.radians(a)
            p.append((cx + r * 0.97 * math.cos(t), cy + r * 0.97 * math.sin(t)))
        svg.path("M%s,%s L%s,%s A%s,%s 0 0 1 %s,%s Z" % tuple(fmt(v) for v in (
            cx, cy, p[0][0], p[0][1], r * 0.97, r * 0.97, p[1][0], p[1][1])),
            fill=P["hi"], fill_opacity=0.07 * s)
    lr = r * 0.33
    svg.circle(cx, cy, lr, fill=svg.radial(
        [(0, label or P["accent_light"]), (1, P["accent_dark"])],
        fx=0.35, fy=0.3), fill_opacity=min(1, 0.95 * s))
    svg.circle(cx, cy, lr * 0.62, fill="none", stroke=P["accent_deep"],
               stroke_opacity=0.35 * s, stroke_width=0.7)
    svg.circle(cx, cy, max(1.2, r * 0.06), fill="#0e121a")


def compact_disc(svg, cx, cy, r, strength=1.0):
    """A silvery compact disc with a soft rainbow sheen."""
    s = strength
    svg.circle(cx, cy, r, fill=svg.linear(
        [(0, "#dfe6ef"), (0.35, "#9fb3c9"), (0.5, "#c8b6de"),
         (0.65, "#a8cfd0"), (1, "#7f8fa5")], 0, 0, 1, 1),
        fill_opacity=s, stroke="#0d1119", stroke_opacity=0.6 * s)
    svg.circle(cx, cy, r * 0.96, fill="none", stroke=P["hi"],
               stroke_opacity=0.5 * s, stroke_width=0.8)
    svg.circle(cx, cy, r * 0.36, fill="#c9d3de", fill_opacity=s,
               stroke="#8592a5", stroke_opacity=s)
    svg.circle(cx, cy, r * 0.15, fill=P["bg_bot"], stroke="#5c6a80")


# ---------------------------------------------------------------- buttons
def button_body(svg, pressed, primary=False, r=6):
    """Draws the rounded button body filling the picture; returns the y
    offset (0 or 1) to apply to the label."""
    w, h = svg.w, svg.h
    bx, bw, bh = 0.5, w - 1, h - 2
    if primary:
        top, bot = (P["accent_dark"], "#dc9838") if pressed else (P["accent_light"], P["accent"])
        edge = P["accent_deep"]
    else:
        top, bot = (P["btn_down_top"], P["btn_down_bot"]) if pressed else (P["btn_top"], P["btn_bot"])
        edge = P["btn_edge"]
    if pressed:
        by = 1.5
    else:
        by = 0.5
        # one-pixel drop shadow under the body
        svg.rect(bx, by + 1, bw, bh, r, fill=P["lo"], fill_opacity=0.38)
    svg.rect(bx, by, bw, bh, r, fill=svg.linear([(0, top), (1, bot)]), stroke=edge)
    if pressed:
        # inner shadow along the top edge
        svg.rect(bx + 1, by + 1, bw - 2, bh - 2, r - 1, fill="none",
                 stroke=svg.linear([(0, P["lo"], 0.55), (0.35, P["lo"], 0.12),
                                    (1, P["lo"], 0)]))
        svg.rect(bx + 0.5, by + 0.5, bw - 1, min(6, bh / 3), r - 1,
                 fill=svg.linear([(0, P["lo"], 0.22), (1, P["lo"], 0)]))
    else:
        svg.rect(bx + 1, by + 1, bw - 2, bh - 2, r - 1, fill="none",
                 stroke=svg.linear([(0, P["hi"], 0.42 if primary else 0.26),
                                    (0.45, P["hi"], 0.06), (1, P["hi"], 0.02)]))
        # glossy upper half
        svg.rect(bx + 1, by + 1, bw - 2, bh / 2 - 1, r - 1, fill=svg.linear(
            [(0, P["hi"], 0.10), (1, P["hi"], 0.02)]))
    return 1 if pressed else 0


def label(svg, cx, baseline, s, size, primary=False, pressed=False, bold=True):
    if primary:
        svg.text(cx, baseline + 1, s, size, bold, "middle", fill=P["hi"],
                 fill_opacity=0.35)
        svg.text(cx, baseline, s, size, bold, "middle",
                 fill=P["text_dark"] if not pressed else "#1e1303")
    else:
        svg.text(cx, baseline + 1, s, size, bold, "middle", fill=P["lo"],
                 fill_opacity=0.5)
        svg.text(cx, baseline, s, size, bold, "middle",
                 fill=P["text"] if not pressed else "#cfd7e3")


def cap_baseline(cy, size):
    """Baseline that centres capitals/lower case visually around cy."""
    return cy + 0.36 * size


def text_button(name, w, h, lines, size=12, primary=False, r=6):
    for pressed in (False, True):
        svg = Svg(name + ("down" if pressed else "") + ".svg", w, h)
        dy = button_body(svg, pressed, primary, r)
        cy = (h - 2) / 2.0 + 0.5 + dy
        gap = size + 1
        n = len(lines)
        for k, s in enumerate(lines):
            lc = cy + (k - (n - 1) / 2.0) * gap
            label(svg, w / 2.0, round(cap_baseline(lc, size), 1), s, size,
                  primary, pressed)
        svg.save()


def glyph_button(name, w, h, draw, r=6):
    for pressed in (False, True):
        svg = Svg(name + ("down" if pressed else "") + ".svg", w, h)
        dy = button_body(svg, pressed, False, r)
        cx, cy = w / 2.0, (h - 2) / 2.0 + 0.5 + dy
        draw(svg, cx, cy + 1, P["lo"], 0.45)          # shadow
        draw(svg, cx, cy, P["text"] if not pressed else "#cfd7e3", 1)
        svg.save()


def arrow(direction):
    def draw(svg, cx, cy, col, op):
        a, b = 4.0, 3.2   # half length along the pointing axis / half width
        if direction == "left":
            pts = [(cx - b, cy), (cx + b, cy - a), (cx + b, cy + a)]
        elif direction == "right":
            pts = [(cx + b, cy), (cx - b, cy - a), (cx - b, cy + a)]
        elif direction == "up":
            pts = [(cx, cy - b), (cx - a, cy + b), (cx + a, cy + b)]
        else:
            pts = [(cx, cy + b), (cx - a, cy - b), (cx + a, cy - b)]
        d = "M%s,%s L%s,%s L%s,%s Z" % tuple(fmt(v) for p in pts for v in p)
        svg.path(d, fill=col, fill_opacity=op, stroke=col, stroke_opacity=op,
                 stroke_width=1.6, stroke_linejoin="round")
    return draw


def navi_glyph(svg, cx, cy, col, op):
    x0, y0, w, h = cx - 8, cy - 6, 16, 12
    svg.rect(x0 + 0.5, y0 + 0.5, w - 1, h - 1, 1.5, fill="none", stroke=col,
             stroke_opacity=op, stroke_width=1.2)
    svg.rect(x0 + 1, y0 + 1, 5, h - 2, fill=col, fill_opacity=0.55 * op)
    for k in range(3):
        yy = y0 + 3.5 + k * 2.5
        svg.line(x0 + 8, yy, x0 + 14, yy, stroke=col, stroke_opacity=op,
                 stroke_width=1.1)


def round_button(name, size, fill_top, fill_bot, edge, draw_glyph):
    """Small circular title-bar style button (info, minimise, quit)."""
    for pressed in (False, True):
        svg = Svg(name + ("down" if pressed else "") + ".svg", size, size)
        c = size / 2.0
        r = c - 0.5
        top, bot = (fill_top, fill_bot) if not pressed else (fill_bot, fill_top)
        svg.circle(c, c, r, fill=svg.linear([(0, top), (1, bot)]), stroke=edge,
                   stroke_width=0.9)
        if pressed:
            svg.circle(c, c, r, fill=P["lo"], fill_opacity=0.28)
            svg.circle(c, c + 0.3, r - 0.8, fill="none", stroke=P["lo"],
                       stroke_opacity=0.35, stroke_width=0.8)
        else:
            svg.circle(c, c - r * 0.35, r * 0.55, fill=P["hi"], fill_opacity=0.16)
        draw_glyph(svg, c, c + (0.4 if pressed else 0), pressed)
        svg.save()


# --------------------------------------------------------------- windows
def make_main():
    svg = Svg("main.svg", 718, 730)
    w, h = svg.w, svg.h
    window_base(svg, 9, flat_from=98, top=True, bottom=False,
                top_col="#3a4763", bot_col="#212938")

    # header: a large faint record peeking in on the right (only above y 47)
    cx, cy, R = 640.0, 6.0, 110.0
    cut = 46.0
    for k, (rad, op) in enumerate([(R, 0.05), (R * 0.86, 0.035), (R * 0.72, 0.035),
                                   (R * 0.58, 0.035), (R * 0.44, 0.03)]):
        dy = cut - cy
        if rad <= dy:
            continue
        dx = math.sqrt(rad * rad - dy * dy)
        d = "M%s,%s A%s,%s 0 1 1 %s,%s" % tuple(fmt(v) for v in (
            cx - dx, cut, rad, rad, cx + dx, cut))
        if k == 0:
            svg.path(d + " Z", fill="#0b0e14", fill_opacity=0.22)
        svg.path(d, fill="none", stroke=P["hi"], stroke_opacity=op)

    # header separator
    svg.line(1, 47.5, w - 1, 47.5, stroke=P["lo"], stroke_opacity=0.45)
    svg.line(1, 48.5, w - 1, 48.5, stroke=P["hi"], stroke_opacity=0.06)

    # small record emblem between the disc buttons and the disc name
    disc(svg, 236, 24, 19)

    # inset field for the disc name
    well(svg, 276, 13, 102, 22, 5)

    # separator under the disc chooser row
    svg.line(1, 83.5, w - 1, 83.5, stroke=P["lo"], stroke_opacity=0.3)

    # the track list: a recessed well that runs past the bottom edge
    lx0, lx1, ly = 30, 690, 84
    well(svg, lx0, ly, lx1 - lx0, h - ly, 6, open_bottom=True)
    # column heading band
    svg.rect(lx0 + 1, ly + 1, lx1 - lx0 - 2, 13, 5, fill=P["hi"], fill_opacity=0.05)
    svg.line(lx0 + 1, 97.5, lx1 - 1, 97.5, stroke=P["hi"], stroke_opacity=0.09)
    heads = [(41, "Label"), (144, "Artist"), (272, "Title"), (432, "Year"),
             (464, "Length"), (504, "Format"), (552, "Comments")]
    for x, s in heads:
        svg.text(x, 94, s, 10, True, fill=P["text_muted"])
    # (the faint row bands are drawn by the window, so that they scroll
    # with the rows)
    # a thin amber accent under the heading, at the left end only
    svg.rect(36, 96, 26, 1, fill=P["accent"], fill_opacity=0.8)
    svg.save()


def make_newt():
    svg = Svg("newt.svg", 376, 260)
    window_base(svg)
    panel(svg, 8, 8, 360, 204)
    button_strip(svg, 212)
    disc(svg, 188, 237, 9, 0.8, grooves=False)
    svg.save()


def make_newd():
    svg = Svg("newd.svg", 376, 129)
    window_base(svg)
    panel(svg, 8, 8, 360, 78)
    button_strip(svg, 88)
    disc(svg, 188, 108, 9, 0.8, grooves=False)
    svg.save()


def make_remove():
    svg = Svg("remove.svg", 340, 200)
    window_base(svg)
    panel(svg, 8, 8, 324, 145)
    well(svg, 17, 17, 304, 128, 4)
    button_strip(svg, 156)
    svg.save()


def make_msgbox():
    svg = Svg("msgbox.svg", 340, 130)
    window_base(svg)
    panel(svg, 8, 8, 324, 80)
    # soft halo behind the icon
    svg.circle(34, 34, 22, fill=svg.radial([(0, P["hi"], 0.10), (1, P["hi"], 0)]))
    button_strip(svg, 90)
    svg.save()


def make_print():
    svg = Svg("print.svg", 376, 208)
    window_base(svg)
    panel(svg, 8, 8, 360, 158)
    for x, y, w, h in ((16, 16, 345, 43), (16, 64, 121, 95), (192, 64, 121, 95)):
        well(svg, x - 1, y - 1, w + 2, h + 2, 3)
    button_strip(svg, 168)
    svg.save()


def make_option():
    svg = Svg("option.svg", 340, 200)
    window_base(svg)
    panel(svg, 8, 8, 324, 146)
    # groove between the two groups (x 186..188)
    svg.line(186.5, 10, 186.5, 146, stroke=P["lo"], stroke_opacity=0.45)
    svg.line(187.5, 10, 187.5, 146, stroke=P["hi"], stroke_opacity=0.10)
    button_strip(svg, 156)
    svg.save()


def make_navi():
    svg = Svg("navi.svg", 212, 586)
    window_base(svg, 9, flat_from=24, top=True, bottom=False,
                top_col="#34405a", bot_col="#262f40")
    svg.text(28, 16, "Discs", 11, True, fill=P["text_muted"])
    svg.rect(28, 18, 18, 1, fill=P["accent"], fill_opacity=0.8)
    disc(svg, 184, 12, 7, 0.9, grooves=False)
    well(svg, 26, 22, 165, svg.h - 22, 4, open_bottom=True)
    svg.save()


def make_navibot():
    svg = Svg("navibot.svg", 212, 48)
    svg.rect(0, 0, svg.w, svg.h, fill=svg.linear(
        [(0, "#262f40"), (1, "#1d2431")]))
    # the list well of the navigator ends here with a lip
    lip = "M26.5,0 L26.5,2 A3,3 0 0 0 29.5,5 L187.5,5 A3,3 0 0 0 190.5,2 L190.5,0"
    svg.path(lip + " Z", fill=P["well"])
    svg.path(lip, fill="none", stroke=P["well_edge"])
    svg.line(29, 5.5, 188, 5.5, stroke=P["hi"], stroke_opacity=0.08)
    svg.line(1, 10.5, svg.w - 1, 10.5, stroke=P["lo"], stroke_opacity=0.35)
    svg.line(1, 11.5, svg.w - 1, 11.5, stroke=P["hi"], stroke_opacity=0.05)
    frame(svg, 9, top=False, bottom=True)
    svg.save()


def make_about():
    svg = Svg("about.svg", 440, 148)
    window_base(svg, 8)
    # large faint record rings in the lower right corner
    for k in range(6):
        svg.circle(452, 168, 120 - 16 * k, fill="none", stroke=P["hi"],
                   stroke_opacity=0.035 if k else 0.05)
    svg.circle(452, 168, 120, fill="#0b0e14", fill_opacity=0.12)
    # disc artwork on the left: a compact disc tucked behind a record
    compact_disc(svg, 46, 52, 16)
    disc(svg, 35, 78, 23)
    x = 72
    svg.text(x, 41, "Platterbook", 26, True, fill=P["text"])
    svg.rect(x + 1, 48, 40, 2, fill=P["accent"])
    svg.text(x, 68, "A catalogue for your home-made disc compilations", 12,
             fill=P["text"])
    svg.text(x, 88, "Version 1.0", 11, fill=P["text_muted"])
    svg.text(x, 106, "\u00a9 2026 The Platterbook developers", 11,
             fill=P["text_muted"])
    # area x 68..206, y 120..136 stays free for the mail link picture
    svg.save()


# ------------------------------------------------------- small pictures
def make_link():
    s = "Mail the developers"
    size = 11
    tw = text_width(s, size)
    for pressed in (False, True):
        svg = Svg("link" + ("down" if pressed else "") + ".svg", 138, 16)
        col = P["accent"] if not pressed else P["accent_dark"]
        svg.text(2, 12, s, size, fill=col)
        svg.rect(2, 13, round(tw, 1), 1, fill=col)
        svg.save()


def make_icons():
    # critical
    svg = Svg("icon_crit.svg", 32, 32)
    svg.circle(16, 16, 14.5, fill=svg.linear([(0, "#ec6e66"), (1, P["red_dark"])]),
               stroke="#6e1f1b")
    svg.circle(16, 11, 9, fill=P["hi"], fill_opacity=0.14)
    svg.path("M11,11 L21,21 M21,11 L11,21", stroke=P["hi"], stroke_width=3.4,
             stroke_linecap="round", fill="none")
    svg.save()
    # information
    svg = Svg("icon_info.svg", 32, 32)
    svg.circle(16, 16, 14.5, fill=svg.linear([(0, "#6aaaf0"), (1, P["blue_dark"])]),
               stroke="#183f70")
    svg.circle(16, 11, 9, fill=P["hi"], fill_opacity=0.14)
    svg.circle(16, 9.5, 2.1, fill=P["hi"])
    svg.path("M13.5,13.5 L17.6,13.5 L17.6,22 L19,22 L19,24 L13,24 L13,22 "
             "L14.4,22 L14.4,15.5 L13.5,15.5 Z", fill=P["hi"])
    svg.save()
    # exclamation
    svg = Svg("icon_exclam.svg", 32, 32)
    tri = "M16,4 L29,27 L3,27 Z"
    svg.path(tri, fill=svg.linear([(0, P["accent_light"]), (1, P["accent_dark"])]),
             stroke=svg.linear([(0, P["accent_light"]), (1, P["accent_dark"])]),
             stroke_width=3, stroke_linejoin="round")
    svg.path("M16,2.6 L30.3,27.8 L1.7,27.8 Z", fill="none", stroke=P["accent_deep"],
             stroke_width=0.8, stroke_linejoin="round")
    svg.path("M14.6,11 L17.4,11 L16.8,20.5 L15.2,20.5 Z", fill=P["text_dark"],
             stroke=P["text_dark"], stroke_width=0.6, stroke_linejoin="round")
    svg.circle(16, 23.6, 1.7, fill=P["text_dark"])
    svg.save()
    # question
    svg = Svg("icon_quest.svg", 32, 32)
    svg.circle(16, 16, 14.5, fill=svg.linear([(0, "#5fd0c8"), (1, P["teal_dark"])]),
               stroke="#0f524e")
    svg.circle(16, 11, 9, fill=P["hi"], fill_opacity=0.14)
    svg.path("M11.6,12.4 C11.6,9.3 13.6,7.6 16.2,7.6 C18.9,7.6 20.6,9.3 20.6,11.6 "
             "C20.6,14.8 16.4,15.1 16.4,18.6", fill="none", stroke=P["hi"],
             stroke_width=3, stroke_linecap="round")
    svg.circle(16.4, 23.4, 1.9, fill=P["hi"])
    svg.save()


def make_buttons():
    dialog = [("save", "Save", True), ("cancel", "Cancel", False),
              ("okay", "Okay", True), ("yes", "Yes", False), ("no", "No", False),
              ("search", "Search", False), ("close", "Close", False),
              ("printbtn", "Print", False), ("show", "Show", False),
              ("remdisc", "Remove", False), ("remtrack", "Remove", False),
              ("edit", "Edit", False)]
    for name, s, primary in dialog:
        text_button(name, 81, 26, [s], 12, primary)

    text_button("fromfiles", 76, 26, ["From files\u2026"], 11)

    for d in ("left", "right", "up", "down"):
        glyph_button(d, 32, 25, arrow(d))

    text_button("main_newd", 60, 35, ["New", "Disc"], 10)
    text_button("main_remd", 60, 35, ["Remove", "Disc"], 10)
    text_button("main_print", 81, 26, ["Print"], 12)
    text_button("main_search", 81, 26, ["Search"], 12)
    text_button("main_option", 81, 26, ["Options"], 12)
    text_button("main_newt", 60, 34, ["New", "Track"], 10)
    text_button("main_remt", 60, 34, ["Remove", "Track"], 10)
    text_button("main_edit", 59, 33, ["Edit"], 11)
    glyph_button("main_navi", 32, 25, navi_glyph)

    def info_glyph(svg, c, cy, pressed):
        col = P["hi"]
        svg.circle(c, cy - 3.6, 1.15, fill=col)
        svg.rect(c - 1.05, cy - 1.4, 2.1, 5.6, 0.5, fill=col)

    def minus_glyph(svg, c, cy, pressed):
        svg.line(c - 2.3, cy, c + 2.3, cy, stroke=P["hi"], stroke_width=1.3,
                 stroke_linecap="round", stroke_opacity=0.95)

    def cross_glyph(svg, c, cy, pressed):
        k = 1.8
        svg.path("M%s,%s L%s,%s M%s,%s L%s,%s" % tuple(fmt(v) for v in (
            c - k, cy - k, c + k, cy + k, c + k, cy - k, c - k, cy + k)),
            stroke=P["hi"], stroke_width=1.2, stroke_linecap="round", fill="none")

    round_button("main_info", 16, "#6aaaf0", P["blue_dark"], "#10233d", info_glyph)
    round_button("main_mini", 10, "#7d8ea9", "#4a5971", "#10151e", minus_glyph)
    round_button("main_quit", 10, "#ec6e66", P["red_dark"], "#3d1210", cross_glyph)


def make_app_icon():
    """The program's icon: a record on a rounded dark tile."""
    svg = Svg("platterbook.svg", 256, 256)
    svg.rect(10, 10, 236, 236, 52, fill=svg.linear([(0, "#3a4763"), (1, "#1d2431")]),
             stroke=P["edge"], stroke_width=4)
    svg.rect(14, 14, 228, 228, 48, fill="none", stroke=P["hi"], stroke_opacity=0.08,
             stroke_width=2)
    disc(svg, 128, 128, 92)
    svg.save()


def make_qrc():
    names = sorted(WRITTEN)
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/art">']
    lines += ["    <file>%s</file>" % n for n in names]
    lines += ["</qresource>", "</RCC>", ""]
    with open(os.path.join(OUT, "art.qrc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main():
    make_main()
    make_newt()
    make_newd()
    make_remove()
    make_msgbox()
    make_print()
    make_option()
    make_navi()
    make_navibot()
    make_about()
    make_link()
    make_icons()
    make_buttons()
    make_app_icon()
    make_qrc()
    print("wrote %d SVG files and art.qrc to %s" % (len(WRITTEN), OUT))


if __name__ == "__main__":
    main()
