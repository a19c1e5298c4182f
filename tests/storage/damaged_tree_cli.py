#!/usr/bin/env python3
"""Every command of verdan-cli on copies of a tree damaged in four places: none changes a byte of the damaged
file, every one says in the chosen language that the tree is damaged, and recover writes a tree that passes
the engine's check and holds every row the engine can still read.

    damaged_tree_cli.py VERDAN_CLI WORK_FOLDER
"""

import hashlib
import os
import random
import shutil
import sqlite3
import subprocess
import sys

CLI, WORK = sys.argv[1], sys.argv[2]
PERSONS = 3000
failures = []


def run(*args, lang="en"):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    done = subprocess.run([CLI, *args, "--lang", lang], capture_output=True, text=True, env=env, timeout=300)
    return done.returncode, done.stdout, done.stderr


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def check(condition, what):
    if not condition:
        failures.append(what)


def make_tree(folder):
    path = os.path.join(folder, "family", "family.vrd")
    code, out, err = run("new", path, "--name", "Family", "--owner", "Owner")
    assert code == 0, err
    db = sqlite3.connect(path)
    ids = []
    for i in range(PERSONS):
        pid = "{P%06d}" % i
        father = "-1" if i < 2 else ids[(i - 2) // 3 * 2]
        mother = "0" if i < 2 else ids[(i - 2) // 3 * 2 + 1]
        notes = "ن" * 6000 if i % 97 == 0 else "note %d" % i
        db.execute("INSERT INTO ftPerson (person_id, father_id, mother_id, person_name, gender, notes) "
                   "VALUES (?, ?, ?, ?, ?, ?)", (pid, father, mother, "Name%d" % i, "fm"[i % 2 == 0], notes))
        ids.append(pid)
    for i in range(0, PERSONS - 1, 2):
        db.execute("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type) VALUES (?, ?, 0)",
                   (ids[i], ids[i + 1]))
    db.commit()
    db.close()
    return path, ids


def targets(path):
    db = sqlite3.connect(path)
    root = db.execute("SELECT rootpage FROM sqlite_master WHERE name = 'ftPerson'").fetchone()[0]
    leaves = [p for (p,) in db.execute("SELECT pageno FROM dbstat WHERE name = 'ftPerson' AND pagetype = 'leaf' "
                                       "ORDER BY path")]
    index = [p for (p,) in db.execute("SELECT pageno FROM dbstat WHERE name = 'ftPerson_idx_father_id' "
                                      "AND pagetype = 'leaf' ORDER BY path")]
    last = db.execute("PRAGMA page_count").fetchone()[0]
    db.close()
    return [("root of ftPerson", root), ("index leaf", index[len(index) // 2]),
            ("middle leaf of ftPerson", leaves[len(leaves) // 2]), ("last page", last)]


def damage(path, page):
    rng = random.Random(page)
    with open(path, "r+b") as f:
        f.seek((page - 1) * 4096)
        f.write(bytes(rng.randrange(256) for _ in range(4096)))


def readable_rows(path, table):
    """Rows the engine still reads from the damaged file one by one."""
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    rows = set()
    for rowid in range(1, PERSONS + 10):
        try:
            if db.execute("SELECT * FROM %s WHERE rowid = ?" % table, (rowid,)).fetchone():
                rows.add(rowid)
        except sqlite3.DatabaseError:
            pass
    db.close()
    return rows


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    sound, ids = make_tree(os.path.join(WORK, "sound"))
    with sqlite3.connect(sound) as db:
        all_persons = {r for (r,) in db.execute("SELECT rowid FROM ftPerson")}
    for where, page in targets(sound):
        folder = os.path.join(WORK, where.replace(" ", "-"), "family")
        os.makedirs(folder)
        tree = os.path.join(folder, "family.vrd")
        shutil.copy(sound, tree)
        damage(tree, page)
        before = digest(tree)
        out_dir = os.path.join(WORK, where.replace(" ", "-"))
        commands = [
            ("info", tree), ("check", tree), ("compact", tree), ("find", tree, "Name1"), ("search", tree, "note"),
            ("stats", tree, ids[0]), ("lineage", tree, ids[2000]), ("kinship", tree, ids[10], ids[20]),
            ("chain", tree, ids[5], "A son of B"), ("report", "persons", tree, "--out", out_dir + "/p.csv"),
            ("chart", tree, ids[0], "--out", out_dir + "/c.png"), ("export", tree, out_dir + "/t.ged"),
            ("convert", tree, out_dir + "/converted.vrd"),
        ]
        told = 0
        for command in commands:
            code, out, err = run(*command)
            told += "The tree file is damaged." in err
            check(digest(tree) == before, "%s: %s wrote to the damaged file" % (where, command[0]))
            check("database disk image" not in err.split("\n")[0], "%s: %s led with engine words" % (where, command[0]))
        check(told > 0, "%s: no command said the tree is damaged" % where)
        code, out, err = run("info", tree, lang="ar")
        if "ملف الشجرة تالف." in err:
            check("verdan-cli recover" in err, "%s: the way to rescue it is not named" % where)
        code, out, err = run("recover", tree)
        check(code == 0, "%s: recover failed: %s" % (where, err))
        check(digest(tree) == before, "%s: recover wrote to the damaged file" % where)
        rescued = os.path.join(WORK, where.replace(" ", "-"), "family (recovered)", "family (recovered).vrd")
        check(out.startswith(rescued), "%s: recover wrote elsewhere: %s" % (where, out))
        if not os.path.exists(rescued):
            continue
        with sqlite3.connect(rescued) as db:
            check(db.execute("PRAGMA integrity_check").fetchone()[0] == "ok", "%s: rescued tree damaged" % where)
            found = {r for (r,) in db.execute("SELECT rowid FROM ftPerson")}
        expected = all_persons if where.startswith("root") else readable_rows(tree, "ftPerson")
        check(expected <= found, "%s: %d readable persons missing" % (where, len(expected - found)))
        check(len(found - all_persons) <= 1, "%s: persons from nowhere" % where)
        code, out, err = run("check", rescued)
        check("No damage was found in the tree file." in out, "%s: check of the rescued tree: %s" % (where, out))
    if failures:
        print("\n".join(failures))
        sys.exit(1)
    print("all damaged copies unchanged, rescued whole")


main()
