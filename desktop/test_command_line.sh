#!/usr/bin/env bash
# The program's command line answers in a terminal with no display at all:
# --help and --version print and exit 0, an unknown option or a missing
# value is one line on stderr and exit 2, and whatever is left (Qt's own
# options, names after "--") still reaches Qt and the file list.
# Usage: test_command_line.sh QUOR VERSION
set -uo pipefail

quor=$1
version=$2
tmp=$(mktemp -d /tmp/quor-cmdline-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# No display of any kind: QApplication would abort if it were reached.
run() {
    # In a subshell, so that Qt's abort is not announced by this one.
    (env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$quor" "$@" \
        >"$tmp/out" 2>"$tmp/err"; exit $?) 2>/dev/null
    code=$?
}

for option in --help -h; do
    run "$option"
    [ $code -eq 0 ] || fail "$option: exit $code"
    grep -q '^用法：quor \[选项\] \[图片文件…\]$' "$tmp/out" && grep -q -- '--version' "$tmp/out" \
        || fail "$option printed: $(cat "$tmp/out")"
    [ -s "$tmp/err" ] && fail "$option wrote to stderr: $(cat "$tmp/err")"
done

for option in --version -v; do
    run "$option"
    [ $code -eq 0 ] && [ "$(cat "$tmp/out")" = "quor $version" ] \
        || fail "$option: exit $code, printed '$(cat "$tmp/out")'"
done

# Mistakes: a file name standing before them changes nothing.
for mistake in "--bogus" "-bogus" "--help=yes" "-platform"; do
    run picture.bmp $mistake
    [ $code -eq 2 ] || fail "$mistake: exit $code, not 2"
    [ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -q "“${mistake%%=*}”" "$tmp/err" \
        && grep -q '^quor：' "$tmp/err" || fail "$mistake said: $(cat "$tmp/err")"
    [ -s "$tmp/out" ] && fail "$mistake wrote to stdout"
done

# Qt's own options with their values, and a name with a leading dash
# after "--", pass: Qt is reached and fails on the plugin it was told of.
run -platform no-such-plugin -style fusion --reverse -- -picture.bmp --bogus
[ $code -ne 0 ] && [ $code -ne 2 ] && grep -q '"no-such-plugin"' "$tmp/err" \
    || fail "Qt's options and names after -- were refused: exit $code, $(cat "$tmp/err")"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "the command line answers without a display"
