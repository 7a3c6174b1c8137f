#!/usr/bin/env python3
"""Draws the toolbar button strips (resources 259-288): one rounded tile per button in its
group's colour with a white character, on the grey (192,192,192) that the toolbars treat as
transparent. Run from this folder: python3 make_toolbar_bitmaps.py"""
import os
import subprocess
import tempfile

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
GROUPS = [  # (large id, colour, [(button id, character)])
    (259, "#2F6FB0", [(45100, "新"), (45101, "開"), (45102, "上"), (45103, "名"), (45104, "情"), (45105, "出"), (45106, "範")]),
    (260, "#6A6A6A", [(45400, "環"), (45401, "カ"), (45402, "？")]),
    (261, "#3C8C8C", [(45901, "重"), (45902, "並"), (45903, "レ"), (45905, "分"), (45900, "窓")]),
    (262, "#8C5A2F", [(45300, "読"), (45301, "設"), (45302, "削")]),
    (263, "#7A3FA0", [(45200, "距"), (45202, "要"), (45201, "面")]),
    (264, "#2F8C3F", [(45904, "ル"), (45800, "ズ"), (45801, "範"), (45802, "基"), (45803, "再"), (45804, "ス"), (45805, "格"), (45806, "層")]),
    (265, "#B03C3C", [(45719, "戻"), (45720, "進"), (45701, "移"), (45700, "複"), (45707, "伸"), (45709, "部"), (45708, "切"), (45702, "対"), (45703, "反"), (45705, "接"), (45704, "丸"), (45716, "消"), (45717, "枠"), (45718, "全"), (45710, "シ"), (45711, "組"), (45712, "解"), (45715, "変"), (45706, "ク")]),
    (266, "#1F4F9F", [(45500, "線"), (45509, "折"), (45515, "波"), (45501, "基"), (45502, "二"), (45503, "矩"), (45504, "円"), (45505, "弧"), (45507, "楕"), (45508, "弓"), (45506, "点"), (45510, "ス"), (45511, "ハ"), (45906, "割"), (45512, "塗")]),
    (267, "#A06A1F", [(45513, "字"), (45514, "枠"), (45713, "テ"), (45714, "属")]),
    (268, "#1F7F7F", [(45600, "平"), (45601, "径"), (45602, "角")]),
]
SIZES = [(0, 32, 31, 22), (10, 24, 23, 16), (20, 16, 15, 12)]  # id offset, w, h, point size


def tile(path, w, h, colour, char, points):
    subprocess.run(["convert", "-size", f"{w}x{h}", "xc:#C0C0C0", "-fill", colour,
                    "-draw", f"roundrectangle 1,1 {w - 2},{h - 2} 3,3",
                    "-font", FONT, "-pointsize", str(points), "-fill", "white",
                    "-gravity", "center", "-annotate", "+0+0", char, path], check=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as tmp:
        for large, colour, buttons in GROUPS:
            for offset, w, h, points in SIZES:
                tiles = []
                for index, (_, char) in enumerate(buttons):
                    path = os.path.join(tmp, f"{large + offset}_{index}.png")
                    tile(path, w, h, colour, char, points)
                    tiles.append(path)
                out = os.path.join(here, f"tb{large + offset}.bmp")
                subprocess.run(["convert", *tiles, "+append", "-alpha", "off", "-type", "TrueColor",
                                f"BMP3:{out}"], check=True)


if __name__ == "__main__":
    main()
