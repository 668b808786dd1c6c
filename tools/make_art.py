#!/usr/bin/python3
"""Draws every picture of Tasklane and writes it to art/.

The build embeds the files of art/ into the program (cmake/EmbedArt.cmake), so the pictures
are committed; run this again after changing a drawing and commit what it writes:

    apt-get install python3-pil fonts-dejavu-core
    /usr/bin/python3 tools/make_art.py

The output depends only on this script, Pillow and the DejaVu fonts: nothing is random.
Every file is named after the component that shows it; a picture button's hover and pressed
pictures add "_hover" and "_pressed". Formats and pixel sizes are the ones the window layout
and the dialogs expect; tests/art/ArtTest.cpp checks them.
"""
import io
import math
import pathlib
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ART = pathlib.Path(__file__).resolve().parent.parent / "art"
# The program icon for the desktop's icon theme, installed beside the program, not built in.
THEME_ICONS = ART.parent / "dist" / "icons" / "hicolor"
THEME_ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
FONT_DIR = pathlib.Path("/usr/share/fonts/truetype/dejavu")

# --- palette -------------------------------------------------------------------------------
# The grid's own colours, which the frame has to sit well with.
HEADER = (215, 228, 242)
GRID = (245, 245, 255)
SILVER = (192, 192, 192)
BUTTON_FACE = (240, 240, 240)  # the window's background, seen where nothing covers it
DIALOG = (224, 224, 228)  # the info dialog's window colour

INK = (46, 62, 90)  # text and glyphs
INK_SOFT = (104, 118, 140)
ACCENT = (66, 114, 184)
ACCENT_DARK = (42, 80, 140)
GREEN = (38, 138, 62)
GREEN_DARK = (24, 100, 44)
RED = (200, 52, 44)
RED_DARK = (140, 30, 26)
WHITE = (255, 255, 255)

STRIP = 30  # thickness of every frame strip


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def font(size, bold=False):
    """DejaVu Sans from fonts-dejavu-core; without it, Pillow's small built-in font, which
    keeps the script working but is only a stand-in."""
    path = FONT_DIR / ("DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf")
    if path.exists():
        return ImageFont.truetype(str(path), size)
    return ImageFont.load_default()


def save(image, name):
    """Writes one picture; the extension picks the format. JPEGs keep full colour resolution
    (no chroma subsampling), since small glyphs would smear otherwise."""
    path = ART / name
    buffer = io.BytesIO()
    if name.endswith(".jpg"):
        image.convert("RGB").save(buffer, "JPEG", quality=95 if image.width < 200 else 92,
                                  subsampling=0, optimize=False)
    elif name.endswith(".png"):
        image.save(buffer, "PNG", optimize=True)
    else:
        raise ValueError(f"{name}: no format for this name (icons go through save_icon)")
    path.write_bytes(buffer.getvalue())
    WRITTEN.append((name, image))


WRITTEN = []


class Pen:
    """Draws at four times the size and scales down by averaging, which gives clean
    anti-aliased edges. Coordinates are in target pixels; a rectangle (0, 0, 1, 1) covers
    exactly the top-left pixel."""

    def __init__(self, width, height, scale=4, background=(0, 0, 0, 0)):
        self.w, self.h, self.s = width, height, scale
        self.image = Image.new("RGBA", (width * scale, height * scale), background)
        self.draw = ImageDraw.Draw(self.image)

    def _box(self, x0, y0, x1, y1):
        s = self.s
        return [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1]

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1, radius=0):
        self.draw.rounded_rectangle(self._box(x0, y0, x1, y1), radius=radius * self.s,
                                    fill=fill, outline=outline, width=round(width * self.s))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.draw.ellipse(self._box(x0, y0, x1, y1), fill=fill, outline=outline,
                          width=round(width * self.s))

    def arc(self, x0, y0, x1, y1, start, end, fill, width):
        self.draw.arc(self._box(x0, y0, x1, y1), start, end, fill=fill, width=round(width * self.s))

    def line(self, points, fill, width):
        s = self.s
        self.draw.line([(x * s, y * s) for x, y in points], fill=fill, width=round(width * s),
                       joint="curve")

    def polygon(self, points, fill):
        s = self.s
        self.draw.polygon([(x * s, y * s) for x, y in points], fill=fill)

    def gradient_rect(self, x0, y0, x1, y1, top, bottom, radius=0):
        """A rounded rectangle filled with a vertical gradient."""
        s = self.s
        box = self._box(x0, y0, x1, y1)
        mask = Image.new("L", self.image.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius * s, fill=255)
        fill = vertical_gradient(self.image.width, self.image.height, top, bottom,
                                 y0 * s, y1 * s).convert("RGBA")
        self.image.paste(fill, (0, 0), mask)

    def result(self):
        return self.image.resize((self.w, self.h), Image.BOX)


def vertical_gradient(width, height, top, bottom, y0=0, y1=None):
    """Colour `top` at row y0, `bottom` at row y1 - 1, constant beyond them."""
    y1 = height if y1 is None else y1
    image = Image.new("RGB", (width, height))
    span = max(1, y1 - 1 - y0)
    for y in range(height):
        t = min(1.0, max(0.0, (y - y0) / span))
        image.paste(lerp(top, bottom, t), (0, y, width, y + 1))
    return image


