#!/usr/bin/env python3
"""Compares the game's picture under Wine with easel-run's last frame of the same script on
Linux. Both client areas put the drawing origin in their middle, but Wine's client area is
smaller (its title bar, frame and menu bar take more of the 601 x 540 window), so the pictures
are lined up by drawing coordinates and compared where both show them. Text is drawn with other
faces on each side, so the boxes where the game writes text (the panel's labels, the two lines
at the bottom) are counted apart. Every pixel inside a shape must be the same; of the pixels on
a shape's outline (a neighbour of another colour) at most OUTLINE_PERCENT may differ.

Usage: compare_frames.py WINE.rgb WIDTH HEIGHT LINUX_FRAME.png [DIFF.png]
Exits 0 when the shapes agree, 1 when they do not; prints the counts either way, and writes the
Wine picture dimmed with the differing shape pixels in magenta to DIFF.png when they do not.
"""
import subprocess
import sys

OUTLINE_PERCENT = 5  # of the outline pixels, at most this many may differ
MENU_BAR = 20  # the window system's menu bar at the top of a runner frame

# Text boxes in drawing coordinates (left, top, right, bottom; y grows upwards), from the
# game's geometry: the panel's column of buttons (labels inside each row) and the scene's two
# lines of 12-pixel text at the bottom, whose ink rises a little above the point given, on ground
# where nothing else is drawn (app/panel.h, app/scene.cpp).
PANEL_LEFT, PANEL_RIGHT, PANEL_TOP, PANEL_BOTTOM = -295, -207, 245, 245 - 25 * 11
TEXT_BOXES = [
    (PANEL_LEFT + 1, PANEL_TOP - 1, PANEL_RIGHT - 1, PANEL_BOTTOM + 1),
    (-300, -165, 300, -250),
]


def in_text(x, y):
    return any(left <= x <= right and bottom < y <= top for left, top, right, bottom in TEXT_BOXES)


def on_edge(pixels, width, height, x, y):
    """True if a pixel of the picture has a neighbour of another colour (a shape's outline)."""
    here = pixels[3 * (y * width + x):3 * (y * width + x) + 3]
    for ny in range(max(y - 1, 0), min(y + 2, height)):
        for nx in range(max(x - 1, 0), min(x + 2, width)):
            if pixels[3 * (ny * width + nx):3 * (ny * width + nx) + 3] != here:
                return True
    return False


def main():
    wine_path, wine_width, wine_height, linux_path = sys.argv[1:5]
    diff_path = sys.argv[5] if len(sys.argv) > 5 else None
    wine_width, wine_height = int(wine_width), int(wine_height)
    wine = open(wine_path, "rb").read()
    size = subprocess.run(["identify", "-format", "%w %h", linux_path], check=True,
                          capture_output=True, text=True).stdout.split()
    frame_width, frame_height = int(size[0]), int(size[1])
    linux = subprocess.run(["convert", linux_path, "-depth", "8", "rgb:-"], check=True,
                           capture_output=True).stdout
    if len(wine) != wine_width * wine_height * 3 or len(linux) != frame_width * frame_height * 3:
        print("compare_frames: the pictures are not the sizes given")
        return 1

    # Drawing origin of each picture, in its own pixels.
    wine_x0, wine_y0 = wine_width // 2, wine_height // 2
    client_height = frame_height - MENU_BAR
    linux_x0, linux_y0 = frame_width // 2, MENU_BAR + client_height // 2

    compared = shapes_differ = text_differ = text_compared = edges = edges_differ = 0
    marks = bytearray(b // 3 + 170 for b in wine)  # the Wine picture dimmed
    for wy in range(wine_height):
        y = wine_y0 - wy
        ly = linux_y0 - y
        if not MENU_BAR <= ly < frame_height:
            continue
        for wx in range(wine_width):
            x = wx - wine_x0
            lx = linux_x0 + x
            if not 0 <= lx < frame_width:
                continue
            w = 3 * (wy * wine_width + wx)
            l = 3 * (ly * frame_width + lx)
            same = wine[w:w + 3] == linux[l:l + 3]
            if in_text(x, y):
                text_compared += 1
                text_differ += not same
            elif on_edge(linux, frame_width, frame_height, lx, ly):
                edges += 1
                edges_differ += not same
            else:
                compared += 1
                if not same:
                    shapes_differ += 1
                    marks[w:w + 3] = b"\xff\x00\xff"
                    if shapes_differ <= 10:
                        print(f"  drawing point ({x}, {y}): Wine {tuple(wine[w:w + 3])}, "
                              f"Linux {tuple(linux[l:l + 3])}")
    print(f"shapes: {shapes_differ} of {compared} pixels differ inside, {edges_differ} of {edges} "
          f"on outlines; text boxes: {text_differ} of {text_compared} pixels differ")
    # Wine's GDI and the window system's rasteriser still place some outline pixels of circles
    # and wide lines differently (a few in a hundred); a picture moved by a pixel, or a shape
    # of another size, moves most of them.
    failed = shapes_differ or edges_differ * 100 > edges * OUTLINE_PERCENT
    if failed and diff_path:
        subprocess.run(["convert", "-size", f"{wine_width}x{wine_height}", "-depth", "8",
                        "rgb:-", diff_path], input=bytes(marks), check=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
