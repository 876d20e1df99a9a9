#!/usr/bin/env python3
"""Writes the 33 built-in skins (skin/skins/skinNN.she) from the table below.

Each skin is a handful of choices (colours, the shape of the buttons, edit boxes and status
bar, a corner radius); this script turns them into a full palette and a Qt style sheet in the
skin file format (skin/engine/skin_file.h). Edit the table, run the script, and commit the
files it writes:

    python3 skin/tools/make_skins.py
"""

import pathlib

# name, window, text, base, accent, buttons, edits, status bar, radius, style
#   buttons: gradient | neutral (gradient in the window's colour) | glass | flat | outline | pill
#   edits:   box | underline | soft
#   status:  accent | tint | line
SKINS = [
    ("Porcelain", "#f2f2f0", "#2b2b2b", "#ffffff", "#5b6f8f", "neutral", "box", "line", 3),
    ("Sakura", "#fbf1f3", "#3d2a30", "#ffffff", "#d45d79", "flat", "soft", "tint", 6),
    ("Meadow", "#f1f6ee", "#24331e", "#ffffff", "#4c9a2a", "gradient", "box", "accent", 4),
    ("Midnight", "#1e2230", "#e4e7ef", "#151824", "#6c8cff", "flat", "box", "line", 4),
    ("Amber", "#fbf5e9", "#3a2c16", "#fffdf8", "#d9822b", "glass", "box", "tint", 4),
    ("Azure", "#edf2f8", "#1c2a3a", "#ffffff", "#2f6fd0", "gradient", "box", "accent", 5),
    ("Graphite", "#2b2d31", "#e8e8e8", "#1f2023", "#4fa3e0", "gradient", "underline", "accent", 3),
    ("Lavender", "#f4f1fa", "#2f2542", "#ffffff", "#7e57c2", "pill", "soft", "tint", 15),
    ("Ocean", "#e9f3f7", "#14323d", "#ffffff", "#0e7c9a", "glass", "box", "accent", 4),
    ("Mocha", "#f3ece6", "#3e2c23", "#fffaf6", "#8d5b3e", "gradient", "box", "line", 3),
    ("Forest Night", "#1f2a24", "#e3efe6", "#16201b", "#5fbf7f", "outline", "underline", "line", 4),
    ("Classic", "#d4d0c8", "#000000", "#ffffff", "#0a246a", "neutral", "box", "line", 0, "Windows"),
    ("Coral", "#fff4f0", "#3b221b", "#ffffff", "#e8613c", "flat", "box", "accent", 5),
    ("Mint", "#eefaf5", "#173a2e", "#ffffff", "#1fa67a", "pill", "soft", "tint", 15),
    ("Slate", "#e7ebf0", "#1e293b", "#ffffff", "#475569", "neutral", "box", "line", 2),
    ("Royal", "#eef0fa", "#1c2050", "#ffffff", "#3949ab", "glass", "box", "accent", 3),
    ("Ember", "#2a1f2d", "#f3e6ee", "#1f1722", "#ff7a59", "flat", "box", "accent", 6),
    ("Lemon", "#fdfbe9", "#36320f", "#ffffff", "#c9a100", "flat", "underline", "tint", 4),
    ("Steel", "#dde3ea", "#1b2836", "#ffffff", "#2f5d8a", "glass", "box", "line", 2),
    ("Rose Gold", "#f8efec", "#3f2a2c", "#fffbfa", "#b76e79", "outline", "soft", "tint", 8),
    ("Ice", "#f3f9fd", "#12324a", "#ffffff", "#39a0d6", "outline", "underline", "line", 4),
    ("Plum", "#f6eff6", "#341a34", "#ffffff", "#8e3b8e", "gradient", "box", "accent", 4),
    ("Terminal", "#101410", "#b8f5b8", "#0a0d0a", "#33cc66", "outline", "underline", "line", 0),
    ("Sand", "#f4efe4", "#3a3124", "#fffdf7", "#a0804a", "neutral", "soft", "line", 6),
    ("Nordic", "#2e3440", "#eceff4", "#3b4252", "#88c0d0", "flat", "box", "tint", 4),
    ("Cherry", "#fdf0f0", "#3a1414", "#ffffff", "#c0392b", "glass", "box", "accent", 4),
    ("Teal", "#e8f5f3", "#11332f", "#ffffff", "#00897b", "flat", "underline", "accent", 2),
    ("Paper", "#fafafa", "#222222", "#ffffff", "#333333", "outline", "underline", "line", 0),
    ("Indigo Night", "#1b1d3a", "#e6e7ff", "#13142b", "#8c7bff", "pill", "soft", "accent", 15),
    ("Peach", "#fff3ea", "#3d2516", "#ffffff", "#f08a5d", "pill", "box", "tint", 15),
    ("Olive", "#f2f3e8", "#2c3014", "#ffffff", "#6b7a2a", "gradient", "box", "line", 3),
    ("Sky", "#eaf4ff", "#102a43", "#ffffff", "#1e88e5", "glass", "soft", "accent", 8),
    ("Charcoal", "#262626", "#f0f0f0", "#1c1c1c", "#ffb300", "flat", "box", "accent", 4),
]


