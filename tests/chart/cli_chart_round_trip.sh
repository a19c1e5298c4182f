#!/bin/sh
# Usage: cli_chart_round_trip.sh VERDAN_CLI SAMPLE.ged WORK_DIR PYTHON
# Imports the sample family, draws a chart around a man with parents and children as PNG while saving it as
# a chart file beside the tree, then draws that file again as PDF; both must hold the same persons.
set -e
cli=$1
sample=$2
dir=$3
python=$4
rm -rf "$dir"
mkdir -p "$dir"
"$cli" import "$sample" --into "$dir" --lang ar >/dev/null
tree="$dir/sample-family/sample-family.vrd"
id=$("$python" - "$tree" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
print(db.execute("SELECT Person_Id FROM ftPerson p WHERE Father_Id NOT IN ('0', '-1', '') AND "
                 "(SELECT COUNT(*) FROM ftPerson k WHERE k.Father_Id = p.Person_Id) > 2 ORDER BY OId LIMIT 1").fetchone()[0])
PY
)
first=$("$cli" chart "$tree" "$id" --parents --children --save "$dir/sample-family/a.chart" --out "$dir/a.png")
test "$(head -c 4 "$dir/a.png" | tail -c 3)" = PNG
again=$("$cli" chart --open "$dir/sample-family/a.chart" --out "$dir/b.pdf")
test "$(head -c 5 "$dir/b.pdf")" = %PDF-
test "${first##*.png }" = "${again##*.pdf }"
echo "same ${again##*.pdf }"
