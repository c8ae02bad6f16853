#!/usr/bin/env python3
"""Holds every file of the tree to the walls between its libraries, written in include_rules.txt.

    scripts/check_includes.py [SOURCE_ROOT]

Prints one line for each include that crosses a wall, and for each rule that names what is not
there, and fails if there is any. The compiler cannot tell: every library includes from the
source root, and a header used on its own needs no link.
"""
import os
import re
import sys
from dataclasses import dataclass, field

RULES = "include_rules.txt"
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
INCLUDE = re.compile(r'\s*#\s*include\s*([<"])([^>"]+)[>"]')


@dataclass
class Room:
    name: str
    line: int
    places: list = field(default_factory=list)
    rooms: list = field(default_factory=list)
    headers: list = field(default_factory=list)  # the "+path" ones


def read_rules(root):
    """The rooms and the folders searched for includes; errors for rules that do not hold."""
    rooms, search, errors, lines = {}, [], [], []
    with open(os.path.join(root, RULES), encoding="utf-8") as f:
        for number, text in enumerate(f, 1):
            text = text.split("#", 1)[0]
            if text.strip() and text[0].isspace() and lines:
                lines[-1][1] += " " + text.strip()  # an indented line goes on with the last one
            elif text.strip():
                lines.append([number, text.strip()])
    for number, text in lines:
        where = f"{RULES}:{number}"
        words = text.split()
        if words[0] == "search":
            search += words[1:]
            continue
        if ":" not in text:
            errors.append(f'{where}: "{text}" is neither "search" nor "room places : rooms"')
            continue
        left, right = (part.split() for part in text.split(":", 1))
        if len(left) < 2 or left[0] in rooms:
            errors.append(f"{where}: a room needs a name of its own and at least one place")
            continue
        room = Room(left[0], number, [p.strip("/") for p in left[1:]])
        room.rooms = [r for r in right if not r.startswith("+")]
        room.headers = [r[1:] for r in right if r.startswith("+")]
        rooms[room.name] = room
    for folder in search:
        if not os.path.isdir(os.path.join(root, folder)):
            errors.append(f"{RULES}: search {folder} is not in the tree")
    for room in rooms.values():
        where = f"{RULES}:{room.line}"
        for place in room.places:
            if not os.path.exists(os.path.join(root, place)):
                errors.append(f"{where}: {place} is not in the tree")
        for header in room.headers:
            if not os.path.isfile(os.path.join(root, header)):
                errors.append(f"{where}: +{header} is not in the tree")
        for other in room.rooms:
            if other not in rooms:
                errors.append(f"{where}: {room.name} may include {other}, which is no room")
    return rooms, [s.strip("/") for s in search], errors


def room_of(path, rooms):
    """The room of the longest place that holds `path`, or None."""
    best, length = None, -1
    for room in rooms.values():
        for place in room.places:
            if (path == place or path.startswith(place + "/")) and len(place) > length:
                best, length = room, len(place)
    return best


def resolve(root, including, quoted, name, search):
    """The tree's file an include names, relative to the root; None for one not in the tree."""
    folders = [os.path.dirname(including)] if quoted else []
    for folder in folders + [""] + search:
        candidate = os.path.normpath(os.path.join(folder, name))
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def sources(root, rooms):
    seen = set()
    for room in rooms.values():
        for place in room.places:
            full = os.path.join(root, place)
            if os.path.isfile(full):
                seen.add(place)
            for folder, _, files in os.walk(full):
                for name in files:
                    if name.endswith(SOURCE_SUFFIXES):
                        seen.add(os.path.relpath(os.path.join(folder, name), root))
    return sorted(seen)


def check(root):
    """Every breach, one line each, file first."""
    rooms, search, breaches = read_rules(root)
    if breaches:
        return breaches
    for path in sources(root, rooms):
        room = room_of(path, rooms)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, text in enumerate(f, 1):
                match = INCLUDE.match(text)
                if not match:
                    continue
                header = resolve(root, path, match[1] == '"', match[2], search)
                owner = room_of(header, rooms) if header else None
                if (owner is None or owner is room or owner.name in room.rooms
                        or header in room.headers):
                    continue
                allowed = " ".join(room.rooms + ["+" + h for h in room.headers]) or "nothing"
                breaches.append(
                    f'{path}:{number}: includes "{match[2]}" of room {owner.name}, which room '
                    f"{room.name} may not include ({RULES}:{room.line}: {room.name} may include "
                    f"{allowed})")
    return breaches


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    breaches = check(os.path.abspath(root))
    for line in breaches:
        print(line)
    if breaches:
        print(f"{len(breaches)} include(s) cross the walls of {RULES}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
