#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, widget
# (offscreen) and end-to-end (own virtual X server). ctest's summary is the
# last thing printed; the exit code is non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
# The fuzz targets have their own clang build; a short bounded
# run goes before the main tests so their summary stays the last output.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUOR_FUZZ=ON >/dev/null
cmake --build build-fuzz --target fuzz_picture_loader fuzz_rtf_reader fuzz_recovery_file
fuzz_status=0
ctest --test-dir build-fuzz -L fuzz --output-on-failure || fuzz_status=$?
# The unit and widget tests again under the address and undefined-behaviour
# sanitizers (the end-to-end tests run the optimised program below).
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DQUOR_SANITIZE=ON >/dev/null
cmake --build build-asan
asan_status=0
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer-suppressions.txt \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan -LE 'e2e|fuzz|install' --output-on-failure --timeout 600 -j2 "$@" \
    || asan_status=$?
status=0
ctest --test-dir build --output-on-failure --timeout 600 -j2 "$@" || status=$?
[ "$status" -ne 0 ] || status=$fuzz_status
[ "$status" -ne 0 ] || status=$asan_status
exit "$status"
