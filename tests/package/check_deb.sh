#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what it holds and needs.
#   check_deb.sh <build folder>
set -euo pipefail
build=$1
cd "$build"
rm -rf package
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=(package/tabulon_1.0.0.1_*.deb)
[[ -f "${deb[0]}" ]] || { echo "no tabulon_1.0.0.1_<arch>.deb in package/" >&2; ls package >&2; exit 1; }

contents=$(dpkg-deb -c "${deb[0]}")
fail=0
for entry in \
  './usr/lib/tabulon/tabulon' \
  './usr/lib/tabulon/template.htm' \
  './usr/lib/tabulon/tabulon.HLP' \
  './usr/bin/tabulon -> ../lib/tabulon/tabulon' \
  './usr/share/applications/tabulon.desktop' \
  './usr/share/icons/hicolor/16x16/apps/tabulon.png' \
  './usr/share/icons/hicolor/32x32/apps/tabulon.png' \
  './usr/share/doc/tabulon/copyright'; do
  if ! grep -qF -- " $entry" <<<"$contents"; then
    echo "missing from the package: $entry" >&2
    fail=1
  fi
done

depends=$(dpkg-deb -f "${deb[0]}" Depends)
for need in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
  if ! grep -q "$need" <<<"$depends"; then
    echo "the package does not depend on $need: $depends" >&2
    fail=1
  fi
done
[[ $(dpkg-deb -f "${deb[0]}" Version) == 1.0.0.1 ]] || { echo "wrong version" >&2; fail=1; }
exit $fail
