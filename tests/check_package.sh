#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kippwerk authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb from a finished build tree, runs Debian's package checker on it, unpacks it
# into a scratch folder and checks its files, its dependencies, that the program's libraries
# resolve and that the packaged program answers --version with the package's version.
#   check_package.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/*.deb)
dpkg-deb -x "$deb" "$scratch/root"
fail=0
for f in usr/bin/kippwerk usr/share/applications/org.example.kippwerk.desktop \
         usr/share/metainfo/org.example.kippwerk.metainfo.xml \
         usr/share/icons/hicolor/16x16/apps/org.example.kippwerk.png \
         usr/share/icons/hicolor/32x32/apps/org.example.kippwerk.png \
         usr/share/icons/hicolor/128x128/apps/org.example.kippwerk.png \
         usr/share/icons/hicolor/48x48/mimetypes/application-x-kippwerk.png \
         usr/share/mime/packages/org.example.kippwerk.xml \
         usr/share/man/man1/kippwerk.1.gz usr/share/doc/kippwerk/copyright \
         usr/share/doc/kippwerk/changelog.gz; do
  [ -f "$scratch/root/$f" ] || { echo "missing in the package: $f"; fail=1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# computed from the binary, so the C library is there too; Qt's German texts named by hand
for dep in libc6 libqt6widgets6 qt6-translations-l10n; do
  echo "$depends" | grep -q "\b$dep\b" || { echo "no dependency on $dep"; fail=1; }
done
# No error and no warning from lintian; its informational tags are printed, not counted.
lintian --display-info "$deb" 2>/dev/null | tee "$scratch/lintian.txt" | grep -v '^I: ' || true
if grep -qE '^(E|W): ' "$scratch/lintian.txt"; then echo "lintian reports errors or warnings"; fail=1; fi
zcat "$scratch/root/usr/share/man/man1/kippwerk.1.gz" | grep -q '^\.SH NAME' ||
  { echo "the manual page has no NAME section"; fail=1; }
head -1 "$scratch/root/usr/share/doc/kippwerk/copyright" | grep -q 'copyright-format/1.0' ||
  { echo "the copyright file is not in Debian's machine-readable format"; fail=1; }
version=$(dpkg-deb -f "$deb" Version)
zcat "$scratch/root/usr/share/doc/kippwerk/changelog.gz" | head -1 | grep -q "(${version})" ||
  { echo "the change log does not begin with $version"; fail=1; }
said=$(env -u DISPLAY -u WAYLAND_DISPLAY LD_LIBRARY_PATH= "$scratch/root/usr/bin/kippwerk" --version)
[ "$said" = "Kippwerk $version" ] || { echo "--version says '$said', not 'Kippwerk $version'"; fail=1; }
if ldd "$scratch/root/usr/bin/kippwerk" | grep -q 'not found'; then
  ldd "$scratch/root/usr/bin/kippwerk" | grep 'not found'
  fail=1
fi
file "$scratch/root/usr/bin/kippwerk" | grep -q ', stripped' ||
  { echo "the program in the package is not stripped"; fail=1; }
size=$(stat -c %s "$scratch/root/usr/bin/kippwerk")
echo "usr/bin/kippwerk: $size bytes"
[ "$size" -lt 1500000 ] || { echo "the program in the package is larger than 1.5 MB"; fail=1; }
desktop-file-validate "$scratch/root/usr/share/applications/org.example.kippwerk.desktop" || fail=1
grep -q '^MimeType=application/x-kippwerk;$' "$scratch/root/usr/share/applications/org.example.kippwerk.desktop" ||
  { echo "the desktop file does not open design files"; fail=1; }
# The type is registered by the system's triggers: no cache of the MIME database in the package.
if [ -n "$(find "$scratch/root/usr/share/mime" -type f ! -path '*/packages/*')" ]; then
  echo "the package carries MIME cache files"; fail=1
fi
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/org.example.kippwerk.metainfo.xml" >/dev/null || fail=1
file "$scratch/root/usr/share/icons/hicolor/32x32/apps/org.example.kippwerk.png" | grep -q '32 x 32' || fail=1
[ $fail -eq 0 ] && echo "package ok: $(basename "$deb")"
exit $fail
