#!/usr/bin/env python3
"""Draws the images of the "Contrast" theme as SVG files into Contrast/images/.

One style for every image: black lines 3 units wide with round ends on a 48-unit grid, no grey
(e-ink shows pure black and white crispest), a focused variant ("_f") that inverts the icon on a
black rounded square, and count badges as a black disc with a white number. Sizes are given in
millimetres; the graphics render them at the device's DPI, so an icon has the same physical size
on every screen.

Run it again after changing a drawing: python3 make_contrast_images.py
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "Contrast", "images")

STROKE = 'fill="none" stroke="{c}" stroke-width="3" stroke-linecap="round" stroke-linejoin="round"'

# Physical sizes in millimetres.
APP_SIZE = 9.5
MENU_SIZE = 6
STAR_SIZE = 3.2
# Badges laid over book covers: a white disc with a black ring, so they read on any picture.
BADGE_SIZE = 4.2


def svg(width, height, body, view):
    """A document of width x height millimetres drawn on the grid named by view (its viewBox)."""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}mm" height="{height}mm" '
            f'viewBox="{view}">\n{body}\n</svg>\n')


def write(name, text):
    with open(os.path.join(OUT, name + ".svg"), "w", encoding="utf-8") as out:
        out.write(text)


def lines(c, *paths):
    """Paths drawn with the theme's line in colour c."""
    return "\n".join(f'<path d="{d}" {STROKE.format(c=c)}/>' for d in paths)


def gear_path(cx, cy, outer, inner, teeth):
    points = []
    for i in range(teeth * 2):
        angle_a = math.pi * 2 * i / (teeth * 2) - math.pi / (teeth * 4)
        angle_b = angle_a + math.pi / (teeth * 2)
        radius = outer if i % 2 == 0 else inner
        for angle in (angle_a, angle_b):
            points.append(f"{cx + radius * math.cos(angle):.2f} {cy + radius * math.sin(angle):.2f}")
    return "M" + " L".join(points) + " Z"


def star_path(cx, cy, outer, inner):
    points = []
    for i in range(10):
        angle = -math.pi / 2 + i * math.pi / 5
        radius = outer if i % 2 == 0 else inner
        points.append(f"{cx + radius * math.cos(angle):.2f} {cy + radius * math.sin(angle):.2f}")
    return "M" + " L".join(points) + " Z"


# Each drawing takes the ink colour c and the paper colour p and returns SVG on a 48-unit grid,
# kept inside 6..42 so that the focused square has a margin.
def headphones(c, p):
    return (lines(c, "M12 30 V25 A12 12 0 0 1 36 25 V30")
            + f'<rect x="9" y="27" width="8" height="13" rx="3" fill="{c}"/>'
            + f'<rect x="31" y="27" width="8" height="13" rx="3" fill="{c}"/>')


def globe(c, p):
    return (f'<circle cx="24" cy="24" r="16" {STROKE.format(c=c)}/>'
            f'<ellipse cx="24" cy="24" rx="7" ry="16" {STROKE.format(c=c)}/>'
            + lines(c, "M8 24 H40", "M11 16 H37", "M11 32 H37"))


def calculator(c, p):
    keys = "".join(f'<circle cx="{x}" cy="{y}" r="2.2" fill="{c}"/>'
                   for y in (25, 31, 37) for x in (18, 24, 30))
    return (f'<rect x="11" y="7" width="26" height="35" rx="4" {STROKE.format(c=c)}/>'
            f'<rect x="16" y="12" width="16" height="7" rx="1" fill="{c}"/>' + keys)


def calendar(c, p, mark="31"):
    return (f'<rect x="8" y="11" width="32" height="29" rx="4" {STROKE.format(c=c)}/>'
            + lines(c, "M8 19 H40", "M16 7 V14", "M32 7 V14")
            + f'<text x="24" y="36" font-family="DejaVu Sans" font-weight="bold" font-size="13" '
              f'text-anchor="middle" fill="{c}">{mark}</text>')


def calendar_ru(c, p):
    return calendar(c, p, "1")


