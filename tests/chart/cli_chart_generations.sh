#!/bin/sh
# Usage: cli_chart_generations.sh VERDAN_CLI PYTHON CHECKER TREE WORK_DIR
# `chart --generations 3` around a man with three generations of fathers and grandchildren of his own
# holds exactly his fathers and mothers three generations up and his descendants three down.
set -e
cli=$1
python=$2
checker=$3
tree=$4
dir=$5
person=$("$python" - "$tree" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
print(db.execute("SELECT p.Person_Id FROM ftPerson p JOIN ftPerson f ON f.Person_Id = p.Father_Id "
                 "JOIN ftPerson g ON g.Person_Id = f.Father_Id JOIN ftPerson h ON h.Person_Id = g.Father_Id "
                 "WHERE h.Is_Section = 0 AND EXISTS (SELECT 1 FROM ftPerson k JOIN ftPerson kk ON "
                 "kk.Father_Id = k.Person_Id WHERE k.Father_Id = p.Person_Id) ORDER BY p.oid").fetchone()[0])
PY
)
"$cli" chart "$tree" "$person" --generations 3 --out "$dir/generations.json" >/dev/null
"$python" "$checker" generations "$dir/generations.json" "$tree" 3 3
