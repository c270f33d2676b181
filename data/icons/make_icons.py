#!/usr/bin/env python3
"""Writes the tree icons (one SVG per image key) and the application icon into this folder.

Every icon is drawn on a 16 x 16 grid so that it stays sharp at its usual size. A glyph tells the
kind of object (person, computer, gear, two people, folder, address card, question mark); a colour tells a security group
(amber) from a distribution list (teal, with an envelope); a badge in the lower right corner tells
the scope (L, G, U), the recursion (red loop), the account state (no-entry sign, padlock, clock)
or the copy while dragging (green plus). Dark outlines and white rings around badges keep the
icons readable on light and dark backgrounds alike.

Run it again after changing a shape: python3 make_icons.py
"""

import os

OUT = os.path.dirname(os.path.abspath(__file__))
INK = "#1f2328"

USER = "#3d85e0"
COMPUTER_CASE = "#c9d1da"
COMPUTER_SCREEN = "#3d85e0"
SERVICE = "#9a62d6"
DISABLED = "#a3a7ad"
SECURITY = "#f0a524"
DISTRIBUTION = "#20a39e"
FOLDER = "#e9c46a"
FOLDER_FRONT = "#f4d88c"
CONTACT = "#e8eef4"
FOREIGN = "#8e99a6"


def svg(body, size=16):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
        f'viewBox="0 0 16 16">\n{body}</svg>\n'
    )


def person(cx, top, fill, scale=1.0):
    """A head and shoulders whose head centre is at (cx, top + 3)."""
    r = 2.6 * scale
    hy = top + r + 0.4
    sh = hy + r + 0.9
    w = 5.0 * scale
    bottom = min(15.5, sh + 5.5 * scale)
    body = (
        f"M{cx - w:.2f},{bottom:.2f} L{cx - w:.2f},{sh + 2.2:.2f} "
        f"Q{cx - w:.2f},{sh:.2f} {cx - w + 2.2:.2f},{sh:.2f} "
        f"L{cx + w - 2.2:.2f},{sh:.2f} Q{cx + w:.2f},{sh:.2f} {cx + w:.2f},{sh + 2.2:.2f} "
        f"L{cx + w:.2f},{bottom:.2f} Z"
    )
    return (
        f'<path d="{body}" fill="{fill}" stroke="{INK}" stroke-width="1" stroke-linejoin="round"/>\n'
        f'<circle cx="{cx:.2f}" cy="{hy:.2f}" r="{r:.2f}" fill="{fill}" stroke="{INK}" stroke-width="1"/>\n'
    )


def user(fill):
    return person(6.5, 0.5, fill)


def computer(screen):
    return (
        f'<rect x="0.5" y="1.5" width="13" height="9" rx="1" fill="{COMPUTER_CASE}" stroke="{INK}"/>\n'
        f'<rect x="2.5" y="3.5" width="9" height="5" fill="{screen}" stroke="{INK}" stroke-width="0.6"/>\n'
        f'<path d="M5.5,10.5 L5,13.5 L9,13.5 L8.5,10.5 Z" fill="{COMPUTER_CASE}" stroke="{INK}" stroke-linejoin="round"/>\n'
        f'<rect x="2.5" y="13.5" width="9" height="2" rx="0.5" fill="{COMPUTER_CASE}" stroke="{INK}"/>\n'
    )


def gear(fill):
    import math

    cx, cy, ro, ri, teeth = 7.0, 7.5, 6.8, 4.9, 8
    pts = []
    for i in range(teeth * 2):
        a0 = math.pi * 2 * i / (teeth * 2) - math.pi / (teeth * 2)
        a1 = a0 + math.pi * 2 / (teeth * 2)
        r = ro if i % 2 == 0 else ri
        for a in (a0 + 0.08, a1 - 0.08):
            pts.append(f"{cx + r * math.cos(a):.2f},{cy + r * math.sin(a):.2f}")
    return (
        f'<polygon points="{" ".join(pts)}" fill="{fill}" stroke="{INK}" stroke-width="1" stroke-linejoin="round"/>\n'
        f'<circle cx="{cx}" cy="{cy}" r="2" fill="#ffffff" stroke="{INK}" stroke-width="1"/>\n'
    )


