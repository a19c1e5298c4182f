#!/usr/bin/env bash
# Installs the package into a scratch root (never the real system), checks that it brings what a desktop
# needs and that its programs run, removes it and checks that nothing of it is left; then lintian must find
# no error in it.
set -euo pipefail
deb=$(realpath "$1")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg=(dpkg --root="$root" --force-not-root --log=/dev/null)
"${dpkg[@]}" --force-depends -i "$deb" >/dev/null 2>&1 || { echo "dpkg could not install $deb"; exit 1; }
for file in usr/bin/verdan usr/bin/verdan-cli usr/share/applications/verdan.desktop \
    usr/share/mime/packages/verdan-tree.xml usr/share/icons/hicolor/scalable/apps/verdan.svg \
    usr/share/icons/hicolor/scalable/mimetypes/application-x-verdan-tree.svg \
    usr/share/man/man1/verdan.1.gz usr/share/man/man1/verdan-cli.1.gz \
    usr/share/bash-completion/completions/verdan usr/share/bash-completion/completions/verdan-cli \
    usr/share/verdan/help/getstarted.html usr/share/verdan/langs/arabic.local \
    usr/share/verdan/sample/sample-family.ged usr/share/doc/verdan/copyright usr/share/doc/verdan/changelog.gz; do
    [ -f "$root/$file" ] || { echo "the package lacks /$file"; exit 1; }
done
"$root/usr/bin/verdan-cli" --version | grep -q "^verdan-cli "
"$root/usr/bin/verdan" --version | grep -q "^verdan "
grep -q "^Exec=verdan %f" "$root/usr/share/applications/verdan.desktop"
grep -q "^MimeType=application/x-verdan-tree;" "$root/usr/share/applications/verdan.desktop"
zcat "$root/usr/share/man/man1/verdan-cli.1.gz" | grep -q '^\\fBkinship\\fR'
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsqlite3 libxlsxwriter; do
    [[ $depends == *"$library"* ]] || { echo "Depends lacks $library: $depends"; exit 1; }
done
"${dpkg[@]}" --purge verdan >/dev/null
left=$(find "$root" -mindepth 1 -not -path "$root/var/lib/dpkg*" -not -type d)
[ -z "$left" ] || { echo "left behind after removal:"; echo "$left"; exit 1; }
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb"
else
    echo "lintian is not installed (scripts/install-deps.sh installs it)"
    exit 1
fi
echo "$(basename "$deb") installs, runs and goes away cleanly"
