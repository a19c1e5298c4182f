#!/usr/bin/env bash
# Starts the built program; without a display it runs under a virtual X server and says so.
#
#   run.sh [--sample FOLDER] PROGRAM [ARGUMENTS...]
#
# With --sample, the first run imports the sample family into a tree below FOLDER and opens it, so that a
# newcomer starts with a living tree. Later runs leave the choice to the program (the last tree opened), as
# does any run whose arguments name a tree. When the import fails the program starts without a tree.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
sample_folder=""
if [ "${1:-}" = "--sample" ]; then
    sample_folder="$2"
    shift 2
fi
bin="$1"
shift

# The program's own arguments: "--home DIR" or "--home=DIR" moves its folder, anything else names a tree.
names_tree() {
    while [ $# -gt 0 ]; do
        case "$1" in
        --home) shift ;;
        --home=*) ;;
        *) [ -n "$1" ] && return 0 ;;
        esac
        [ $# -gt 0 ] && shift
    done
    return 1
}

if [ -n "$sample_folder" ] && ! names_tree "$@" &&
    [ -z "$(find "$sample_folder" -name '*.vrd' -print -quit 2>/dev/null)" ]; then
    cli="$(dirname "$bin")/verdan-cli"
    ged="$here/../resources/sample/sample-family.ged"
    echo "Importing the sample family into $sample_folder ..." >&2
    if output="$("$cli" import "$ged" --into "$sample_folder" --lang ar 2>&1)"; then
        tree="$(printf '%s\n' "$output" | head -n 1)"
        echo "Opening the sample tree $tree" >&2
        set -- "$@" "$tree"
    else
        echo "The sample tree could not be imported, so Verdan starts without a tree:" >&2
        printf '%s\n' "$output" >&2
    fi
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$bin" "$@"
fi
if command -v xvfb-run >/dev/null 2>&1; then
    echo "No display found: starting Verdan under xvfb-run (a virtual screen)." >&2
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$bin" "$@"
fi
echo "No display found: starting Verdan on Qt's offscreen platform." >&2
QT_QPA_PLATFORM=offscreen exec "$bin" "$@"