def text(image, xy, string, size, fill, bold=False, anchor="la"):
    """Text is drawn at its own size, not scaled down, so FreeType's hinting keeps it sharp.
    `anchor` is Pillow's: l, m or r across, then a (top), m or s (baseline) down."""
    draw = ImageDraw.Draw(image)
    face = font(size, bold)
    if isinstance(face, ImageFont.FreeTypeFont):
        draw.text(xy, string, font=face, fill=fill, anchor=anchor)
        return
    # The built-in bitmap font knows no anchors: place its box by hand.
    left, top, right, bottom = draw.textbbox((0, 0), string, font=face)
    width, height = right - left, bottom - top
    x = xy[0] - {"l": 0, "m": width / 2, "r": width}[anchor[0]]
    y = xy[1] - {"a": 0, "m": height / 2, "s": height}[anchor[1]]
    draw.text((round(x - left), round(y - top)), string, font=face, fill=fill)


# --- frame strips --------------------------------------------------------------------------
# Every strip has the same profile across its thickness, counted from the edge next to the
# grid (0) to the window's outer edge (29): a soft shadow where it meets the grid, a face
# that lightens outwards, a highlight and a crisp outline. The corner pieces use the larger of
# the two distances, so the profiles meet in clean mitred corners.

def strip_colour(index):
    if index == 0:
        return (146, 162, 186)
    if index == 1:
        return (182, 196, 214)
    if index <= 26:
        return lerp((198, 210, 226), (226, 233, 243), (index - 2) / 24)
    return {27: (240, 244, 250), 28: (212, 221, 234), 29: (122, 140, 166)}[index]


def strip_picture(width, height, index_of):
    image = Image.new("RGB", (width, height))
    pixels = image.load()
    for y in range(height):
        for x in range(width):
            index = index_of(x, y)
            pixels[x, y] = BUTTON_FACE if index is None else strip_colour(index)
    return image


def left_end(index, x):
    # The window's left edge carries the outline and highlight as well; only the two outer
    # rings, so the picture buttons that sit near it when folded keep the plain strip behind.
    return max(index, STRIP - 1 - x) if x < 2 else index


def frame_strips():
    save(strip_picture(500, 30, lambda x, y: left_end(29 - y, x)), "ImageTop.jpg")
    save(strip_picture(500, 30, lambda x, y: left_end(y, x)), "ImageBottom.jpg")
    save(strip_picture(30, 180, lambda x, y: x), "ImageRight.jpg")

    # The corner pieces lie with their left 70 pixels over the strip and the grid, their
    # right 30 over the right border. What the grid covers gets the window colour, which is
    # what shows there while the grid has no width during the fold animation.
    def top_right(x, y):
        if x < 70:
            return 29 - y if y < 30 else None
        return x - 70 if y >= 30 else max(29 - y, x - 70)

    def bottom_right(x, y):
        if x < 70:
            return y - 70 if y >= 70 else None
        return x - 70 if y < 70 else max(y - 70, x - 70)

    save(strip_picture(100, 100, top_right), "ImageTopRight.jpg")
    corner = strip_picture(100, 100, bottom_right)
    draw_size_grip(corner)
    save(corner, "ImageBottomRight.jpg")


def draw_size_grip(image):
    """Six raised dots in the lower right corner: the window is sized from there."""
    pixels = image.load()
    for row in range(3):
        for col in range(row + 1):
            x = 92 - 4 * (row - col)
            y = 84 + 4 * row
            pixels[x, y] = (252, 253, 255)
            pixels[x + 1, y + 1] = (104, 120, 146)
            pixels[x + 1, y] = (150, 164, 186)
            pixels[x, y + 1] = (206, 216, 230)


# --- the red bar ---------------------------------------------------------------------------

def red_bar():
    """The fold bar at the left: a rounded red rod, lit from the left, with a grip of short
    ridges at its middle so it reads as something to click."""
    width, height = 25, 150
    image = Image.new("RGB", (width, height))
    pixels = image.load()
    for x in range(width):
        if x == 0:
            colour = (116, 20, 22)
        elif x == 1:
            colour = (234, 110, 100)
        elif x >= width - 2:
            colour = (150, 28, 28) if x == width - 2 else (104, 16, 18)
        else:
            colour = lerp((222, 66, 56), (176, 34, 32), (x - 2) / (width - 5))
        for y in range(height):
            pixels[x, y] = colour
    for y in (0, height - 1):
        for x in range(1, width - 1):
            pixels[x, y] = lerp(pixels[x, y], (104, 16, 18), 0.6)
    middle = height // 2
    for step in range(-2, 3):
        y = middle + 5 * step - 1
        for x in range(8, 17):
            pixels[x, y] = (120, 22, 22)
            pixels[x, y + 1] = (242, 138, 126)
    save(image, "ImageRedButtonAufklapper.jpg")


# --- the logo ------------------------------------------------------------------------------

