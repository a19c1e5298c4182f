#!/usr/bin/env python3
"""Checks that the person list printed to PDF carries every birth and death date the tree holds.

usage: report_pdf_dates.py VERDAN_CLI GEDCOM WORK_DIR

Imports GEDCOM into a new tree, counts the tree's dates (date numbers, and dates kept only in words),
writes the person list with its default columns as a text file and as a PDF, and checks that the text
file shows one date for each of them and that each of those dates is in the PDF's text as often as in the
list. The list is in English. Exits 77 (skipped) when pdftotext is missing.
"""

import collections
import csv
import glob
import os
import re
import shutil
import sqlite3
import subprocess
import sys

DATE_FIELDS = ["date_of_birth_g", "date_of_birth_h", "date_of_death_g", "date_of_death_h"]


def run(*args):
    result = subprocess.run(args, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("%s failed: %s" % (" ".join(args), result.stderr))
    return result.stdout


def main():
    cli, gedcom, work = sys.argv[1:4]
    if shutil.which("pdftotext") is None:
        print("pdftotext (poppler-utils) is not installed")
        return 77
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    run(cli, "import", gedcom, "--into", work)
    tree = glob.glob(os.path.join(work, "*", "*.vrd"))[0]
    with sqlite3.connect(tree) as db:
        numbers = sum(db.execute("SELECT count(*) FROM ftPerson WHERE coalesce(%s, 0) <> 0" % field)
                      .fetchone()[0] for field in DATE_FIELDS)
        # A date kept only in words shows once, in the Gregorian column.
        words = sum(db.execute("SELECT count(*) FROM ftPerson WHERE {0}_qualifier IN (11, 12) AND "
                               "coalesce({0}_phrase, '') <> '' AND coalesce(date_of_{0}_g, 0) = 0 AND "
                               "coalesce(date_of_{0}_h, 0) = 0".format(fact)).fetchone()[0]
                    for fact in ("birth", "death"))
    listed = os.path.join(work, "list.txt")
    printed = os.path.join(work, "list.pdf")
    run(cli, "report", "persons", tree, "--out", listed, "--columns", ",".join(DATE_FIELDS))
    print(run(cli, "report", "persons", tree, "--out", printed).strip())

    with open(listed, encoding="utf-8-sig") as text:
        rows = list(csv.reader(text, delimiter="\t"))[1:]
    dates = collections.Counter(cell for row in rows for cell in row if cell)
    if sum(dates.values()) != numbers + words:
        sys.exit("the list shows %d dates, the tree holds %d" % (sum(dates.values()), numbers + words))
    pdf_text = " ".join(run("pdftotext", "-layout", printed, "-").split())
    # Each date the list shows is found in the PDF as often as in the list; the longer texts are tried
    # first so that "1066 G" is not counted inside "about 1066 G".
    texts = sorted((" ".join(date.split()) for date in dates), key=len, reverse=True)
    pattern = re.compile(r"(?<![\w.-])(" + "|".join(map(re.escape, texts)) + r")(?![\w.])")
    shown = collections.Counter(pattern.findall(pdf_text))
    missing = {date: count - shown[" ".join(date.split())] for date, count in dates.items()
               if shown[" ".join(date.split())] < count}
    if missing:
        sys.exit("dates missing from the PDF: %s" % sorted(missing.items())[:20])
    print("%d dates of %d persons, all in the PDF" % (numbers + words, len(rows)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
