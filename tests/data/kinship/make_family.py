#!/usr/bin/env python3
"""Adds a small family to a new tree file, for the kinship checks of the command line.

    make_family.py TREE.vrd

Persons have fixed identifiers {00000000-0000-0000-0000-0000000000NN}: a grandfather (01) with his sons
Ali (02) and Umar (03); Ali's son Ahmad (04) and daughter Aisha (05) by Maryam (06); Umar's son Hasan (07);
Ahmad's wife Rasha (08) and her mother Samira (09); Aisha's breastfeeding brother Karim (10), and Khadija
(11), who nursed Ahmad.
"""

import sqlite3
import sys


def pid(n):
    return "{00000000-0000-0000-0000-%012d}" % n


PERSONS = [
    (1, "سالم", "-1", "0", "m"),
    (2, "علي", 1, "0", "m"),
    (3, "عمر", 1, "0", "m"),
    (6, "مريم", "-1", "0", "f"),
    (4, "أحمد", 2, 6, "m"),
    (5, "عائشة", 2, 6, "f"),
    (7, "حسن", 3, "0", "m"),
    (9, "سميرة", "-1", "0", "f"),
    (8, "رشا", "-1", 9, "f"),
    (10, "كريم", "-1", "0", "m"),
    (11, "خديجة", "-1", "0", "f"),
]
RELATIONS = [(2, 6, 0), (4, 8, 0), (5, 10, 1), (11, 4, 2)]


def ref(value):
    return pid(value) if isinstance(value, int) else value


db = sqlite3.connect(sys.argv[1])
for n, name, father, mother, gender in PERSONS:
    db.execute(
        "INSERT INTO ftPerson (person_id, person_name, father_id, mother_id, gender, order_by_father, "
        "order_by_mother, display_order, is_section) VALUES (?, ?, ?, ?, ?, 99, 99, 99, 0)",
        (pid(n), name, ref(father), ref(mother), gender),
    )
for a, b, kind in RELATIONS:
    db.execute(
        "INSERT INTO ftRelation (person_id_1, person_id_2, relation_type, is_active) VALUES (?, ?, ?, 1)",
        (pid(a), pid(b), kind),
    )
db.commit()