def logo():
    """The program's name over the left of the top strip, with the small program icon over
    the red bar. Only the drawing is opaque; the strip shows through everywhere else."""
    image = Image.new("RGBA", (252, 30), (0, 0, 0, 0))
    image.alpha_composite(program_icon_picture(16), (7, 7))
    # A faint light line under the letters lets them sit in the strip rather than on it.
    shadow = Image.new("RGBA", image.size, (0, 0, 0, 0))
    text(shadow, (33, 16), "Tasklane", 16, (255, 255, 255, 120), bold=True, anchor="lm")
    image.alpha_composite(shadow, (0, 1))
    text(image, (33, 16), "Tasklane", 16, INK + (255,), bold=True, anchor="lm")
    save(image, "ImageLogo.png")


# --- the title buttons (exit, minimise, fold) ----------------------------------------------
# JPEG has no transparency, so each button is drawn on the very strip it sits on: rows 7 to
# 22 of the top strip.

TITLE_STATES = {
    # state: (border, face top, face bottom, glyph, glyph offset)
    "normal": ((128, 146, 172), (250, 252, 254), (222, 230, 241), INK, 0),
    "hover": ((46, 88, 150), (124, 166, 222), (74, 122, 190), WHITE, 0),
    "pressed": ((34, 64, 116), (58, 100, 164), (86, 130, 196), WHITE, 1),
}
EXIT_STATES = {
    "hover": ((142, 30, 26), (230, 92, 80), (188, 44, 38), WHITE, 0),
    "pressed": ((112, 22, 20), (162, 36, 30), (196, 60, 50), WHITE, 1),
}


def title_button(glyph, state, exit_button):
    border, top, bottom, ink, offset = (EXIT_STATES if exit_button and state in EXIT_STATES
                                        else TITLE_STATES)[state]
    background = strip_picture(16, 16, lambda x, y: 29 - (y + 7)).convert("RGBA")
    pen = Pen(16, 16)
    pen.rect(0, 0, 16, 16, fill=border, radius=3.5)
    pen.gradient_rect(1, 1, 15, 15, top, bottom, radius=2.5)
    if state == "pressed":
        pen.rect(1, 1, 15, 2, fill=border + (120,))  # the face sinks: a shadow along the top
    glyph(pen, offset, ink)
    background.alpha_composite(pen.result())
    return background


def glyph_exit(pen, d, ink):
    pen.line([(5 + d, 5 + d), (11 + d, 11 + d)], ink, 1.9)
    pen.line([(11 + d, 5 + d), (5 + d, 11 + d)], ink, 1.9)


def glyph_minimise(pen, d, ink):
    pen.rect(4 + d, 10 + d, 12 + d, 12 + d, fill=ink)


def glyph_fold(pen, d, ink):
    # Two chevrons pointing right: the window folds towards its right edge.
    for x in (4, 8):
        pen.line([(x + d, 4.5 + d), (x + 3.5 + d, 8 + d), (x + d, 11.5 + d)], ink, 1.7)


def title_buttons():
    for name, glyph in (("ImageIconDel", glyph_exit), ("ImageIconMin", glyph_minimise),
                        ("ImageIconShrink", glyph_fold)):
        for state in ("normal", "hover", "pressed"):
            suffix = "" if state == "normal" else "_" + state
            save(title_button(glyph, state, name == "ImageIconDel"), f"{name}{suffix}.jpg")


# --- the row and column buttons (9 x 9) ----------------------------------------------------
# Drawn pixel by pixel: at this size every pixel is a decision. The normal and pressed
# pictures are opaque and drawn transparent by their lower-left pixel's colour, so that
# colour appears only in the four corners, which rounds them. The hover picture carries an
# alpha channel instead.

CORNER_KEY = (201, 211, 225)


def small_button(plus, state):
    glyph_colour = GREEN if plus else RED
    if state == "normal":
        border, top, bottom, ink = (108, 126, 154), (255, 255, 255), (222, 230, 242), glyph_colour
    elif state == "hover":
        border, top, bottom, ink = ACCENT, (240, 247, 255), (196, 220, 250), \
            ((16, 140, 48) if plus else (214, 36, 28))
    else:
        border = GREEN_DARK if plus else RED_DARK
        top, bottom, ink = lerp(glyph_colour, (0, 0, 0), 0.1), lerp(glyph_colour, WHITE, 0.15), WHITE
    image = Image.new("RGBA", (9, 9))
    pixels = image.load()
    for y in range(9):
        for x in range(9):
            edge_x, edge_y = x in (0, 8), y in (0, 8)
            if edge_x and edge_y:
                pixels[x, y] = (0, 0, 0, 0) if state == "hover" else CORNER_KEY + (255,)
            elif edge_x or edge_y:
                pixels[x, y] = border + (255,)
            else:
                pixels[x, y] = lerp(top, bottom, (y - 1) / 6) + (255,)
    if state == "hover":
        # Soften the rounded corners: the border pixels beside them are half covered.
        for x, y in ((1, 0), (0, 1), (7, 0), (8, 1), (0, 7), (1, 8), (8, 7), (7, 8)):
            pixels[x, y] = border + (170,)
    for i in range(2, 7):
        pixels[i, 4] = ink + (255,)
        if plus:
            pixels[4, i] = ink + (255,)
    return image if state == "hover" else image.convert("RGB")


