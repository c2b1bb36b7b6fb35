#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kippwerk authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb from a finished build tree, unpacks it into a scratch folder and checks
# its files, its dependencies and that the program's libraries resolve.
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
         usr/share/icons/hicolor/128x128/apps/org.example.kippwerk.png; do
  [ -f "$scratch/root/$f" ] || { echo "missing in the package: $f"; fail=1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in $(echo "$depends" | tr ',' '\n' | sed 's/(.*//; s/ //g'); do
  case "$dep" in libqt6*) ;; *) echo "dependency outside the Qt 6 runtime: $dep"; fail=1 ;; esac
done
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
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/org.example.kippwerk.metainfo.xml" >/dev/null || fail=1
file "$scratch/root/usr/share/icons/hicolor/32x32/apps/org.example.kippwerk.png" | grep -q '32 x 32' || fail=1
[ $fail -eq 0 ] && echo "package ok: $(basename "$deb")"
exit $fail
