#!/usr/bin/env python3
"""Writes Unit1.ui, the window's layout: this script is its only source.

Change the layout here, then run it; with --check it only tells whether Unit1.ui is what it writes
(a test does that, so that an edit made to Unit1.ui by hand or in Designer is not lost unseen).
"""
import sys
from pathlib import Path
from xml.sax.saxutils import escape

# (first box number, characters, column x, first row)
CHARACTER_RUNS = [
    (5, "abcdefghijklm", 392, 0),
    (18, "nopqrstuvwxyz", 424, 0),
    (31, "0123456789", 232, 0),
    (41, "ABCDEFGHIJKLM", 296, 0),
    (54, "NOPQRSTUVWXYZ", 328, 0),
    (67, "~", 456, 3),
    (68, "".join(map(chr, range(0x21, 0x30))), 200, 0),
    (83, "".join(map(chr, range(0x3A, 0x41))), 264, 0),
    (90, "".join(map(chr, range(0x5B, 0x61))), 360, 0),
    (96, "{|}", 456, 0),
    (99, "ÄÖÜ", 296, 13),
    (102, "äöü", 392, 13),
    (105, "ß", 424, 15),
]

TILDE_BOX = 67  # created and tabbed after all other character boxes

# What a screen reader says for each character box: "a" and "A" sound alike, punctuation is skipped.
# Letters and digits keep their caption in the name, so that speech input finds them by it.
SPOKEN = {
    "!": "Ausrufezeichen", '"': "Anführungszeichen", "#": "Raute", "$": "Dollarzeichen",
    "%": "Prozentzeichen", "&": "Kaufmanns-Und", "'": "Apostroph", "(": "runde Klammer auf",
    ")": "runde Klammer zu", "*": "Stern", "+": "Pluszeichen", ",": "Komma", "-": "Minuszeichen",
    ".": "Punkt", "/": "Schrägstrich", ":": "Doppelpunkt", ";": "Semikolon", "<": "Kleiner-als-Zeichen",
    "=": "Gleichheitszeichen", ">": "Größer-als-Zeichen", "?": "Fragezeichen", "@": "At-Zeichen",
    "[": "eckige Klammer auf", "\\": "umgekehrter Schrägstrich", "]": "eckige Klammer zu",
    "^": "Zirkumflex", "_": "Unterstrich", "`": "Gravis", "{": "geschweifte Klammer auf",
    "|": "senkrechter Strich", "}": "geschweifte Klammer zu", "~": "Tilde",
}


def spoken(ch):
    if ch in SPOKEN:
        return SPOKEN[ch]
    if ch.isdigit():
        return f"Ziffer {ch}"
    return f"großes {ch}" if ch.isupper() else f"kleines {ch}"


def character_boxes():
    boxes = {}
    for first, chars, x, row in CHARACTER_RUNS:
        for i, ch in enumerate(chars):
            caption = "&&" if ch == "&" else ch
            boxes[first + i] = (caption, x, 8 + 24 * (row + i), spoken(ch))
    return boxes


def geometry(x, y, w, h):
    return (f'<property name="geometry"><rect><x>{x}</x><y>{y}</y>'
            f'<width>{w}</width><height>{h}</height></rect></property>')


def text(name, value):
    return f'<property name="{name}"><string>{escape(value)}</string></property>'


def widget(cls, name, rect, *props):
    body = "\n".join("   " + p for p in (geometry(*rect),) + props)
    return f'  <widget class="{cls}" name="{name}">\n{body}\n  </widget>'


CHECKED = '<property name="checked"><bool>true</bool></property>'
# Return presses the focused button, as on every desktop.
RETURN_PRESSES = '<property name="autoDefault"><bool>true</bool></property>'


def check_box(name, rect, caption, *props):
    return widget("QCheckBox", name, rect, text("text", caption), CHECKED, *props)