def grid_buttons():
    for name, plus in (("ImagePlusRow", True), ("ImageMinusRow", False),
                       ("ImagePlusColumn", True), ("ImageMinusColumn", False)):
        for state in ("normal", "hover", "pressed"):
            picture = small_button(plus, state)
            if state != "hover":
                colours = [picture.getpixel((x, y)) for y in range(9) for x in range(9)]
                assert colours.count(CORNER_KEY) == 4, "the corner colour must stay unique"
            suffix = "" if state == "normal" else "_" + state
            save(picture, f"{name}{suffix}.png")


# --- menu item pictures (16 x 16) ----------------------------------------------------------

def tick(image):
    """The green tick of an Aktiv item, at the lower right, with a light rim so it reads over
    any picture."""
    pen = Pen(16, 16)
    points = [(8.5, 11.5), (10.8, 13.8), (15, 8.2)]
    pen.line(points, WHITE + (255,), 4.2)
    pen.line(points, GREEN + (255,), 2.1)
    image.alpha_composite(pen.result())
    return image


def menu_letters(string, size, colour):
    image = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    text(image, (8, 8), string, size, colour + (255,), bold=True, anchor="mm")
    return image


PIXEL_LETTERS = {
    "A": [".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"],
    "B": ["###.", "#..#", "#..#", "###.", "#..#", "#..#", "###."],
}


def menu_change_title():
    """[AB]: the brackets and letters set pixel by pixel, as text this small blurs."""
    image = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    for x, serif in ((1, 2), (14, 13)):
        draw.line([(x, 3), (x, 12)], fill=INK + (255,))
        draw.point([(serif, 3), (serif, 12)], fill=INK + (255,))
    for left, letter in ((3, "A"), (8, "B")):
        for y, row in enumerate(PIXEL_LETTERS[letter]):
            for x, cell in enumerate(row):
                if cell == "#":
                    draw.point((left + x, 5 + y), fill=ACCENT_DARK + (255,))
    return image


def menu_grid():
    image = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rectangle([1, 2, 14, 13], fill=GRID + (255,))
    draw.rectangle([1, 2, 14, 5], fill=HEADER + (255,))
    line = (110, 128, 156, 255)
    for x in (1, 5, 10, 14):
        draw.line([(x, 2), (x, 13)], fill=line)
    for y in (2, 5, 9, 13):
        draw.line([(1, y), (14, y)], fill=line)
    return image


def menu_column_text():
    image = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    for y, length in ((3, 12), (6, 9), (9, 12), (12, 7)):
        draw.rectangle([2, y, 1 + length, y + 1], fill=INK_SOFT + (255,))
    return image


def menu_row_or_column(row, plus):
    pen = Pen(16, 16)
    if row:
        pen.rect(1, 1, 15, 6, fill=HEADER, outline=ACCENT_DARK, width=1, radius=1)
        centre = (8, 11.5)
    else:
        pen.rect(1, 1, 6, 15, fill=HEADER, outline=ACCENT_DARK, width=1, radius=1)
        centre = (11.5, 8)
    image = pen.result()
    sign = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    draw = ImageDraw.Draw(sign)
    cx, cy = int(centre[0]), int(centre[1])
    colour = (GREEN if plus else RED) + (255,)
    draw.rectangle([cx - 3, cy - 1, cx + 3, cy], fill=colour)
    if plus:
        draw.rectangle([cx - 1, cy - 3, cx, cy + 3], fill=colour)
    image.alpha_composite(sign)
    return image


def menu_skin():
    """A colour swirl: a wheel of six colours whose boundaries curl towards the middle."""
    size, scale = 16, 8
    big = Image.new("RGBA", (size * scale, size * scale), (0, 0, 0, 0))
    pixels = big.load()
    colours = [(222, 70, 60), (240, 166, 46), (236, 214, 70), (74, 170, 84), (60, 132, 210),
               (146, 88, 190)]
    centre = size * scale / 2
    radius = 7.2 * scale
    for y in range(big.height):
        for x in range(big.width):
            dx, dy = x + 0.5 - centre, y + 0.5 - centre
            r = math.hypot(dx, dy)
            if r > radius:
                continue
            angle = math.atan2(dy, dx) + 2.2 * (1 - r / radius)
            sector = int(((angle / (2 * math.pi)) % 1.0) * len(colours))
            colour = colours[sector]
            shade = 1 - 0.18 * (r / radius)  # a little darker at the rim, a little rounder
            pixels[x, y] = tuple(round(c * shade) for c in colour) + (255,)
    image = big.resize((size, size), Image.BOX)
    pen = Pen(16, 16)
    pen.ellipse(0.8, 0.8, 15.2, 15.2, outline=(70, 70, 90, 200), width=0.8)
    image.alpha_composite(pen.result())
    return image


