#!/usr/bin/env python3
"""Draws the layer-state pictures on white, the colour the image lists treat as transparent.

Program folder (written to data/Images/LayIcon/):
  000-029.bmp  42 x 18 state images of the layer manager's tree:
               a layer: input mark (x 0-13), display/detect mark (x 14-27), lock (x 28-41);
               a group: display/detect mark (x 0-13), lock (x 14-34);
               a page: a sheet (x 0-25) coloured by its display and detect state.
  S000-S007.bmp 16 x 18 legend pictures, in the order of the legend texts: shown and detectable,
               shown only, input layer, used layer, locked, unlocked, unused layer, hidden.
Resources (written beside this script):
  206.ico, 210.ico, 216.ico  26 x 18 pages shown only, shown and detectable, hidden;
  247.ico                    the layer dialogs' icon, 32 x 32 and 16 x 16.
Run from anywhere: python3 make_layer_icons.py"""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.normpath(os.path.join(HERE, "..", "..", "..", "..", "data", "Images", "LayIcon"))

GREEN, YELLOW, GREY, RED, BLUE, DARK = "#20A040", "#F0C020", "#A0A0A0", "#D02020", "#3060C0", "#404040"


def state_mark(x, display, detect):
    """The display/detect mark: a hollow grey circle hidden, yellow shown only, green both;
    display 2 draws the half-and-half mark of a mixed group."""
    box = f"{x + 6},9 {x + 6},4"
    if display == 0:
        return ["-fill", "white", "-stroke", GREY, "-draw", f"circle {box}"]
    if display == 2:
        return ["-fill", GREEN, "-stroke", DARK, "-draw", f"circle {box}",
                "-fill", GREY, "-stroke", "none", "-draw", f"rectangle {x + 7},5 {x + 10},13"]
    colour = GREEN if detect else YELLOW
    return ["-fill", colour, "-stroke", DARK, "-draw", f"circle {box}"]


def lock_mark(x, locked):
    """A padlock: closed and dark when locked, open and light otherwise."""
    colour = DARK if locked else "#C8C8C8"
    shackle = f"arc {x + 3},3 {x + 10},11 180,360" if locked else f"arc {x + 6},2 {x + 13},10 180,360"
    return ["-fill", "none", "-stroke", colour, "-strokewidth", "2", "-draw", shackle,
            "-strokewidth", "1", "-fill", colour, "-stroke", colour, "-draw", f"rectangle {x + 2},8 {x + 11},15"]


def usage_mark(x, usage):
    """Input layer: a red pencil tip; used layer: a blue dot; unused: nothing."""
    if usage == 2:
        return ["-fill", RED, "-stroke", "none", "-draw", f"polygon {x + 2},3 {x + 12},9 {x + 2},15"]
    if usage == 1:
        return ["-fill", BLUE, "-stroke", "none", "-draw", f"circle {x + 6},9 {x + 6},6"]
    return []


def sheet(x, w, display, detect):
    colour = "white" if display == 0 else (GREEN if detect else YELLOW)
    folded = f"polygon {x + 2},2 {x + w - 8},2 {x + w - 3},7 {x + w - 3},16 {x + 2},16"
    out = ["-fill", colour, "-stroke", DARK if display else GREY, "-draw", folded]
    if display == 0:
        out += ["-stroke", GREY, "-draw", f"line {x + 4},14 {x + w - 5},4"]
    return out


def draw(path, w, h, commands, ico=False):
    args = ["convert", "-size", f"{w}x{h}", "xc:white", "-strokewidth", "1", *commands]
    if ico:
        args.append(path)
    else:
        args += ["-alpha", "off", "-type", "TrueColor", f"BMP3:{path}"]
    subprocess.run(args, check=True)


def state_images():
    images = []
    images += [sheet(0, 26, 0, 0), sheet(0, 26, 1, 0), sheet(0, 26, 1, 1)]  # 0-2 pages
    images.append([])  # 3: no state has it
    for locked in (0, 1):
        for display, detect in ((0, 0), (1, 0), (1, 1)):
            for usage in (0, 1, 2):
                images.append(usage_mark(0, usage) + state_mark(14, display, detect) + lock_mark(28, locked))
    # Images 4-12 unlocked and 13-21 locked layers are in place; then the groups 22-29.
    for locked in (0, 1):
        for display, detect in ((0, 0), (1, 0), (1, 1), (2, 0)):
            images.append(state_mark(0, display, detect) + lock_mark(16, locked))
    assert len(images) == 30
    return images


def legend_images():
    return [state_mark(2, 1, 1), state_mark(2, 1, 0), usage_mark(2, 2), usage_mark(2, 1),
            lock_mark(1, 1), lock_mark(1, 0), ["-fill", "none", "-stroke", GREY, "-draw", "rectangle 4,5 11,12"],
            state_mark(2, 0, 0)]


def main():
    os.makedirs(DATA, exist_ok=True)
    for n, commands in enumerate(state_images()):
        draw(os.path.join(DATA, f"{n:03d}.bmp"), 42, 18, commands)
    for n, commands in enumerate(legend_images()):
        draw(os.path.join(DATA, f"S{n:03d}.bmp"), 16, 18, commands)
    for rid, display, detect in ((216, 0, 0), (206, 1, 0), (210, 1, 1)):
        draw(os.path.join(HERE, f"{rid}.ico"), 26, 18, sheet(0, 26, display, detect), ico=True)
    with tempfile.TemporaryDirectory() as tmp:
        parts = []
        for size in (32, 16):
            part = os.path.join(tmp, f"{size}.png")
            s = size / 16
            stack = []
            for i, colour in enumerate((BLUE, GREEN, YELLOW)):
                y = (2 + i * 4) * s
                stack += ["-fill", colour, "-stroke", DARK,
                          "-draw", f"polygon {1 * s},{y + 2 * s} {8 * s},{y} {15 * s},{y + 2 * s} {8 * s},{y + 4 * s}"]
            subprocess.run(["convert", "-size", f"{size}x{size}", "xc:none", *stack, part], check=True)
            parts.append(part)
        subprocess.run(["convert", *parts, os.path.join(HERE, "247.ico")], check=True)


if __name__ == "__main__":
    main()