def group(fill, envelope):
    body = person(10.3, 0.2, fill, 0.8) + person(5.6, 3.2, fill, 0.95)
    if envelope:
        body += (
            f'<rect x="0.5" y="0.5" width="6" height="4.5" fill="#ffffff" stroke="{INK}"/>\n'
            f'<path d="M0.5,0.5 L3.5,3 L6.5,0.5" fill="none" stroke="{INK}" stroke-width="0.9"/>\n'
        )
    return body


def folder():
    return (
        f'<path d="M0.5,3.5 L0.5,13.5 L15.5,13.5 L15.5,4.5 L7.5,4.5 L6,2.5 L1.5,2.5 Z" '
        f'fill="{FOLDER}" stroke="{INK}" stroke-linejoin="round"/>\n'
        f'<path d="M0.5,13.5 L1.8,6.5 L15.5,6.5 L15.5,13.5 Z" fill="{FOLDER_FRONT}" '
        f'stroke="{INK}" stroke-linejoin="round"/>\n'
        # a small hierarchy printed on the folder: an O.U. holds things
        f'<path d="M8.5,8.5 L8.5,11.5 M6,11.5 L11,11.5" stroke="{INK}" stroke-width="0.9" fill="none"/>\n'
    )


# Badges: a 7 x 7 disc or square in the lower right corner with a white ring.
def ring(shape):
    return shape.replace("/>", ' stroke="#ffffff" stroke-width="1.6"/>', 1) + shape


def badge_letter(letter, fill):
    square = f'<rect x="8.5" y="8.5" width="7" height="7" rx="1.2" fill="{fill}"/>'
    return ring(square) + (
        f'<text x="12" y="14.6" font-family="DejaVu Sans, Verdana, sans-serif" font-weight="bold" '
        f'font-size="7" text-anchor="middle" fill="#ffffff">{letter}</text>\n'
    )


def badge_disabled():
    disc = '<circle cx="12" cy="12" r="3.6" fill="#d7263d"/>'
    return ring(disc) + '<rect x="9.9" y="11.2" width="4.2" height="1.6" fill="#ffffff"/>\n'


def badge_locked():
    shackle = '<path d="M10.3,11 L10.3,9.6 A1.7,1.7 0 0 1 13.7,9.6 L13.7,11" fill="none" stroke="#ffffff" stroke-width="2.6"/>'
    shackle_ink = '<path d="M10.3,11 L10.3,9.6 A1.7,1.7 0 0 1 13.7,9.6 L13.7,11" fill="none" stroke="#4a3b00" stroke-width="1.1"/>'
    body = '<rect x="8.8" y="10.8" width="6.4" height="4.8" rx="0.8" fill="#f2c200"/>'
    return (
        shackle + "\n" + shackle_ink + "\n" + ring(body)
        + '<rect x="8.8" y="10.8" width="6.4" height="4.8" rx="0.8" fill="none" stroke="#4a3b00" stroke-width="0.8"/>\n'
        + '<rect x="11.5" y="12.2" width="1" height="2" fill="#4a3b00"/>\n'
    )


def badge_expired():
    disc = '<circle cx="12" cy="12" r="3.6" fill="#ffffff"/>'
    return (
        ring(disc)
        + '<circle cx="12" cy="12" r="3.3" fill="#ffffff" stroke="#e4572e" stroke-width="1.2"/>\n'
        + '<path d="M12,9.8 L12,12 L13.8,12" fill="none" stroke="' + INK + '" stroke-width="1"/>\n'
    )


def badge_copy():
    disc = '<circle cx="12" cy="12" r="3.7" fill="#2e9e44"/>'
    return ring(disc) + '<path d="M12,9.8 L12,14.2 M9.8,12 L14.2,12" stroke="#ffffff" stroke-width="1.5"/>\n'


def badge_recursive():
    disc = '<circle cx="12" cy="12" r="3.7" fill="#d7263d"/>'
    return ring(disc) + (
        '<path d="M13.6,10.9 A1.9,1.9 0 1 0 13.8,12.9" fill="none" stroke="#ffffff" stroke-width="1.1"/>\n'
        '<path d="M14.6,9.6 L14.4,11.6 L12.5,11.2 Z" fill="#ffffff"/>\n'
    )


STATES = {
    "": None,
    "_ina": badge_disabled,
    "_ver": badge_locked,
    "_exp": badge_expired,
    "_cop": badge_copy,
}