def menu_open_folder():
    pen = Pen(16, 16)
    back, front, edge = (222, 170, 64), (246, 204, 102), (158, 110, 26)
    pen.rect(0.5, 4, 7, 7, fill=back, outline=edge, width=1, radius=1)  # the tab
    pen.rect(0.5, 5.5, 13, 14.5, fill=back, outline=edge, width=1, radius=1)
    pen.polygon([(2.5, 8), (15, 8), (13, 14.5), (0.5, 14.5)], fill=edge)
    pen.polygon([(3.2, 8.9), (13.8, 8.9), (12.3, 13.6), (1.6, 13.6)], fill=front)
    # The arrow leaves the folder towards the upper right.
    pen.line([(7.5, 9), (8.5, 5), (12, 2.5)], ACCENT_DARK, 1.6)
    pen.polygon([(10.2, 0.6), (15.4, 1.6), (12.8, 5.6)], fill=ACCENT_DARK)
    return pen.result()


def menu_about():
    pen = Pen(16, 16)
    pen.ellipse(0.5, 0.5, 15.5, 15.5, fill=ACCENT, outline=ACCENT_DARK, width=1)
    image = pen.result()
    letter = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    draw = ImageDraw.Draw(letter)
    draw.rectangle([7, 3, 8, 4], fill=WHITE + (255,))
    draw.rectangle([7, 6, 8, 12], fill=WHITE + (255,))
    draw.rectangle([6, 6, 6, 6], fill=WHITE + (255,))
    draw.rectangle([6, 12, 9, 12], fill=WHITE + (255,))
    image.alpha_composite(letter)
    return image


def menu_exit():
    pen = Pen(16, 16)
    pen.arc(2, 2.5, 14, 14.5, -55, 235, RED, 2)
    pen.rect(7, 0.8, 9, 8.5, fill=RED, radius=1)
    return pen.result()


def menu_pictures():
    bold_b = menu_letters("B", 14, INK)
    bold_f = menu_letters("F", 14, INK)
    grid = menu_grid()
    pictures = {
        "mnuChangeTitle": menu_change_title(),
        "mnuMakeTitleBoldDeaktiv": bold_b,
        "mnuMakeTitleBoldAktiv": tick(bold_b.copy()),
        "mnuTitleFettDeaktiv": bold_f,
        "mnuTitleFettAktiv": tick(bold_f.copy()),
        "mnuShowGridLinesDeaktiv": grid,
        "mnuShowGridLinesAktiv": tick(grid.copy()),
        "mnuThisColumn": menu_column_text(),
        "mnuAddRow": menu_row_or_column(row=True, plus=True),
        "mnuDeleteRow": menu_row_or_column(row=True, plus=False),
        "mnuAddColumn": menu_row_or_column(row=False, plus=True),
        "mnuDeleteColumn": menu_row_or_column(row=False, plus=False),
        "mnuSkin": menu_skin(),
        "mnuOpenFolderHere": menu_open_folder(),
        "mnuAbout": menu_about(),
        "mnuExit": menu_exit(),
    }
    for name, picture in pictures.items():
        save(picture, f"{name}.png")


# --- the program icon ----------------------------------------------------------------------
# A little Tasklane window: a blue-grey card with the red bar at its left, the header row and
# task lines, the first one ticked off. Each size has its own layout on whole pixels, so
# nothing falls between two pixels and blurs; the smallest is set pixel by pixel.

ICON_FRAME = (104, 124, 154)
ICON_CARD = (206, 218, 233)
ICON_HEADER = (184, 204, 232)  # a little deeper than the grid's, to read at tray size
ICON_RED = (212, 56, 48)
ICON_RED_SHADE = (166, 34, 30)

ICON_16 = [
    "................",
    ".OOOOOOOOOOOOOO.",
    "OccccccccccccccO",
    "OcRRrHHHHHHHHHcO",
    "OcRRrHHHHHHHHHcO",
    "OcRRrGGGGGGGGGcO",
    "OcRRrGGGGTGGGGcO",
    "OcRRrGTGTGLLLGcO",
    "OcRRrGGTGGGGGGcO",
    "OcRRrGGGGGGGGGcO",
    "OcRRrGLLLLLLLGcO",
    "OcRRrGGGGGGGGGcO",
    "OcRRrGGGGGGGGGcO",
    "OccccccccccccccO",
    ".OOOOOOOOOOOOOO.",
    "................",
]

# size: card top and bottom, corner radius, red bar columns, grid columns, grid rows, header
# height, line thickness, task lines as (row, first column, end column), tick corners.
ICON_LAYOUTS = {
    24: dict(card=(1, 23), radius=3, bar=(3, 6), grid=(7, 21), rows=(4, 20), header=3, thick=1,
             lines=[(10, 13, 20), (13, 9, 20), (16, 9, 18)],
             tick=[(8.5, 10.5), (10, 12), (12.5, 8.5)], tick_width=1.5),
    32: dict(card=(2, 30), radius=4, bar=(3, 8), grid=(9, 29), rows=(5, 27), header=4, thick=2,
             lines=[(13, 17, 27), (18, 12, 27), (23, 12, 24)],
             tick=[(11, 14), (13, 16), (16, 11)], tick_width=2),
    48: dict(card=(3, 45), radius=6, bar=(5, 12), grid=(13, 44), rows=(7, 41), header=6, thick=3,
             lines=[(19, 25, 41), (26, 18, 41), (33, 18, 36)],
             tick=[(16, 20.5), (19, 23.5), (23.5, 17)], tick_width=3),
}


