#!/usr/bin/env bash
# Installs whatever Quor needs to build, run and test on Debian 12.
# Idempotent: when everything is there it only checks and says nothing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins libgl-dev
    qt6-translations-l10n fonts-wqy-microhei adwaita-icon-theme
    qt6-image-formats-plugins
    libuemf-dev
    googletest libgtest-dev libbenchmark-dev
    libopencv-dev # the benchmarks' anchors only; the program never links it
    xvfb xauth xdotool x11-utils imagemagick xclip
    clang libclang-rt-14-dev
    poppler-utils
    dosfstools attr
    desktop-file-utils librsvg2-bin appstream
    lintian man-db # package test: Debian's checks of the .deb, and `man -l` on its pages
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
