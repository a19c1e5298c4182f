#!/usr/bin/env python3
"""Writes the four built-in language documents from resources/langs/units.tsv and units-*.tsv.

The tables are the only place where units are edited: units.tsv holds the classic list, and each area of the
program that adds texts of its own keeps them in a table units-<area>.tsv beside it (same columns), read after
units.tsv in file-name order. The .local files the script produces are committed so that the build needs no
Python. Run it after every change to a table:

    python3 scripts/make_language_documents.py

With --check it writes nothing and fails when a committed document differs from what the tables give.

Table columns (tab separated, first line is the column header, lines starting with "#" are remarks):
    docs       "all" (every document), "en" (English, Persian and Urdu only) or "ar" (Arabic only)
    context    the unit's context, empty for none
    source     the English source text
    target_en  target of the English, Persian and Urdu documents (only the list units have one)
    target     the Arabic target
    target_f   the Arabic feminine target
    orientation the unit's Orientation value
A line break inside a cell is written as the two characters backslash and "n"; no unit text holds a
backslash of its own, which the script checks.

The Persian and Urdu targets live apart from the unit tables, in targets-persian.tsv and targets-urdu.tsv,
so that adding units never touches them; an area may keep its own in targets-persian-<area>.tsv and
targets-urdu-<area>.tsv, read after them. Their columns:
    context    the unit's context, as in the unit tables
    source     the unit's English source, as in the unit tables
    target     the target of that language
    target_f   the feminine target, where a female person changes the words (empty: the target serves)
A unit the overlay lacks keeps its target_en (the English source shows); an overlay line that names no unit
is reported, so that a source changed in a unit table shows up.

Each document's header carries units_version, a fingerprint of the (context, source) pairs of its units.
The program compares it with the one of the document a user has in his langs folder and, when they differ,
adds the units that document lacks (never changing a unit it has), so texts added later reach users whose
documents were written by an earlier version. It is made from the tables alone: nobody numbers versions
by hand.
"""

import hashlib

import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TABLE = ROOT / "resources" / "langs" / "units.tsv"
COLUMNS = ["docs", "context", "source", "target_en", "target", "target_f", "orientation"]
OVERLAY_COLUMNS = ["context", "source", "target", "target_f"]
OVERLAYS = {"persian.local": "targets-persian.tsv", "urdu.local": "targets-urdu.tsv"}

# file, English name, native name, orientation, keyboard layout, whether it carries the Arabic targets
DOCUMENTS = [
    ("english.local", "English", "English", "ltr", "English", False),
    ("arabic.local", "Arabic", "العربية", "rtl", "Arabic", True),
    ("persian.local", "Persian", "فارسی", "rtl", "Persian", False),
    ("urdu.local", "Urdu", "اُردُو", "rtl", "Urdu", False),
]

AUTHOR_NOTE = {
    False: "Units without a target show their English source. Keep every \"&\", \"%*\", \"%#\", \"%s\", "
    "\"%d\", \"|\" and \"||\" of a source in its target, in the same order.",
    "overlay": "Keep every \"&\", \"%*\", \"%#\", \"%s\", \"%d\", \"|\" and \"||\" of a source in its target, "
    "in the same order. target_f is the form used for a female person. Units without a target show their "
    "English source.",
    True: "Keep every \"&\", \"%*\", \"%#\", \"%s\", \"%d\", \"|\" and \"||\" of a source in its target, in "
    "the same order. target_f is the form used for a female person.",
}


def tables():
    return [TABLE] + sorted(TABLE.parent.glob("units-*.tsv"))


def read_tables():
    units = []
    for table in tables():
        units += read_table(table)
    return units


def unescape(table, number, key, value):
    bare = value.replace("\\n", "")
    if "\\" in bare or "~" in bare or "(*" in bare:
        sys.exit(f"{table}:{number}: {key} holds a character the document format cannot carry")
    return value.replace("\\n", "\n")


def read_overlay(name):
    """The targets of one language keyed by (context, source), from targets-<language>.tsv and the
    targets-<language>-<area>.tsv files beside it; absent files give none."""
    stem = name[: -len(".tsv")]
    targets = {}
    for table in [TABLE.parent / name] + sorted(TABLE.parent.glob(stem + "-*.tsv")):
        if table.exists():
            read_overlay_table(table, targets)
    return targets