# The larger sizes are the 32-pixel layout scaled by a whole factor, so they stay on whole pixels.
for _size in (64, 128, 256):
    _k = _size // 32
    _base = ICON_LAYOUTS[32]
    ICON_LAYOUTS[_size] = dict(
        card=tuple(v * _k for v in _base["card"]), radius=_base["radius"] * _k,
        bar=tuple(v * _k for v in _base["bar"]), grid=tuple(v * _k for v in _base["grid"]),
        rows=tuple(v * _k for v in _base["rows"]), header=_base["header"] * _k, thick=_base["thick"] * _k,
        lines=[tuple(v * _k for v in line) for line in _base["lines"]],
        tick=[(x * _k, y * _k) for x, y in _base["tick"]], tick_width=_base["tick_width"] * _k)


def program_icon_picture(size):
    if size == 16:
        colours = {"O": ICON_FRAME, "c": ICON_CARD, "R": ICON_RED, "r": ICON_RED_SHADE,
                   "H": ICON_HEADER, "G": GRID, "L": INK_SOFT, "T": GREEN}
        image = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
        for y, row in enumerate(ICON_16):
            for x, cell in enumerate(row):
                if cell in colours:
                    image.putpixel((x, y), colours[cell] + (255,))
        return image
    layout = ICON_LAYOUTS[size]
    top, bottom = layout["card"]
    pen = Pen(size, size)
    pen.rect(0, top, size, bottom, fill=ICON_FRAME, radius=layout["radius"])
    pen.gradient_rect(1, top + 1, size - 1, bottom - 1, (226, 234, 244), ICON_CARD,
                      radius=layout["radius"] - 1)
    (g0, g1), (r0, r1), (b0, b1) = layout["grid"], layout["rows"], layout["bar"]
    pen.rect(g0, r0, g1, r1, fill=GRID)
    pen.rect(g0, r0, g1, r0 + layout["header"], fill=ICON_HEADER)
    pen.rect(g0, r0 + layout["header"], g1, r0 + layout["header"] + 1, fill=(160, 180, 208))
    pen.rect(b0, r0, b1, r1, fill=ICON_RED)
    pen.rect(b1 - 1, r0, b1, r1, fill=ICON_RED_SHADE)
    for row, x0, x1 in layout["lines"]:
        pen.rect(x0, row, x1, row + layout["thick"], fill=INK_SOFT)
    pen.line(layout["tick"], GREEN, layout["tick_width"])
    return pen.result()


def save_icon(pictures, name):
    """The Windows icon: every size in one file, each as a 32-bit bitmap with its alpha."""
    buffer = io.BytesIO()
    largest = pictures[-1]
    largest.save(buffer, "ICO", sizes=[p.size for p in pictures], append_images=pictures[:-1],
                 bitmap_format="bmp")
    (ART / name).write_bytes(buffer.getvalue())
    WRITTEN.append((name, largest))


def program_icons():
    pictures = [program_icon_picture(size) for size in (16, 24, 32, 48)]
    for picture in pictures:
        save(picture, f"ProgramIcon{picture.width}.png")
    save_icon(pictures, "ProgramIcon.ico")
    for size in THEME_ICON_SIZES:
        folder = THEME_ICONS / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        buffer = io.BytesIO()
        program_icon_picture(size).save(buffer, "PNG", optimize=True)
        (folder / "tasklane.png").write_bytes(buffer.getvalue())


# --- the info dialog -----------------------------------------------------------------------
# The background (477 x 413): in its upper panel the three numbered hints, with the numbers
# again on a small picture of the main window; in its lower panel, from 255 down, the banner
# of the Quillbox organizer, whose round logo button sits at 390, 310 (77 x 90). The labels of
# the dialog are drawn by the dialog itself over this picture, so the picture keeps their
# places plain and light.

INFO_SIZE = (477, 413)
LOGO_BOX = (390, 310, 390 + 77, 310 + 90)


def marker(image, centre, number, diameter=15):
    pen = Pen(image.width, image.height)
    x, y = centre
    r = diameter / 2
    pen.ellipse(x - r - 1.2, y - r - 1.2, x + r + 1.2, y + r + 1.2, fill=WHITE + (230,))
    pen.ellipse(x - r, y - r, x + r, y + r, fill=ACCENT, outline=ACCENT_DARK, width=1)
    image.alpha_composite(pen.result())
    text(image, (x, y + 0.5), str(number), 10, WHITE + (255,), bold=True, anchor="mm")


