#!/usr/bin/env bash
# Makes the Debian package from the build, as `cpack -G DEB` does for a
# user, and reads it back with dpkg-deb: its fields, the libraries and
# run-time parts it depends on, its files, the AppStream metadata, the
# manual pages and the licence. lintian then judges it as Debian would.
# Usage: test_package.sh CPACK BUILD-DIR
set -uo pipefail

cpack=$1
build=$2
out=$(mktemp -d /tmp/quor-package-XXXXXX)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! (cd "$build" && "$cpack" -G DEB -B "$out") >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi
debs=("$out"/quor_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single quor_*.deb: ${debs[*]}"; exit 1; }
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quor ] || fail "Package: $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Version)" ] && [ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] \
    || fail "Version, Maintainer or Description missing"
depends=$(field Depends)
# From the binary: Qt and the metafile library; named: what Qt loads later.
for need in libqt6widgets6 libqt6printsupport6 libuemf libc6 qt6-qpa-plugins \
            qt6-image-formats-plugins fonts-wqy-microhei; do
    [[ "$depends" == *"$need"* ]] || fail "Depends lacks $need: $depends"
done

listing=$(dpkg-deb -c "$deb")
for file in usr/bin/quor usr/share/applications/quor.desktop \
            usr/share/metainfo/org.quor.Quor.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/quor.svg \
            usr/share/icons/hicolor/48x48/apps/quor.png \
            usr/share/icons/hicolor/256x256/apps/quor.png \
            usr/share/doc/quor/copyright usr/share/doc/quor/changelog.gz \
            usr/share/man/man1/quor.1.gz usr/share/man/zh_CN/man1/quor.1.gz; do
    grep -q " \./$file\$" <<<"$listing" || fail "$file is not in the package"
done
grep -Eq '^-rwxr-xr-x root/root .* \./usr/bin/quor$' <<<"$listing" \
    || fail "usr/bin/quor is not an executable owned by root"
# Nothing from the build's own folders (tests, benchmarks) rides along.
stray=$(awk '{ print $NF }' <<<"$listing" \
        | grep -Ev '^\./(usr/(bin/(quor)?|share/((applications|metainfo|icons|doc|man)(/.*)?)?)?)?$')
[ -z "$stray" ] || fail "unexpected files: $stray"

mkdir "$out/root"
dpkg-deb -x "$deb" "$out/root"
meta=$out/root/usr/share/metainfo/org.quor.Quor.metainfo.xml
if said=$(appstreamcli validate --no-net "$meta" 2>&1); then
    launcher=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$meta")
    [ -f "$out/root/usr/share/applications/$launcher" ] || fail "launchable $launcher not packaged"
else
    fail "appstreamcli validate: $said"
fi

# The licence in the package is the one at the top of the sources.
copyright=$out/root/usr/share/doc/quor/copyright
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
    || fail "the copyright file is not machine-readable (DEP-5)"
licence=$(dirname "$0")/../LICENSE
diff <(awk '/^License: Expat$/ { text = ""; on = 1; next }
            on && /^ / { sub(/^ /, ""); sub(/^\.$/, ""); text = text $0 "\n"; next }
            { on = 0 } END { printf "%s", text }' "$copyright") \
     <(sed '1,4d' "$licence") >"$out/licence.diff" \
    || fail "the copyright file's Expat text differs from LICENSE: $(cat "$out/licence.diff")"

# Both manual pages render, groff's warnings counted as failures.
for page in man/man1/quor.1.gz man/zh_CN/man1/quor.1.gz; do
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$out/root/usr/share/$page" \
           2>"$out/man.err")
    [ -s "$out/man.err" ] && fail "$page: $(cat "$out/man.err")"
    grep -q -- '--version' <<<"$text" && grep -q 'XDG_STATE_HOME' <<<"$text" \
        || fail "$page does not render: $text"
done

# lintian passes it. Only the maintainer's address may be named: the
# publisher sets it (QUOR_PACKAGE_MAINTAINER), a build keeps the stand-in.
if command -v lintian >/dev/null; then
    lintian --fail-on none "$deb" >"$out/lintian.log" 2>&1 || fail "lintian: $(cat "$out/lintian.log")"
    said=$(grep -E '^[EW]: ' "$out/lintian.log" \
           | grep -Ev '^[EW]: quor: bogus-mail-host(-in-debian-changelog)? ')
    [ -z "$said" ] || fail "lintian: $said"
else
    fail "lintian is not installed (scripts/setup.sh installs it)"
fi

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "package $(basename "$deb") made and checked"