def account(kind, state):
    fill_user = DISABLED if state == "_ina" else USER
    fill_service = DISABLED if state == "_ina" else SERVICE
    screen = DISABLED if state == "_ina" else COMPUTER_SCREEN
    base = {"user": lambda: user(fill_user), "comp": lambda: computer(screen), "svce": lambda: gear(fill_service)}[kind]()
    badge = STATES[state]
    return base + (badge() if badge else "")


GROUP_SUFFIXES = {
    "": None,
    "_loc": lambda: badge_letter("L", "#2f3b4c"),
    "_glo": lambda: badge_letter("G", "#2f3b4c"),
    "_uni": lambda: badge_letter("U", "#2f3b4c"),
    "_rec": badge_recursive,
    "_cop": badge_copy,
}


def group_icon(kind, suffix):
    base = group(SECURITY if kind == "sec" else DISTRIBUTION, kind == "dis")
    badge = GROUP_SUFFIXES[suffix]
    return base + (badge() if badge else "")


def contact():
    # An address card: a directory entry that is no account.
    return (
        f'<rect x="0.5" y="2.5" width="15" height="11" rx="1.2" fill="{CONTACT}" stroke="{INK}"/>\n'
        f'<circle cx="4.6" cy="6.3" r="1.8" fill="{USER}" stroke="{INK}" stroke-width="0.8"/>\n'
        f'<path d="M1.9,11.5 Q1.9,8.8 4.6,8.8 Q7.3,8.8 7.3,11.5 Z" fill="{USER}" stroke="{INK}" stroke-width="0.8"/>\n'
        f'<path d="M9,5.5 L13.5,5.5 M9,8 L13.5,8 M9,10.5 L12,10.5" stroke="{INK}" stroke-width="1"/>\n'
    )


def badge_globe():
    disc = '<circle cx="12" cy="12" r="3.7" fill="#2b7bb9"/>'
    return ring(disc) + (
        '<ellipse cx="12" cy="12" rx="1.5" ry="3.3" fill="none" stroke="#ffffff" stroke-width="0.8"/>\n'
        '<path d="M8.6,12 L15.4,12 M9.3,10.3 L14.7,10.3 M9.3,13.7 L14.7,13.7" stroke="#ffffff" stroke-width="0.7"/>\n'
    )


def foreign():
    # A principal of another domain or a well-known identity: a grey person under a globe.
    return user(FOREIGN) + badge_globe()


def other():
    return (
        f'<rect x="1.5" y="1.5" width="13" height="13" rx="2" fill="{DISABLED}" stroke="{INK}"/>\n'
        '<text x="8" y="12.6" font-family="DejaVu Sans, Verdana, sans-serif" font-weight="bold" '
        'font-size="11" text-anchor="middle" fill="#ffffff">?</text>\n'
    )


def app_icon():
    # A root folder and its branches to a group and an account.
    return (
        '<rect x="0.5" y="0.5" width="15" height="15" rx="3" fill="#263445"/>\n'
        '<path d="M4.5,5.5 L4.5,11.5 L8.5,11.5 M4.5,7.5 L8.5,7.5" fill="none" stroke="#ffffff" stroke-width="1"/>\n'
        f'<rect x="2" y="2" width="5.2" height="3.8" rx="0.6" fill="{FOLDER}" stroke="{INK}" stroke-width="0.6"/>\n'
        f'<circle cx="11.2" cy="7.5" r="2.5" fill="{SECURITY}" stroke="{INK}" stroke-width="0.6"/>\n'
        f'<circle cx="11.2" cy="11.8" r="2.3" fill="{USER}" stroke="{INK}" stroke-width="0.6"/>\n'
    )


def main():
    icons = {}
    for kind in ("comp", "svce", "user"):
        for state in STATES:
            icons[kind + state] = account(kind, state)
    for kind in ("dis", "sec"):
        for suffix in GROUP_SUFFIXES:
            icons[f"grp_{kind}{suffix}"] = group_icon(kind, suffix)
    icons["ou"] = folder()
    icons["contact"] = contact()
    icons["fsp"] = foreign()
    icons["autre"] = other()
    for key, body in icons.items():
        with open(os.path.join(OUT, key + ".svg"), "w", encoding="utf-8") as f:
            f.write(svg(body))
    with open(os.path.join(OUT, "arbrix.svg"), "w", encoding="utf-8") as f:
        f.write(svg(app_icon(), 64))
    print(f"{len(icons)} icons and arbrix.svg written")


if __name__ == "__main__":
    main()