def main_window_sample():
    """The main window as it first starts, 370 x 211, put together from the pictures written
    so far (the frame and the buttons come before the dialog)."""
    sources = {name: picture for name, picture in WRITTEN}
    window = Image.new("RGBA", (370, 211), BUTTON_FACE + (255,))
    window.paste(sources["ImageRight.jpg"].resize((30, 151)), (340, 30))
    window.paste(sources["ImageBottom.jpg"].resize((370, 30)), (0, 181))
    window.paste(sources["ImageBottomRight.jpg"], (270, 111))
    window.paste(sources["ImageTop.jpg"].resize((370, 30)), (0, 0))
    window.paste(sources["ImageTopRight.jpg"], (270, 0))
    window.alpha_composite(sources["ImageLogo.png"].crop((0, 0, 250, 30)), (0, 0))
    window.paste(sources["ImageRedButtonAufklapper.jpg"].resize((30, 151)), (0, 30))
    grid = Image.new("RGBA", (310, 151), GRID + (255,))
    draw = ImageDraw.Draw(grid)
    widths = [50, 215, 45]
    draw.rectangle([0, 0, 309, 23], fill=HEADER + (255,))
    x = 0
    for i, width in enumerate(widths):
        title = ("Prio", "Task", "Time")[i]
        text(grid, (x + width / 2, 12), title, 12, (0, 0, 0, 255), anchor="mm")
        cell = ("High", "...Click here for new task", "10min")[i]
        if i == 1:
            text(grid, (x + 4, 37), cell, 12, (0, 0, 0, 255), anchor="lm")
        else:
            text(grid, (x + width / 2, 37), cell, 12, (0, 0, 0, 255), anchor="mm")
        x += width + 1
        draw.line([(x - 1, 0), (x - 1, 150)], fill=SILVER + (255,))
    for y in range(24, 151, 25):
        draw.line([(0, y), (309, y)], fill=SILVER + (255,))
    window.alpha_composite(grid, (30, 30))
    for name, xy in (("ImageIconDel.jpg", (347, 7)), ("ImageIconMin.jpg", (327, 7)),
                     ("ImageIconShrink.jpg", (307, 7))):
        window.paste(sources[name], xy)
    for name, xy in (("ImagePlusRow.png", (174, 176)), ("ImageMinusRow.png", (185, 176)),
                     ("ImagePlusColumn.png", (335, 100)), ("ImageMinusColumn.png", (335, 109))):
        button = sources[name].convert("RGBA")
        key = button.getpixel((0, 8))
        data = [(r, g, b, 0) if (r, g, b, a) == key else (r, g, b, a) for r, g, b, a in button.getdata()]
        button.putdata(data)
        window.alpha_composite(button, xy)
    return window


def info_background():
    image = Image.new("RGBA", INFO_SIZE, DIALOG + (255,))
    pen = Pen(*INFO_SIZE, scale=2)
    pen.rect(2, 2, 475, 247, fill=(180, 190, 206), radius=6)
    pen.gradient_rect(3, 3, 474, 246, (252, 253, 255), (236, 240, 246), radius=5)
    pen.rect(2, 253, 475, 411, fill=(170, 186, 210), radius=6)
    pen.gradient_rect(3, 254, 474, 410, (236, 242, 250), (208, 221, 239), radius=5)
    image.alpha_composite(pen.result())

    # Heading of the hints.
    image.alpha_composite(program_icon_picture(32), (14, 12))
    text(image, (54, 28), "Tasklane", 20, INK + (255,), bold=True, anchor="lm")
    text(image, (464, 30), "three things to know", 11, INK_SOFT + (255,), anchor="rm")
    ImageDraw.Draw(image).line([(14, 50), (462, 50)], fill=(200, 208, 220, 255))

    # The numbers beside the hint groups (first lines at 61, 120 and 178).
    for number, top in ((1, 61), (2, 120), (3, 178)):
        marker(image, (12.5, top + 8), number)

    # The small picture of the main window, with the same numbers where the hints point.
    sample = main_window_sample().resize((200, 114), Image.LANCZOS)
    left, top = 250, 72
    shadow = Image.new("RGBA", INFO_SIZE, (0, 0, 0, 0))
    ImageDraw.Draw(shadow).rectangle([left + 3, top + 4, left + 203, top + 118],
                                     fill=(40, 50, 70, 90))
    image.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(3)))
    image.alpha_composite(sample, (left, top))
    scale = 200 / 370
    marker(image, (left + 8, top + 30 + 75 * scale), 1)  # on the red bar
    marker(image, (left + 30 + 200 * scale, top + 30 + 95 * scale), 2)  # on the table
    marker(image, (left + 180 * scale, top + 114 + 10), 3)  # below the + and - of the rows
    marker_line = ImageDraw.Draw(image)
    marker_line.line([(left + 180 * scale, top + 114 + 2), (left + 180 * scale, top + 96)],
                     fill=ACCENT + (255,), width=1)
    marker(image, (left + 200 + 10, top + 56), 3)  # beside the + and - of the columns
    marker_line.line([(left + 202, top + 56), (left + 190, top + 56)], fill=ACCENT + (255,), width=1)

    # The banner of the host organizer.
    text(image, (20, 286), "Quillbox", 24, ACCENT_DARK + (255,), bold=True, anchor="lm")
    text(image, (140, 289), "Organizer", 16, ACCENT + (255,), anchor="lm")
    text(image, (21, 314), "notes, dates and addresses at hand", 11, INK_SOFT + (255,), anchor="lm")
    image = image.convert("RGB")
    save(image, "imgInfo.jpg")
    return image


