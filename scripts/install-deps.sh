#!/usr/bin/env bash
# Installs the Debian 12 packages Verdan needs to build, test and run.
set -euo pipefail
packages=(
    build-essential cmake ninja-build ccache pkg-config git python3
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
    libsqlite3-dev libxlsxwriter-dev libgif-dev zlib1g-dev libicu-dev mdbtools-dev
    libgtest-dev googletest
    fonts-noto-core fonts-dejavu-core
    xvfb xauth
    poppler-utils
    # the Debian package (make package) and its test: shared-library dependencies, lintian, manual pages
    dpkg-dev file lintian groff-base bash
    # the fuzz targets (scripts/fuzz.sh): clang with libFuzzer and the sanitizers
    clang libclang-rt-dev
    # the published website's test opens the site in a real browser (tests/web/browser)
    chromium
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