def rgb(hex_color):
    return tuple(int(hex_color[i:i + 2], 16) for i in (1, 3, 5))


def hexc(c):
    return "#%02x%02x%02x" % tuple(max(0, min(255, round(v))) for v in c)


def mix(a, b, t):
    """a moved towards b by t (0..1)."""
    ca, cb = rgb(a), rgb(b)
    return hexc(tuple(x + (y - x) * t for x, y in zip(ca, cb)))


def lighten(c, t):
    return mix(c, "#ffffff", t)


def darken(c, t):
    return mix(c, "#000000", t)


def luminance(c):
    def channel(v):
        v /= 255
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in rgb(c))
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def on(c):
    """A text colour that reads well on c."""
    return "#ffffff" if luminance(c) < 0.42 else darken(c, 0.82)


def is_dark(c):
    return luminance(c) < 0.2


class Theme:
    def __init__(self, name, window, text, base, accent, buttons, edits, status, radius,
                 style="Fusion"):
        self.name, self.window, self.text, self.base, self.accent = name, window, text, base, accent
        self.buttons, self.edits, self.status, self.radius, self.style = (
            buttons, edits, status, radius, style)
        self.dark = is_dark(window)
        self.muted = mix(window, text, 0.45)  # disabled text
        self.line = mix(window, text, 0.28 if self.dark else 0.24)  # borders
        self.soft_accent = mix(window, accent, 0.14)

    # The roles of the palette: every group first, then the disabled group's own colours.
    def palette(self):
        w, t, b, a = self.window, self.text, self.base, self.accent
        shade = lighten if self.dark else darken
        button = lighten(w, 0.06) if self.dark else lighten(w, 0.45)
        roles = [
            ("Window", w), ("WindowText", t), ("Base", b), ("AlternateBase", mix(b, w, 0.5)),
            ("Text", t), ("Button", button), ("ButtonText", t), ("BrightText", "#ffffff"),
            ("Highlight", a), ("HighlightedText", on(a)),
            ("ToolTipBase", mix(b, a, 0.08)), ("ToolTipText", t),
            ("PlaceholderText", mix(b, t, 0.42)), ("Link", a), ("LinkVisited", mix(a, t, 0.35)),
            ("Light", lighten(w, 0.6)), ("Midlight", lighten(w, 0.3)),
            ("Mid", shade(w, 0.2)), ("Dark", shade(w, 0.35)), ("Shadow", darken(w, 0.6)),
        ]
        disabled = [
            ("WindowText", self.muted), ("Text", self.muted), ("ButtonText", self.muted),
            ("Base", mix(b, w, 0.6)), ("Button", mix(button, w, 0.5)),
            ("Highlight", mix(a, w, 0.5)),
        ]
        return ([f"color {role} {c}" for role, c in roles] +
                [f"color Disabled:{role} {c}" for role, c in disabled])

    def button_colours(self):
        """Background, text and border of a button at rest."""
        if self.buttons == "neutral":
            face = lighten(self.window, 0.08) if self.dark else lighten(self.window, 0.55)
            return face, self.text, self.line
        if self.buttons == "outline":
            return mix(self.window, self.base, 0.5), self.accent, self.accent
        return self.accent, on(self.accent), darken(self.accent, 0.22)

    def button_rules(self):
        face, ink, border = self.button_colours()
        r = self.radius
        kind = self.buttons
        if kind in ("gradient", "neutral"):
            rest = grad(lighten(face, 0.16), darken(face, 0.05))
            hover = grad(lighten(face, 0.26), lighten(face, 0.02))
            press = grad(darken(face, 0.12), darken(face, 0.02))
        elif kind == "glass":
            rest = grad4(lighten(face, 0.45), lighten(face, 0.12), face, darken(face, 0.06))
            hover = grad4(lighten(face, 0.55), lighten(face, 0.22), lighten(face, 0.08), face)
            press = grad(darken(face, 0.15), darken(face, 0.02))
        elif kind == "outline":
            rest, hover, press = face, self.soft_accent, self.accent
        else:  # flat, pill
            rest, hover, press = face, lighten(face, 0.14), darken(face, 0.14)
            border = face
        press_ink = on(self.accent) if kind == "outline" else ink
        # Raised kinds get a darker lower edge, as if lit from above.
        bottom = darken(border, 0.18) if kind in ("gradient", "neutral", "glass") else border
        dis_face = mix(self.window, self.text, 0.06 if not self.dark else 0.1)
        return f"""QPushButton {{
  color: {ink};
  background: {rest};
  border: 1px solid {border};
  border-bottom-color: {bottom};
  border-radius: {r}px;
  padding: 3px 6px;
  min-width: 36px;
}}
QPushButton:hover {{
  background: {hover};
}}
QPushButton:pressed {{
  color: {press_ink};
  background: {press};
}}
QPushButton:focus {{
  border-color: {darken(self.accent, 0.1) if kind != "outline" else self.accent};
}}
QPushButton:disabled {{
  color: {self.muted};
  background: {dis_face};
  border-color: {mix(self.window, self.text, 0.16)};
}}
"""

    def edit_rules(self):
        r = min(self.radius, 6)
        b, t, a = self.base, self.text, self.accent
        sel = f"  selection-background-color: {a};\n  selection-color: {on(a)};\n"
        if self.edits == "underline":
            rest = (f"  background: {b};\n  border: none;\n"
                    f"  border-bottom: 2px solid {self.line};\n  border-radius: 0px;\n")
            focus = f"  border-bottom: 2px solid {a};\n"
        elif self.edits == "soft":
            fill = mix(b, a, 0.07)
            rest = (f"  background: {fill};\n  border: 1px solid {mix(fill, t, 0.1)};\n"
                    f"  border-radius: {r}px;\n")
            focus = f"  background: {b};\n  border: 1px solid {a};\n"
        else:  # box
            rest = f"  background: {b};\n  border: 1px solid {self.line};\n  border-radius: {r}px;\n"
            focus = f"  border: 1px solid {a};\n"
        return f"""QLineEdit {{
  color: {t};
{rest}  padding: 1px 4px;
{sel}}}
QLineEdit:hover {{
  border-color: {mix(self.line, a, 0.5)};
}}
QLineEdit:focus {{
{focus}}}
QLineEdit:disabled {{
  color: {self.muted};
  background: {mix(b, self.window, 0.6)};
}}
"""

    def status_rules(self):
        a = self.accent
        if self.status == "accent":
            face = darken(a, 0.08)
            bg, ink, top = grad(lighten(face, 0.1), face), on(face), darken(a, 0.25)
        elif self.status == "tint":
            bg, ink, top = mix(self.window, a, 0.16), self.text, mix(self.window, a, 0.4)
        else:  # line
            shade = lighten if self.dark else darken
            bg, ink, top = shade(self.window, 0.05), self.text, self.line
        return f"""QStatusBar {{
  color: {ink};
  background: {bg};
  border-top: 1px solid {top};
}}
QStatusBar::item {{
  border: none;
}}
QStatusBar QLabel {{
  color: {ink};
  background: transparent;
  padding-left: 2px;
}}
"""

    def other_rules(self):
        b, t, a = self.base, self.text, self.accent
        return f"""QToolTip {{
  color: {t};
  background: {mix(b, a, 0.08)};
  border: 1px solid {self.line};
}}
QMenu {{
  color: {t};
  background: {b};
  border: 1px solid {self.line};
}}
QMenu::item:selected {{
  color: {on(a)};
  background: {a};
}}
QMenu::item:disabled {{
  color: {self.muted};
}}
"""

    def file_text(self, number):
        head = [
            ".SHE 1",
            f"# Built-in skin {number}: {self.name}.",
            "# Written by skin/tools/make_skins.py; change the table there, not this file.",
            f"name {self.name}",
            f"style {self.style}",
        ]
        sheet = self.button_rules() + self.edit_rules() + self.status_rules() + self.other_rules()
        return "\n".join(head + self.palette() + ["---"]) + "\n" + sheet


def grad(top, bottom):
    return (f"qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {top}, stop:1 {bottom})")


def grad4(a, b, c, d):
    return (f"qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {a}, stop:0.48 {b}, "
            f"stop:0.52 {c}, stop:1 {d})")


def main():
    assert len(SKINS) == 33
    out = pathlib.Path(__file__).resolve().parent.parent / "skins"
    out.mkdir(exist_ok=True)
    for number, row in enumerate(SKINS, start=1):
        (out / f"skin{number:02d}.she").write_text(Theme(*row).file_text(number), encoding="utf-8")


if __name__ == "__main__":
    main()