def chess(c, p):
    return (f'<circle cx="24" cy="13" r="5" {STROKE.format(c=c)}/>'
            + lines(c, "M19 21 H29", "M21 21 C21 28 18 32 16 36 H32 C30 32 27 28 27 21")
            + f'<rect x="12" y="36" width="24" height="5" rx="2" fill="{c}"/>')


def clock(c, p):
    return (f'<circle cx="24" cy="24" r="16" {STROKE.format(c=c)}/>'
            + lines(c, "M24 14 V24 L31 29") + f'<circle cx="24" cy="24" r="2" fill="{c}"/>')


CLOUD = "M15 36 A8 8 0 0 1 14 20 A11 11 0 0 1 34 17 A9.5 9.5 0 0 1 34 36 Z"


def cloud(c, p):
    return lines(c, CLOUD)


def dictionary(c, p):
    return (lines(c, "M12 9 H34 A2 2 0 0 1 36 11 V39 H14 A3 3 0 0 1 12 36 Z", "M12 36 A3 3 0 0 1 15 33 H36")
            + lines(c, "M19 27 L24 14 L29 27", "M21 23 H27"))


def gallery(c, p):
    return (f'<rect x="7" y="10" width="34" height="28" rx="3" {STROKE.format(c=c)}/>'
            + lines(c, "M9 35 L19 24 L26 31 L30 27 L39 35")
            + f'<circle cx="31" cy="18" r="3" fill="{c}"/>')


def guide(c, p):
    return (f'<circle cx="24" cy="24" r="16" {STROKE.format(c=c)}/>'
            + lines(c, "M19 19 A5 5 0 1 1 24 24 V27")
            + f'<circle cx="24" cy="33" r="2.2" fill="{c}"/>')


def library(c, p):
    return (f'<rect x="9" y="12" width="7" height="26" rx="1" {STROKE.format(c=c)}/>'
            f'<rect x="19" y="8" width="7" height="30" rx="1" {STROKE.format(c=c)}/>'
            f'<rect x="29" y="13" width="7" height="25" rx="1" transform="rotate(-14 32 38)" '
            f'{STROKE.format(c=c)}/>' + lines(c, "M6 41 H42"))


def library_loans(c, p):
    return (lines(c, "M10 9 H28 A2 2 0 0 1 30 11 V22", "M10 9 V36 A3 3 0 0 0 13 39 H22",
                  "M10 36 A3 3 0 0 1 13 33 H22")
            + lines(c, "M27 33 A7 7 0 1 0 34 26", "M30 22 L34 26 L30 30"))


def news(c, p):
    return (lines(c, "M8 10 H36 V36 A4 4 0 0 1 32 40 H12 A4 4 0 0 1 8 36 Z", "M36 18 H40 V36 A4 4 0 0 1 36 40")
            + f'<rect x="13" y="15" width="10" height="9" fill="{c}"/>'
            + lines(c, "M27 16 H31", "M27 22 H31", "M13 29 H31", "M13 34 H31"))


def notes(c, p):
    return (lines(c, "M10 9 H30 V39 H10 Z", "M15 17 H25", "M15 23 H25", "M15 29 H20")
            + lines(c, "M23 33 L37 15 L41 18 L27 36 L22 37 Z"))


def podcasts(c, p):
    return (f'<rect x="18" y="7" width="12" height="20" rx="6" {STROKE.format(c=c)}/>'
            + lines(c, "M12 23 A12 12 0 0 0 36 23", "M24 35 V41", "M18 41 H30"))


def scribble(c, p):
    return lines(c, "M8 34 C14 20 18 12 22 16 C26 20 14 34 20 36 C26 38 30 20 35 22 C40 24 34 34 40 36",
                 "M8 41 H40")


def scribble_color(c, p):
    return scribble(c, p) + f'<circle cx="36" cy="11" r="5" fill="{c}"/>'


def settings(c, p):
    return (f'<path d="{gear_path(24, 24, 16, 12, 8)}" {STROKE.format(c=c)}/>'
            f'<circle cx="24" cy="24" r="5" {STROKE.format(c=c)}/>')