def quill_logo(background, state):
    """The organizer's round logo button: a blue disc with a white quill, lit or pressed."""
    image = background.convert("RGBA")
    down = 1 if state == "active" else 0
    cx, cy, r = 38.5, 38 + down, 31
    shadow = Image.new("RGBA", image.size, (0, 0, 0, 0))
    spread = 26 if state == "active" else 29
    ImageDraw.Draw(shadow).ellipse([cx - spread, 72, cx + spread, 84], fill=(30, 44, 70, 80))
    image.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(3)))
    if state == "hover":
        glow = Image.new("RGBA", image.size, (0, 0, 0, 0))
        ImageDraw.Draw(glow).ellipse([cx - r - 4, cy - r - 4, cx + r + 4, cy + r + 4],
                                     fill=(255, 250, 220, 200))
        image.alpha_composite(glow.filter(ImageFilter.GaussianBlur(3)))
    top, bottom, rim = {
        "normal": ((84, 140, 210), (34, 76, 146), (26, 58, 116)),
        "hover": ((112, 170, 236), (48, 100, 180), (30, 70, 136)),
        "active": ((30, 68, 132), (60, 108, 180), (20, 48, 100)),
    }[state]
    pen = Pen(*image.size)
    pen.ellipse(cx - r, cy - r, cx + r, cy + r, fill=rim)
    pen.gradient_rect(cx - r + 1.5, cy - r + 1.5, cx + r - 1.5, cy + r - 1.5, top, bottom,
                      radius=r - 1.5)
    # The quill: a feather leaning to the right, its shaft ending in a nib over a line of ink.
    shaft_top, shaft_end = (53, 13 + down), (30, 57 + down)
    pen.polygon(feather_outline(shaft_top, shaft_end), fill=WHITE + (250,))
    for t in (0.30, 0.45, 0.60):  # notches in the vane make it a feather, not a leaf
        x, y = along(shaft_top, shaft_end, t)
        pen.line([(x - 1, y), (x - 9, y - 1.5)], lerp(top, bottom, 0.5) + (255,), 1.0)
    pen.line([along(shaft_top, shaft_end, 0.08), along(shaft_top, shaft_end, 0.74)],
             lerp(top, bottom, 0.6) + (255,), 1.1)
    pen.line([along(shaft_top, shaft_end, 0.7), shaft_end, (27.5, 61.5 + down)], WHITE + (250,), 1.7)
    pen.line([(23, 63.5 + down), (28, 62 + down), (34, 62.5 + down), (41, 60 + down)],
             WHITE + (180,), 1.3)
    image.alpha_composite(pen.result())
    # The gloss: light that fades downwards over the upper half of the disc.
    gloss = Image.new("RGBA", image.size, (0, 0, 0, 0))
    strength = {"normal": 110, "hover": 140, "active": 45}[state]
    for y in range(image.height):
        alpha = max(0, round(strength * (1 - (y - (cy - r + 3)) / 30)))
        gloss.paste((255, 255, 255, min(strength, alpha)), (0, y, image.width, y + 1))
    mask = Image.new("L", (image.width * 4, image.height * 4), 0)
    ImageDraw.Draw(mask).ellipse([(cx - r + 6) * 4, (cy - r + 2.5) * 4, (cx + r - 6) * 4,
                                  (cy + 2) * 4], fill=255)
    mask = mask.resize(image.size, Image.BOX)
    clear = Image.new("RGBA", image.size, (0, 0, 0, 0))
    image.alpha_composite(Image.composite(gloss, clear, mask))
    return image.convert("RGB")


def along(a, b, t):
    return a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t


def feather_outline(tip, end):
    """The vane of a quill around the shaft from `tip` to `end`: broad on the left, narrow on
    the right, pointed at the tip and gone before the end, where the bare shaft shows."""
    dx, dy = end[0] - tip[0], end[1] - tip[1]
    length = math.hypot(dx, dy)
    nx, ny = -dy / length, dx / length  # points to the left of the shaft (seen tip to end)
    left, right = [], []
    for i in range(21):
        t = i / 20 * 0.78
        width = math.sin(math.pi * (t / 0.78) ** 0.75)
        x, y = along(tip, end, t)
        left.append((x - nx * 9 * width, y - ny * 9 * width))
        right.append((x + nx * 4.5 * width, y + ny * 4.5 * width))
    return left + right[::-1]


def info_dialog():
    background = info_background()
    behind = background.crop(LOGO_BOX)
    for component, state in (("btnQBIconNormal", "normal"), ("btnQBIconHover", "hover"),
                             ("btnQBIconActive", "active")):
        save(quill_logo(behind, state), f"{component}.jpg")


def main():
    ART.mkdir(exist_ok=True)
    for old in ART.iterdir():  # art/ holds only what this script writes
        old.unlink()
    frame_strips()
    red_bar()
    title_buttons()
    grid_buttons()
    logo()
    menu_pictures()
    program_icons()
    info_dialog()
    print(f"{len(WRITTEN)} pictures written to {ART}")


if __name__ == "__main__":
    sys.exit(main())