def main():
    boxes = character_boxes()
    box_order = [n for n in range(5, 106) if n != TILDE_BOX] + [TILDE_BOX]
    w = [
        widget("TLabel", "Label1", (16, 400, 82, 13), text("text", "zadrin.example"),
               '<property name="font"><font><underline>true</underline></font></property>',
               '<property name="cursor"><cursorShape>PointingHandCursor</cursorShape></property>',
               text("accessibleDescription", "Öffnet die Webseite im Browser")),
        widget("QPushButton", "Button1", (120, 8, 75, 57), text("text", "Key erzeugen"), RETURN_PRESSES),
        widget("QPushButton", "Button2", (120, 96, 75, 17), text("text", "&beenden"), RETURN_PRESSES),
        widget("QLabel", "LabeledEdit1Label", (8, 104, 51, 13), text("text", "Stellenzahl"),
               '<property name="buddy"><cstring>LabeledEdit1</cstring></property>'),
        widget("QLineEdit", "LabeledEdit1", (8, 120, 57, 21), text("text", "8")),
        widget("QLabel", "LabeledEdit2Label", (72, 104, 18, 13), text("text", "Key"),
               '<property name="buddy"><cstring>LabeledEdit2</cstring></property>'),
        widget("TEdit", "LabeledEdit2", (72, 120, 121, 21),
               '<property name="maxLength"><number>2147483647</number></property>',
               '<property name="readOnly"><bool>true</bool></property>'),
        # Spoken names unique ignoring case ("buchstaben" and "BUCHSTABEN" sound the same), each
        # starting with its caption, which is what a user of speech input says.
        check_box("CheckBox1", (8, 8, 97, 17), "buchstaben", text("accessibleName", "buchstaben – Kleinbuchstaben")),
        check_box("CheckBox3", (8, 56, 97, 17), "Zahlen"),
        check_box("CheckBox4", (8, 80, 97, 17), "Sonderzeichen"),
        check_box("CheckBox2", (8, 32, 97, 17), "BUCHSTABEN", text("accessibleName", "BUCHSTABEN – Großbuchstaben")),
        widget("TMemo", "Memo1", (8, 144, 185, 249), text("accessibleName", "Verlauf"),
               # Tab moves on, as in the classic memo: typed into the history, it would trap the focus.
               '<property name="tabChangesFocus"><bool>true</bool></property>',
               text("accessibleDescription", "Die erzeugten Keys, einer je Zeile")),
        widget("QPushButton", "Button3", (120, 72, 33, 17), text("text", "clear"), RETURN_PRESSES,
               text("toolTip", "Verlauf leeren"), text("accessibleName", "clear – Verlauf leeren")),
    ]
    for n in box_order:
        caption, x, y, name = boxes[n]
        w.append(check_box(f"CheckBox{n}", (x, y, 30, 17), caption, text("accessibleName", name)))
    w.append(widget("QPushButton", "Button4", (160, 72, 33, 17), text("text", "Opt."), RETURN_PRESSES,
                    text("toolTip", "Zeichentabelle ein- oder ausblenden"),
                    text("accessibleName", "Opt. – Zeichentabelle ein- oder ausblenden")))

    tab_order = (["Button1", "Button2", "LabeledEdit1", "LabeledEdit2", "CheckBox1", "CheckBox3",
                  "CheckBox4", "CheckBox2", "Memo1", "Button3"]
                 + [f"CheckBox{n}" for n in box_order] + ["Button4"])
    tabstops = "\n".join(f"  <tabstop>{t}</tabstop>" for t in tab_order)

    # Client area of the designed 500 x 450 window; the frame allowance is the platform's.
    ui = f"""<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>TForm1</class>
 <widget class="QWidget" name="TForm1">
  {geometry(0, 0, 492, 419)}
  <property name="minimumSize"><size><width>197</width><height>419</height></size></property>
  <property name="maximumSize"><size><width>492</width><height>419</height></size></property>
  {text("windowTitle", "Form1")}
  <property name="font"><font><family>MS Sans Serif</family><pointsize>8</pointsize></font></property>
{chr(10).join(w)}
 </widget>
 <customwidgets>
  <customwidget>
   <class>TLabel</class>
   <extends>QLabel</extends>
   <header>platform/TLabel.h</header>
  </customwidget>
  <customwidget>
   <class>TEdit</class>
   <extends>QLineEdit</extends>
   <header>platform/TEdit.h</header>
  </customwidget>
  <customwidget>
   <class>TMemo</class>
   <extends>QPlainTextEdit</extends>
   <header>platform/TMemo.h</header>
  </customwidget>
 </customwidgets>
 <tabstops>
{tabstops}
 </tabstops>
 <resources/>
 <connections/>
</ui>
"""
    target = Path(__file__).with_name("Unit1.ui")
    if "--check" in sys.argv[1:]:
        if target.read_text(encoding="utf-8") != ui:
            sys.exit(f"{target} differs from what {Path(__file__).name} writes: change the script, then run it")
        return
    target.write_text(ui, encoding="utf-8")


if __name__ == "__main__":
    main()
