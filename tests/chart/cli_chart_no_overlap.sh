#!/bin/sh
# Usage: cli_chart_no_overlap.sh VERDAN_CLI PYTHON CHECKER WORK_DIR sample|royal|generated SOURCE
# (SOURCE: a GEDCOM file, or for "generated" the tree generator script)
# Lays out charts as verdan-cli writes them (JSON) and checks that nothing on them meets, in both reading
# orders: every founder of the sample family six generations down with spouses and daughters' children;
# Victoria of royal92 four generations up and four down; the largest father line of a generated tree of
# 10,000 persons to its end.
set -e
cli=$1
python=$2
checker=$3
dir=$4
what=$5
source=$6
rm -rf "$dir"
mkdir -p "$dir"
if [ "$what" = generated ]; then
    "$python" "$source" --persons 24000 --seed 1 --out "$dir/generated.ged"
    source="$dir/generated.ged"
fi
"$cli" import "$source" --into "$dir" >/dev/null
tree=$(ls "$dir"/*/*.vrd)
case $what in
sample)
    people=$("$python" - "$tree" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
for (pid,) in db.execute("SELECT p.Person_Id FROM ftPerson p WHERE p.Is_Section = 0 AND "
                         "(p.Father_Id IN ('0', '-1', '') OR p.Father_Id IN (SELECT Person_Id FROM ftPerson "
                         "WHERE Is_Section = 1)) AND EXISTS (SELECT 1 FROM ftPerson k WHERE "
                         "k.Father_Id = p.Person_Id OR k.Mother_Id = p.Person_Id)"):
    print(pid)
PY
)
    options="--up 0 --down 6 --spouses --daughters --dates" ;;
royal)
    people=$("$python" - "$tree" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
print(db.execute("SELECT Person_Id FROM ftPerson WHERE Person_Name LIKE 'Victoria%' AND "
                 "Date_of_Birth_G BETWEEN 18190000 AND 18199999").fetchone()[0])
PY
)
    options="--up 4 --down 4 --spouses --daughters" ;;
generated)
    people=$("$python" - "$tree" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
rows = db.execute("SELECT Person_Id, Father_Id FROM ftPerson WHERE Is_Section = 0").fetchall()
children = {}
for pid, father in rows:
    children.setdefault((father or "").upper(), []).append(pid)
def size(p):
    n, todo = 0, [p]
    while todo:
        q = todo.pop()
        n += 1
        todo += children.get(q.upper(), [])
    return n
section = {r[0].upper() for r in db.execute("SELECT Person_Id FROM ftPerson WHERE Is_Section = 1")}
tops = [p for p, f in rows if (f or "") in ("", "0", "-1") or (f or "").upper() in section]
print(max(tops, key=size))
PY
)
    options="--up 0 --down 200 --spouses" ;;
esac
count=0
for person in $people; do
    count=$((count + 1))
    "$cli" chart "$tree" "$person" $options --out "$dir/rtl-$count.json" >/dev/null
    "$cli" chart "$tree" "$person" $options --ltr --out "$dir/ltr-$count.json" >/dev/null
done
test "$count" -gt 0
"$python" "$checker" overlap "$dir"/*.json
if [ "$what" = generated ]; then
    "$python" -c "import json, sys; n = len(json.load(open(sys.argv[1]))['persons']); print(n, 'persons'); sys.exit(n < 10000)" "$dir/rtl-1.json"
fi