def statistics(c, p):
    return (f'<rect x="10" y="24" width="6" height="14" fill="{c}"/>'
            f'<rect x="21" y="12" width="6" height="26" fill="{c}"/>'
            f'<rect x="32" y="19" width="6" height="19" fill="{c}"/>' + lines(c, "M7 41 H41"))


def store(c, p):
    return lines(c, "M10 17 H38 L36 40 H12 Z", "M18 21 V13 A6 6 0 0 1 30 13 V21")


def tts(c, p):
    return (f'<path d="M8 19 H15 L25 10 V38 L15 29 H8 Z" fill="{c}" stroke="{c}" stroke-width="3" '
            f'stroke-linejoin="round"/>'
            + lines(c, "M31 18 A8 8 0 0 1 31 30", "M35 12 A15 15 0 0 1 35 36"))


def apps(c, p):
    return "".join(f'<rect x="{x}" y="{y}" width="13" height="13" rx="3" {STROKE.format(c=c)}/>'
                   for x in (9, 26) for y in (9, 26))


def unknown(c, p):
    return (f'<rect x="8" y="8" width="32" height="32" rx="6" {STROKE.format(c=c)} '
            f'stroke-dasharray="4 5"/>'
            + lines(c, "M19 19 A5 5 0 1 1 24 24 V27") + f'<circle cx="24" cy="33" r="2.2" fill="{c}"/>')


def reversi(c, p):
    discs = "".join(
        f'<circle cx="{x}" cy="{y}" r="5.5" fill="{c if filled else p}" {STROKE.format(c=c)}/>'
        for x, y, filled in ((17, 17, True), (31, 17, False), (17, 31, False), (31, 31, True)))
    return (f'<rect x="7" y="7" width="34" height="34" rx="4" {STROKE.format(c=c)}/>'
            + lines(c, "M24 9 V39", "M9 24 H39") + discs)


def default_icon(c, p):
    return (f'<rect x="8" y="8" width="32" height="32" rx="6" {STROKE.format(c=c)}/>'
            + lines(c, "M24 15 L33 24 L24 33 L15 24 Z"))


APPLICATIONS = {
    "desktop_app_audiobooks": headphones,
    "desktop_app_browser": globe,
    "desktop_app_calculator": calculator,
    "desktop_app_calendar": calendar,
    "desktop_app_calendar_ru": calendar_ru,
    "desktop_app_chess": chess,
    "desktop_app_clock": clock,
    "desktop_app_cloud": cloud,
    "desktop_app_dictionary": dictionary,
    "desktop_app_gallery": gallery,
    "desktop_app_guide": guide,
    "desktop_app_library": library,
    "desktop_app_library_loans": library_loans,
    "desktop_app_news": news,
    "desktop_app_notes": notes,
    "desktop_app_podcasts": podcasts,
    "desktop_app_reversi": reversi,
    "desktop_app_scribble": scribble,
    "desktop_app_scribble_color": scribble_color,
    "desktop_app_settings": settings,
    "desktop_app_statistics": statistics,
    "desktop_app_store": store,
    "desktop_app_tts": tts,
    "desktop_app_apps": apps,
    "desktop_app_unknown": unknown,
    "desktop_icon_default": default_icon,
}

# Applications whose icon may carry the count of newly added audiobooks.
BADGED = ("desktop_app_audiobooks", "desktop_app_apps")
BADGES = [str(n) for n in range(1, 10)] + ["9_plus"]


def badge(text, focused):
    label = "9+" if text == "9_plus" else text
    disc, ink = ("#fff", "#000") if focused else ("#000", "#fff")
    size = 9 if len(label) > 1 else 13
    return (f'<circle cx="38" cy="10" r="9" fill="{disc}" stroke="{ink if focused else "#fff"}" '
            f'stroke-width="2"/>'
            f'<text x="38" y="{10 + size * 0.36:.1f}" font-family="DejaVu Sans" font-weight="bold" '
            f'font-size="{size}" text-anchor="middle" fill="{ink}">{label}</text>')


def app_icon(drawing, focused, extra=""):
    if focused:
        body = f'<rect x="1" y="1" width="46" height="46" rx="9" fill="#000"/>' + drawing("#fff", "#000")
    else:
        body = drawing("#000", "#fff")
    return svg(APP_SIZE, APP_SIZE, body + extra, "0 0 48 48")


