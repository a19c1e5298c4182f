#!/usr/bin/env bash
# Takes screenshots of Verdan as a user sees it, in Arabic and in English, under a virtual X server:
#   main-LANG.png      the sample family, a person with dates selected, names and dates opened
#   overview-LANG.png  the same person with the data sheet's overview opened
#   welcome-LANG.png   the first start: no tree open and no recent trees
#
#   scripts/screenshots.sh [OUT_DIR] [BUILD_DIR]
#
# OUT_DIR defaults to BUILD_DIR/screenshots, BUILD_DIR to build. Needs Xvfb, ImageMagick's import and
# python3. Every run works in a fresh program folder of its own, so nothing of the user's is touched.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$here/.."
build="${2:-$root/build}"
out="${1:-$build/screenshots}"
verdan="$build/app/verdan"
cli="$build/app/verdan-cli"
size="${VERDAN_SHOT_SIZE:-1280x800}"
wait_seconds="${VERDAN_SHOT_WAIT:-4}"

for tool in Xvfb import python3; do
    command -v "$tool" >/dev/null || { echo "screenshots.sh needs $tool" >&2; exit 1; }
done
[ -x "$verdan" ] && [ -x "$cli" ] || { echo "build Verdan first: $verdan" >&2; exit 1; }
mkdir -p "$out"
out="$(cd "$out" && pwd)"

# A display number no other X server uses.
number=57
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
done
work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY=":$number"

# The sample family as a tree of its own, opening at a person with a full birth and a death date.
sample="$work/sample"
"$cli" import "$root/resources/sample/sample-family.ged" --into "$sample" --lang ar >/dev/null
tree="$(find "$sample" -name '*.vrd' -print -quit)"
python3 - "$tree" <<'EOF'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
row = db.execute("SELECT Person_Id FROM ftPerson WHERE Date_of_Birth_G % 100 > 0 AND Date_of_Death_G > 0"
                 " AND Father_Id NOT IN ('', '0', '-1') ORDER BY Date_of_Birth_G LIMIT 1").fetchone()
db.execute("UPDATE ftTreeInfo SET last_id = ?", (row[0],))
db.commit()
EOF

# options LANG SECTIONS...: a fresh program folder in that language, the named sections opened.
options() {
    local home="$1" language="$2"
    shift 2
    mkdir -p "$home/user"
    {
        printf 'Options\r\n  Language File = langs/%s.local\r\n  Data Sections\r\n' "$language"
        for section in Overview Names Dates Summary "Breastfeeding Relationships" Notes "Data Entry Info"; do
            local shown=False
            for wanted in "$@"; do [ "$wanted" = "$section" ] && shown=True; done
            printf '    %s = %s\r\n' "$section" "$shown"
        done
    } >"$home/user/options.sml"
}

# shoot NAME HOME [TREE]: starts Verdan, waits for it to settle and takes the whole screen.
shoot() {
    local name="$1" home="$2"
    shift 2
    "$verdan" --home "$home" "$@" >"$work/$name.log" 2>&1 &
    program_pid=$!
    sleep "$wait_seconds"
    import -window root "$out/$name.png"
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
    echo "$out/$name.png"
}

for lang in ar en; do
    case "$lang" in
    ar) document=arabic ;;
    en) document=english ;;
    esac
    options "$work/main-$lang" "$document" Names Dates
    shoot "main-$lang" "$work/main-$lang" "$tree"
    options "$work/overview-$lang" "$document" Overview
    shoot "overview-$lang" "$work/overview-$lang" "$tree"
    options "$work/welcome-$lang" "$document"
    shoot "welcome-$lang" "$work/welcome-$lang"
done
