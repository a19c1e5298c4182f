#!/usr/bin/env bash
# Starts the built program; without a display it runs under a virtual X server and says so.
set -euo pipefail
bin="$1"
shift
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$bin" "$@"
fi
if command -v xvfb-run >/dev/null 2>&1; then
    echo "No display found: starting Verdan under xvfb-run (a virtual screen)." >&2
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$bin" "$@"
fi
echo "No display found: starting Verdan on Qt's offscreen platform." >&2
QT_QPA_PLATFORM=offscreen exec "$bin" "$@"
