#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, widget
# (offscreen) and end-to-end (own virtual X server). ctest's summary is the
# last thing printed; the exit code is non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir build --output-on-failure --timeout 600 "$@"
