#!/usr/bin/env bash
# Installs what is missing, builds and starts Quor. Without a display it
# starts a virtual X server for the program first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 199); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=":$n"; break; }
    done
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT
    export DISPLAY="$display"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    echo "run: no display found; Quor runs on the virtual X server $DISPLAY"
    echo "run: look at it with e.g.  DISPLAY=$DISPLAY import -window root shot.png"
fi
build/src/quor