def read_overlay_table(table, targets):
    header = None
    for number, line in enumerate(table.read_text(encoding="utf-8").split("\n"), 1):
        if not line or line.startswith("#"):
            continue
        cells = line.split("\t")
        if header is None:
            header = cells
            if header != OVERLAY_COLUMNS:
                sys.exit(f"{table}:{number}: columns must be {OVERLAY_COLUMNS}")
            continue
        if len(cells) != len(OVERLAY_COLUMNS):
            sys.exit(f"{table}:{number}: {len(cells)} cells instead of {len(OVERLAY_COLUMNS)}")
        entry = {key: unescape(table, number, key, value) for key, value in zip(OVERLAY_COLUMNS, cells)}
        key = (entry["context"], entry["source"])
        if key in targets:
            sys.exit(f"{table}:{number}: a second target for {key}")
        targets[key] = entry


def read_table(table):
    units = []
    lines = table.read_text(encoding="utf-8").split("\n")
    header = None
    for number, line in enumerate(lines, 1):
        if not line or line.startswith("#"):
            continue
        cells = line.split("\t")
        if header is None:
            header = cells
            if header != COLUMNS:
                sys.exit(f"{table}:{number}: columns must be {COLUMNS}")
            continue
        if len(cells) != len(COLUMNS):
            sys.exit(f"{table}:{number}: {len(cells)} cells instead of {len(COLUMNS)}")
        unit = dict(zip(COLUMNS, cells))
        if unit["docs"] not in ("all", "en", "ar"):
            sys.exit(f"{table}:{number}: docs must be all, en or ar")
        for key, value in unit.items():
            unit[key] = unescape(table, number, key, value)
        units.append(unit)
    return units


def value_lines(indent, name, value):
    """A node line with its value, continuation lines placed right of the "=" column."""
    parts = value.split("\n")
    first = " " * indent + name + " = " + parts[0]
    column = first.index("=") + 1
    return [first] + [" " * (column + 1) + part for part in parts[1:]]


def units_version(units):
    """The fingerprint of a document's units: the same for the same (context, source) pairs in any order."""
    keys = sorted(unit["context"] + "\x1f" + unit["source"] for unit in units)
    return hashlib.sha1("\x1e".join(keys).encode("utf-8")).hexdigest()[:16]


def document(name, native, orientation, keyboard, arabic, units, overlay=None):
    units = [unit for unit in units if unit["docs"] == "all" or (unit["docs"] == "ar") == arabic]
    out = [
        "sml = version = 0.1; encoding = utf-8",
        "  localization",
        "    header",
        "      source_lang = English",
        "      target_lang = " + name,
        "        native_name = " + native,
        "        orientation = " + orientation,
        "        Keyboard_Layout = " + keyboard,
        "      units_version = " + units_version(units),
        "",
        "    translations",
    ]
    for unit in units:
        out.append("      unit")
        if unit["context"]:
            out.append("        context = " + unit["context"])
        out += value_lines(8, "source", unit["source"])
        target, target_f = unit["target_en"], ""
        if arabic:
            target, target_f = unit["target"], unit["target_f"]
        elif overlay is not None and (unit["context"], unit["source"]) in overlay:
            entry = overlay[(unit["context"], unit["source"])]
            target, target_f = entry["target"], entry["target_f"]
            # A unit the Arabic genders is looked up in its feminine form: a language whose words do not
            # change for a woman gives its one target there too.
            if not target_f and unit["target_f"]:
                target_f = target
        out += value_lines(8, "target", target)
        if target_f:
            out += value_lines(8, "target_f", target_f)
        if unit["orientation"]:
            out.append("        Orientation = " + unit["orientation"])
    out.append("    author_note = " + AUTHOR_NOTE["overlay" if overlay else arabic])
    return "\ufeff" + "".join(line + "\r\n" for line in out)


def main():
    check = sys.argv[1:] == ["--check"]
    units = read_tables()
    stale = []
    keys = {(unit["context"], unit["source"]) for unit in units if unit["docs"] != "ar"}
    for file_name, name, native, orientation, keyboard, arabic in DOCUMENTS:
        overlay = read_overlay(OVERLAYS[file_name]) if file_name in OVERLAYS else None
        for context, source in sorted(set(overlay or {}) - keys):
            print(f"{OVERLAYS[file_name]}: no unit {source!r} (context {context!r})", file=sys.stderr)
        data = document(name, native, orientation, keyboard, arabic, units, overlay).encode("utf-8")
        path = TABLE.parent / file_name
        if not check:
            path.write_bytes(data)
        elif not path.exists() or path.read_bytes() != data:
            stale.append(file_name)
    if stale:
        sys.exit("out of date with the unit tables (run scripts/make_language_documents.py): " + ", ".join(stale))


if __name__ == "__main__":
    main()