def write_applications():
    for name, drawing in APPLICATIONS.items():
        write(name, app_icon(drawing, False))
        write(name + "_f", app_icon(drawing, True))
    for name in BADGED:
        for count in BADGES:
            write(f"{name}_{count}", app_icon(APPLICATIONS[name], False, badge(count, False)))
            write(f"{name}_{count}_f", app_icon(APPLICATIONS[name], True, badge(count, True)))


def menu_icon(body):
    return svg(MENU_SIZE, MENU_SIZE, body, "0 0 48 48")


HOUSE = "M8 24 L24 9 L40 24 M13 20 V39 H35 V20"
BOOK = "M12 8 H36 V40 H12 Z"


def write_menu_icons():
    k = "#000"
    icons = {
        "desktop_push_to_home": lines(k, HOUSE, "M24 24 V34", "M19 29 H29"),
        "desktop_menu_replace_app": lines(k, "M10 18 H36 L30 12", "M38 30 H12 L18 36"),
        "desktop_menu_move_left": lines(k, "M38 24 H10", "M20 14 L10 24 L20 34"),
        "desktop_menu_move_right": lines(k, "M10 24 H38", "M28 14 L38 24 L28 34"),
        "close_circle": f'<circle cx="24" cy="24" r="16" {STROKE.format(c=k)}/>'
                        + lines(k, "M18 18 L30 30", "M30 18 L18 30"),
        "e3_menu_open": lines(k, "M22 10 H12 A2 2 0 0 0 10 12 V36 A2 2 0 0 0 12 38 H36 A2 2 0 0 0 38 36 V26",
                              "M28 10 H38 V20", "M38 10 L22 26"),
        "e3_menu_borrowed": library_loans(k, "#fff"),
        "remove_cloud": lines(k, CLOUD, "M19 28 H29"),
        "add_to_cloud": lines(k, CLOUD, "M24 32 V22", "M19 26 L24 21 L29 26"),
        "early_return": lines(k, "M14 20 H30 A8 8 0 0 1 30 36 H18", "M20 13 L13 20 L20 27"),
        "renew_loan": lines(k, "M36 22 A12 12 0 0 0 13 17", "M12 10 V17 H19",
                            "M12 26 A12 12 0 0 0 35 31", "M36 38 V31 H29"),
        "bookstore": store(k, "#fff"),
        "checkbox_off": f'<rect x="9" y="9" width="30" height="30" rx="5" {STROKE.format(c=k)}/>',
        # Book menu entries: delete, details, the read mark set and taken off.
        "delete_book": lines(k, "M10 14 H38", "M20 14 V9 H28 V14", "M14 14 L16 40 H32 L34 14",
                             "M21 21 V33", "M27 21 V33"),
        "book_info": f'<circle cx="24" cy="24" r="16" {STROKE.format(c=k)}/>'
                     + lines(k, "M24 22 V33") + '<circle cx="24" cy="15.5" r="2.2" fill="#000"/>',
        "mark_as_read": lines(k, BOOK, "M17 24 L22 29 L31 19"),
        "clear_mark": lines(k, BOOK, "M19 20 L29 30", "M29 20 L19 30"),
        # The mark of an entry that opens a further menu.
        "submenu_mark": lines(k, "M19 12 L31 24 L19 36"),
    }
    for name, body in icons.items():
        write(name, menu_icon(body))


