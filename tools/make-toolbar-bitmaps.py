#!/usr/bin/env python3
"""Draws the tool bar's 23 x 23 button pictures and writes them as 24-bit BMP files to resources/toolbar/.

Run it again after changing a picture; the BMP files are kept in the repository."""

import math
import os
import struct

SIZE = 23
FACE = (192, 192, 192)
BLACK, WHITE, GREY = (0, 0, 0), (255, 255, 255), (128, 128, 128)
BLUE, NAVY, RED, GREEN = (0, 0, 255), (0, 0, 128), (192, 0, 0), (0, 128, 0)
YELLOW, TEAL, DARKYELLOW = (255, 255, 0), (0, 128, 128), (128, 128, 0)
# The influence diagram's node colours, so that a drawing tool shows the colour of the node it places.
DECISION, CHANCE, DETERMINISTIC, VALUE = (0, 0, 255), (0, 128, 0), (128, 0, 128), (255, 0, 0)


class Picture:
    def __init__(self):
        self.pixels = [[FACE] * SIZE for _ in range(SIZE)]

    def dot(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour, inside=None):
        if inside:
            self.fill(x0, y0, x1, y1, inside)
        self.line(x0, y0, x1, y0, colour)
        self.line(x0, y1, x1, y1, colour)
        self.line(x0, y0, x0, y1, colour)
        self.line(x1, y0, x1, y1, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def circle(self, cx, cy, r, colour, inside=None):
        for y in range(SIZE):
            for x in range(SIZE):
                d = math.hypot(x - cx, y - cy)
                if inside and d < r - 0.5:
                    self.dot(x, y, inside)
                elif abs(d - r) < 0.6:
                    self.dot(x, y, colour)

    def glyph(self, x0, y0, rows, colour):
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c == '#':
                    self.dot(x0 + dx, y0 + dy, colour)

    def write(self, path):
        row_bytes = (SIZE * 3 + 3) & ~3
        body = b''
        for y in reversed(range(SIZE)):
            row = b''.join(struct.pack('BBB', b, g, r) for (r, g, b) in self.pixels[y])
            body += row + b'\0' * (row_bytes - len(row))
        header = struct.pack('<2sIHHI', b'BM', 54 + len(body), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(body), 2835, 2835, 0, 0)
        with open(path, 'wb') as out:
            out.write(header + info + body)


def page(p, x0=5, y0=2, x1=17, y1=20):
    p.frame(x0, y0, x1, y1, BLACK, WHITE)


def new_document(p):
    page(p)
    p.fill(13, 2, 17, 6, FACE)
    p.line(13, 2, 17, 6, BLACK)
    p.line(13, 2, 13, 6, BLACK)
    p.line(13, 6, 17, 6, BLACK)


def open_file(p):
    p.frame(2, 7, 18, 19, BLACK, DARKYELLOW)
    p.fill(3, 5, 8, 6, DARKYELLOW)
    p.line(2, 5, 8, 5, BLACK)
    for x0 in range(4, 20):
        p.line(x0, 11, x0 - 2, 19, YELLOW)
    p.line(4, 11, 21, 11, BLACK)
    p.line(21, 11, 18, 19, BLACK)
    p.line(4, 11, 2, 19, BLACK)
    p.line(14, 2, 18, 2, BLACK)
    p.line(18, 2, 18, 6, BLACK)
    p.line(16, 4, 18, 6, BLACK)


def save(p):
    p.frame(3, 3, 19, 19, BLACK, NAVY)
    p.frame(6, 3, 16, 10, BLACK, WHITE)
    p.fill(7, 14, 15, 19, GREY)
    p.fill(12, 15, 13, 18, NAVY)


def printer(p):
    p.frame(6, 2, 16, 9, BLACK, WHITE)
    p.frame(2, 9, 20, 16, BLACK, GREY)
    p.frame(6, 14, 16, 20, BLACK, WHITE)
    p.dot(17, 11, GREEN)


def preview(p):
    page(p, 3, 2, 15, 20)
    for y in (6, 9, 12):
        p.line(5, y, 12, y, GREY)
    p.circle(14, 12, 4, BLACK, (224, 255, 255))
    p.line(17, 15, 21, 19, BLACK)
    p.line(17, 16, 20, 19, BLACK)


def convert(p):
    p.fill(2, 9, 5, 12, GREEN)
    p.line(5, 10, 9, 5, BLACK)
    p.line(5, 11, 9, 16, BLACK)
    p.circle(10, 5, 1, BLACK, RED)
    p.circle(10, 16, 1, BLACK, RED)
    p.line(12, 11, 16, 11, BLUE)
    p.line(15, 9, 17, 11, BLUE)
    p.line(15, 13, 17, 11, BLUE)
    for y in (4, 8, 12, 16, 20):
        p.line(18, y, 21, y, BLACK)


def font(p):
    p.glyph(4, 3, ["    ##    ", "    ##    ", "   ####   ", "   # ##   ", "  ##  ##  ",
                   "  ##  ##  ", " ######## ", " ##    ## ", "##      ##", "##      ##"], NAVY)
    p.glyph(13, 11, ["####  ", "##  ##", "##  ##", "##### ", "##  ##", "##  ##", "##  ##", "##### "], RED)


def variables_window(p):
    p.frame(2, 3, 20, 19, BLACK, WHITE)
    p.fill(3, 4, 19, 6, NAVY)
    for y in (9, 12, 15):
        p.glyph(4, y - 1, ["# #", " # ", "# #"], BLACK)
        p.line(9, y, 17, y, GREY)


def define_values(p):
    p.glyph(2, 6, ["##   ##", " ## ## ", "  ###  ", "  ###  ", " ## ## ", "##   ##"], NAVY)
    p.fill(11, 7, 19, 8, BLACK)
    p.fill(11, 11, 19, 12, BLACK)
    p.line(3, 17, 19, 17, GREY)


def wheel(p):
    p.circle(11, 11, 9, BLACK, BLUE)
    for y in range(SIZE):
        for x in range(SIZE):
            if math.hypot(x - 11, y - 11) < 8.5 and x >= 11 and y <= 11:
                p.dot(x, y, RED)
    p.line(11, 11, 11, 2, BLACK)
    p.line(11, 11, 20, 11, BLACK)


def change_type(p):
    p.frame(2, 3, 9, 10, BLACK, GREEN)
    p.circle(16, 16, 4, BLACK, RED)
    p.line(10, 7, 15, 7, BLACK)
    p.line(15, 7, 15, 11, BLACK)
    p.line(13, 9, 15, 11, BLACK)
    p.line(17, 9, 15, 11, BLACK)


def distribution(p):
    p.line(2, 20, 20, 20, BLACK)
    p.line(2, 2, 2, 20, BLACK)
    for x, h in ((4, 4), (7, 9), (10, 14), (13, 11), (16, 6), (19, 2)):
        p.fill(x, 20 - h, x + 1, 19, NAVY)


def one_way(p):
    p.line(2, 20, 20, 20, BLACK)
    p.line(2, 2, 2, 20, BLACK)
    p.line(4, 17, 19, 5, RED)


def two_way(p):
    p.frame(2, 2, 20, 20, BLACK, WHITE)
    p.fill(3, 3, 10, 19, (255, 192, 192))
    p.fill(11, 3, 19, 19, (192, 192, 255))
    p.line(4, 19, 17, 3, BLACK)


def monte_carlo(p):
    p.frame(2, 6, 13, 17, BLACK, WHITE)
    for x, y in ((4, 8), (7, 11), (10, 14)):
        p.fill(x, y, x + 1, y + 1, BLACK)
    p.frame(11, 2, 20, 11, BLACK, RED)
    for x, y in ((13, 4), (17, 8)):
        p.fill(x, y, x + 1, y + 1, WHITE)


def roll_back(p):
    p.fill(15, 9, 18, 12, GREEN)
    p.line(15, 10, 9, 5, BLACK)
    p.line(15, 11, 9, 16, BLACK)
    p.circle(7, 5, 2, BLACK, RED)
    p.circle(7, 16, 2, BLACK, RED)
    p.line(2, 20, 20, 20, BLUE)
    p.line(2, 20, 5, 17, BLUE)
    p.line(2, 20, 5, 22, BLUE)


def navigating(p):
    for x0, y0, rows in ((8, 2, ["  #  ", " ### ", "#####"]), (8, 17, ["#####", " ### ", "  #  "]),
                         (2, 9, ["  #", " ##", "###", " ##", "  #"]), (17, 9, ["#  ", "## ", "###", "## ", "#  "])):
        p.glyph(x0, y0, rows, NAVY)
    p.frame(8, 8, 14, 14, BLACK, WHITE)


def arc(p):
    p.line(3, 19, 18, 4, BLACK)
    p.line(3, 18, 17, 4, BLACK)
    p.glyph(13, 3, ["######", " #####", "  ####", "  ####", " ## ##", "##   #"], BLACK)


def decision(p):
    p.frame(4, 4, 18, 18, BLACK, DECISION)


def chance(p):
    p.circle(11, 11, 8, BLACK, CHANCE)


def deterministic(p):
    p.frame(3, 5, 19, 17, BLACK, DETERMINISTIC)
    p.frame(5, 7, 17, 15, BLACK, DETERMINISTIC)


def value(p):
    for i in range(9):
        p.line(11 - i, 3 + i, 11 + i, 3 + i, VALUE)
        p.line(11 - i, 19 - i, 11 + i, 19 - i, VALUE)
    p.line(11, 2, 2, 11, BLACK)
    p.line(2, 11, 11, 20, BLACK)
    p.line(11, 20, 20, 11, BLACK)
    p.line(20, 11, 11, 2, BLACK)


PICTURES = {
    32303: arc, 32304: change_type, 32305: define_values, 32306: font, 32307: monte_carlo, 32308: navigating,
    32310: chance, 32311: decision, 32312: value, 32313: open_file, 32314: preview, 32315: printer,
    32316: distribution, 32317: wheel, 32318: roll_back, 32319: save, 32320: one_way, 32321: two_way,
    32322: variables_window, 32326: deterministic, 32327: convert, 32328: new_document,
}

if __name__ == '__main__':
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'toolbar')
    os.makedirs(folder, exist_ok=True)
    for number, draw in PICTURES.items():
        picture = Picture()
        draw(picture)
        picture.write(os.path.join(folder, '%d.bmp' % number))
