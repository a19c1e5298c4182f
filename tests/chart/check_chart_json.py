#!/usr/bin/env python3
"""Checks laid-out charts written by `verdan-cli chart ... --out FILE.json`.

  check_chart_json.py overlap FILE.json...      no two boxes, and no mark and box or two marks, meet
  check_chart_json.py generations FILE.json TREE.vrd UP DOWN
                                                the chart holds exactly the root, his fathers and mothers
                                                UP generations up (groups left out) and his descendants
                                                DOWN generations down (below his children through sons)
"""
import json
import sqlite3
import sys

CELL = 256


def rects(chart):
    for p in chart["persons"]:
        b = p["box"]
        yield ("person " + p["id"] + " " + p["name"], b)
    for m in chart["marks"]:
        yield ("mark " + m["husband"] + "/" + m["wife"], m["box"])


def meet(a, b):
    return (a["x"] < b["x"] + b["width"] and b["x"] < a["x"] + a["width"] and
            a["y"] < b["y"] + b["height"] and b["y"] < a["y"] + a["height"])


def overlap(path):
    chart = json.load(open(path, encoding="utf-8"))
    grid = {}
    faults = 0
    for name, box in rects(chart):
        cells = [(cx, cy) for cx in range(box["x"] // CELL, (box["x"] + box["width"]) // CELL + 1)
                 for cy in range(box["y"] // CELL, (box["y"] + box["height"]) // CELL + 1)]
        for cell in cells:
            for other_name, other in grid.get(cell, []):
                if meet(box, other):
                    faults += 1
                    if faults <= 5:
                        print(f"{path}: {name} meets {other_name}")
        for cell in cells:
            grid.setdefault(cell, []).append((name, box))
    print(f"{path}: {len(chart['persons'])} persons, {len(chart['marks'])} marks, {faults} overlaps")
    return faults == 0


def generations(path, tree, up, down):
    chart = json.load(open(path, encoding="utf-8"))
    db = sqlite3.connect(tree)
    row = {r[0].upper(): r[1:] for r in db.execute(
        "SELECT Person_Id, Father_Id, Mother_Id, Gender, Is_Section FROM ftPerson")}
    root = chart["root"].upper()
    want = {root}
    level = [root]
    for _ in range(up):
        nxt = []
        for p in level:
            for parent in row[p][0:2]:
                parent = (parent or "").upper()
                if parent in row and not row[parent][3] and parent not in want:
                    want.add(parent)
                    nxt.append(parent)
        level = nxt
    children = {}
    for pid, (father, mother, gender, section) in row.items():
        for parent in (father, mother):
            if parent:
                children.setdefault(parent.upper(), []).append(pid)
    level = [root]
    for depth in range(down):
        nxt = []
        for p in level:
            male = (row[p][2] or "").lower() == "m"
            if depth > 0 and not male:
                continue
            for child in children.get(p, []):
                parent_column = row[child][0] if male else row[child][1]
                if (parent_column or "").upper() == p and child not in want:
                    want.add(child)
                    nxt.append(child)
        level = nxt
    have = {p["id"].upper() for p in chart["persons"]}
    print(f"{path}: {len(have)} persons, {len(want)} expected")
    if have != want:
        print("missing:", sorted(want - have)[:5], "extra:", sorted(have - want)[:5])
        return False
    return True


if __name__ == "__main__":
    if sys.argv[1] == "overlap":
        ok = all([overlap(p) for p in sys.argv[2:]])
    else:
        ok = generations(sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]))
    print("ok" if ok else "FAILED")
    sys.exit(0 if ok else 1)