def write_marks():
    star = star_path(24, 25, 21, 9)
    outline = f'<path d="{star}" fill="none" stroke="#000" stroke-width="3" stroke-linejoin="round"/>'
    write("star_full", svg(STAR_SIZE, STAR_SIZE,
                           f'<path d="{star}" fill="#000" stroke="#000" stroke-width="3" '
                           f'stroke-linejoin="round"/>', "0 0 48 48"))
    write("star_empty", svg(STAR_SIZE, STAR_SIZE, outline, "0 0 48 48"))
    write("star_half", svg(STAR_SIZE, STAR_SIZE,
                           '<clipPath id="left"><rect x="0" y="0" width="24" height="48"/></clipPath>'
                           f'<path d="{star}" fill="#000" clip-path="url(#left)"/>' + outline,
                           "0 0 48 48"))
    # Colour panels: amber stars and a blue current page and reading position, where colour tells
    # at a glance what black would only repeat.
    amber, blue = "#E09A12", "#2B6CB0"
    write("star_full.color", svg(STAR_SIZE, STAR_SIZE,
                                 f'<path d="{star}" fill="{amber}" stroke="#7A4E00" stroke-width="3" '
                                 f'stroke-linejoin="round"/>', "0 0 48 48"))
    write("star_half.color", svg(STAR_SIZE, STAR_SIZE,
                                 '<clipPath id="left"><rect x="0" y="0" width="24" height="48"/></clipPath>'
                                 f'<path d="{star}" fill="{amber}" clip-path="url(#left)"/>'
                                 f'<path d="{star}" fill="none" stroke="#7A4E00" stroke-width="3" '
                                 'stroke-linejoin="round"/>', "0 0 48 48"))
    write("star_empty.color", svg(STAR_SIZE, STAR_SIZE,
                                  f'<path d="{star}" fill="none" stroke="#7A4E00" stroke-width="3" '
                                  'stroke-linejoin="round"/>', "0 0 48 48"))
    write("desktop_page_point_on.color", svg(2.6, 2.6, f'<circle cx="12" cy="12" r="9" fill="{blue}"/>',
                                             "0 0 24 24"))
    write("desktop_progress_bar_tip.color", svg(2.4, 2.4, f'<circle cx="12" cy="12" r="10" fill="{blue}" '
                                                'stroke="#fff" stroke-width="3"/>', "0 0 24 24"))
    # Page points: the current page is a solid dot, the others a ring of the same size.
    write("desktop_page_point_on", svg(2.6, 2.6, '<circle cx="12" cy="12" r="9" fill="#000"/>',
                                       "0 0 24 24"))
    write("desktop_page_point_off", svg(2.6, 2.6, '<circle cx="12" cy="12" r="7.5" fill="#fff" '
                                        'stroke="#000" stroke-width="3"/>', "0 0 24 24"))
    # The end of the read part of a progress bar: a round knob, white-rimmed so it stays apart from
    # the black bar.
    write("desktop_progress_bar_tip", svg(2.4, 2.4, '<circle cx="12" cy="12" r="10" fill="#000" '
                                          'stroke="#fff" stroke-width="3"/>', "0 0 24 24"))
    # The pointer of a menu that opens right of the element: it points left, white inside so that it
    # joins the menu's white body, with the menu frame's black edges.
    write("context_menu_pointer", svg(2.4, 4.8, '<path d="M24 1 L2 24 L24 47 Z" fill="#fff"/>'
                                      '<path d="M24 1 L2 24 L24 47" fill="none" stroke="#000" '
                                      'stroke-width="3" stroke-linejoin="round"/>', "0 0 24 48"))
    # The same pointer for a menu that opens below the element: it points up.
    write("context_menu_pointer_up", svg(4.8, 2.4, '<path d="M1 24 L24 2 L47 24 Z" fill="#fff"/>'
                                         '<path d="M1 24 L24 2 L47 24" fill="none" stroke="#000" '
                                         'stroke-width="3" stroke-linejoin="round"/>', "0 0 48 24"))


def write_badges_and_buttons():
    k = "#000"
    small = {
        # Book badges of the tiles.
        "desktop_wishlist_mark": '<path d="M12 4 H36 V44 L24 34 L12 44 Z" fill="#000"/>'
                                 '<path d="M24 27 L17 20 A4 4 0 0 1 24 15 A4 4 0 0 1 31 20 Z" fill="#fff"/>',
        # Buttons of the views.
        "nav_back": lines(k, "M38 24 H10", "M20 14 L10 24 L20 34"),
        "nav_close": lines(k, "M14 14 L34 34", "M34 14 L14 34"),
        "arrow_prev": lines(k, "M29 12 L17 24 L29 36"),
        "arrow_next": lines(k, "M19 12 L31 24 L19 36"),
    }
    for name, body in small.items():
        write(name, menu_icon(body))
    # Badges over covers: a white disc with a black ring holds the drawing, so that it stays legible
    # on a dark or busy cover.
    heart = "M24 37 L12 25 A7 7 0 0 1 24 14 A7 7 0 0 1 36 25 Z"
    covers = {
        "desktop_cloud_badge": lines(k, "M16 32 A6 6 0 0 1 15 20 A9 9 0 0 1 32 18 A7 7 0 0 1 32 32 Z"),
        "desktop_cloud_nolocal_badge": lines(k, "M16 30 A6 6 0 0 1 15 18 A9 9 0 0 1 32 16 A7 7 0 0 1 32 30",
                                             "M24 22 V36", "M19 31 L24 36 L29 31"),
        "desktop_audio_badge": (lines(k, "M15 29 V25 A9 9 0 0 1 33 25 V29")
                                + '<rect x="13" y="27" width="6" height="10" rx="2" fill="#000"/>'
                                + '<rect x="29" y="27" width="6" height="10" rx="2" fill="#000"/>'),
        "desktop_favorite_badge": f'<path d="{heart}" fill="#000" stroke="#000" stroke-width="2" '
                                  'stroke-linejoin="round"/>',
        "desktop_loan_badge": (f'<circle cx="24" cy="24" r="11" {STROKE.format(c=k)}/>'
                               + lines(k, "M24 17 V24 L29 27")),
        "desktop_loan_expired_badge": (f'<circle cx="24" cy="24" r="11" {STROKE.format(c=k)}/>'
                                       + lines(k, "M19 19 L29 29", "M29 19 L19 29")),
    }
    for name, body in covers.items():
        write(name, svg(BADGE_SIZE, BADGE_SIZE,
                        '<circle cx="24" cy="24" r="21" fill="#fff" stroke="#000" stroke-width="2.5"/>'
                        + body, "0 0 48 48"))
    # A loan licence still to be fulfilled into a book: a document with a key.
    write("desktop_acsm_badge", svg(8.5, 8.5,
                                    '<circle cx="24" cy="24" r="22" fill="#fff" stroke="#000" stroke-width="2.5"/>'
                                    + lines(k, "M14 10 H28 L34 16 V38 H14 Z", "M28 10 V16 H34")
                                    + f'<circle cx="21" cy="27" r="4" {STROKE.format(c=k)}/>'
                                    + lines(k, "M24 30 L30 36", "M28 34 L30 32"), "0 0 48 48"))
    # The empty slot of the home screen: the outline of a book with a plus, where one will appear.
    write("desktop_empty_slot", svg(APP_SIZE * 0.7, APP_SIZE * 0.7,
                                    f'<rect x="12" y="7" width="24" height="34" rx="2" {STROKE.format(c=k)} '
                                    'stroke-dasharray="5 4"/>' + lines(k, "M24 18 V30", "M18 24 H30"),
                                    "0 0 48 48"))
    # The Wi-Fi prompt: the radio waves over a dot.
    write("desktop_wifi", svg(APP_SIZE * 1.4, APP_SIZE * 1.4,
                              lines(k, "M6 19 A26 26 0 0 1 42 19", "M12 26 A17 17 0 0 1 36 26",
                                    "M18 33 A8.5 8.5 0 0 1 30 33")
                              + '<circle cx="24" cy="39" r="3.2" fill="#000"/>', "0 0 48 48"))
    # The theme's stand-in for an image that is missing or can't be read.
    write("broken_image", svg(APP_SIZE, APP_SIZE,
                              f'<rect x="6" y="8" width="36" height="32" rx="4" {STROKE.format(c=k)}/>'
                              + lines(k, "M9 36 L18 26 L24 32", "M27 27 L31 24 L39 33",
                                      "M26 8 L22 18 L28 24 L23 40")
                              + '<circle cx="33" cy="16" r="3" fill="#000"/>', "0 0 48 48"))


def main():
    os.makedirs(OUT, exist_ok=True)
    for old in os.listdir(OUT):
        if old.endswith(".svg"):
            os.remove(os.path.join(OUT, old))
    write_applications()
    write_menu_icons()
    write_marks()
    write_badges_and_buttons()


if __name__ == "__main__":
    main()
