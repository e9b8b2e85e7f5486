#!/usr/bin/env bash
# Makes the Debian source and binary packages of the files as they are now, as dpkg-buildpackage
# makes them, and checks what the package holds and needs, that Debian's own checkers find
# nothing to object to, and that the package does not depend on where or when it was built.
#   check_deb.sh <source folder> <work folder>
set -euo pipefail
source=$(cd "$1" && pwd)
work=$2
app_id=io.github.tabulon.tabulon

mkdir -p "$work"
find "$work" -maxdepth 1 -type f -name 'tabulon[_-]*' -delete
log=$work/build.log
# The test suite this check belongs to runs the tests; the package build leaves them out.
{
  tree=$("$source/scripts/make-source-tree" "$work") &&
    (cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" DEB_BUILD_PROFILES=nocheck \
      dpkg-buildpackage -us -uc)
} >"$log" 2>&1 || { cat "$log"; exit 1; }
version=$(dpkg-parsechangelog -l "$tree/debian/changelog" -S Version)
deb=("$work"/tabulon_"$version"_*.deb)
changes=("$work"/tabulon_"$version"_*.changes)
[[ -f "${deb[0]}" && -f "${changes[0]}" ]] ||
  { echo "no tabulon_${version}_<arch>.deb and .changes in $work" >&2; exit 1; }
root=$work/unpacked
rm -rf "$root"
dpkg-deb -x "${deb[0]}" "$root"

fail=0
problem() {
  echo "$*" >&2
  fail=1
}

# --- What the package holds and needs ---------------------------------------------------------
contents=$(dpkg-deb -c "${deb[0]}")
expected=(
  './usr/lib/tabulon/tabulon'
  './usr/lib/tabulon/template.htm'
  './usr/lib/tabulon/all-banks.htm'
  './usr/lib/tabulon/by-category.htm'
  './usr/lib/tabulon/combinations.htm'
  './usr/lib/tabulon/tabulon.HLP'
  './usr/bin/tabulon -> ../lib/tabulon/tabulon'
  './usr/lib/tabulon/tabulon-cli'
  './usr/bin/tabulon-cli -> ../lib/tabulon/tabulon-cli'
  "./usr/share/applications/$app_id.desktop"
  "./usr/share/metainfo/$app_id.metainfo.xml"
  './usr/share/icons/hicolor/scalable/apps/tabulon.svg'
  './usr/share/man/man1/tabulon.1.gz'
  './usr/share/man/man1/tabulon-cli.1.gz'
  './usr/share/doc/tabulon/copyright'
  './usr/share/doc/tabulon/changelog.gz'
  './usr/share/doc/tabulon/changelog.Debian.gz'
)
sizes=(16 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/tabulon.png")
done
for entry in "${expected[@]}"; do
  grep -qF -- " $entry" <<<"$contents" || problem "missing from the package: $entry"
done

for size in "${sizes[@]}"; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/tabulon.png
  [[ ! -f "$png" ]] || file -b "$png" | grep -q "PNG image data, $size x $size," ||
    problem "the ${size} px icon is not a ${size} by ${size} PNG: $(file -b "$png")"
done

depends=$(dpkg-deb -f "${deb[0]}" Depends)
for need in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
  grep -q "$need" <<<"$depends" || problem "the package does not depend on $need: $depends"
done
[[ $(dpkg-deb -f "${deb[0]}" Version) == "$version" ]] || problem "wrong version"

# The programs as installed: the version the package has, and through its link in bin the
# command-line program finds the template in the program folder (the package's own test).
[[ $("$root/usr/bin/tabulon-cli" --version) == "tabulon-cli ${version%-*}" ]] ||
  problem "tabulon-cli --version does not say ${version%-*}"
(cd "$tree" && PATH=$root/usr/bin:$PATH AUTOPKGTEST_TMP=$(mktemp -d "$work/cli-XXXXXX") debian/tests/cli) >&2 ||
  problem "debian/tests/cli fails on the package's files"

# CMake's rules alone, run under umask 077, install the same files with the same modes; only
# Debian's own (its changelog, lintian's overrides) are the package's alone.
listing() { (cd "$1" && find . -mindepth 1 -printf '%M %p %l\n' | sort); }
plain=$work/plain
rm -rf "$plain"
(umask 077 && DESTDIR=$plain cmake --install "$tree"/obj-* >/dev/null) || problem "cmake --install fails"
diff <(listing "$plain") <(listing "$root" | grep -v -e changelog.Debian -e /lintian) >&2 ||
  problem "a plain install under umask 077 differs from the package"

# --- Debian's checkers ------------------------------------------------------------------------
# On the source package, the binary packages and the upload alike, every tag fails but those
# overridden with a reason.
if ! lintian_out=$(lintian --fail-on error,warning,info,pedantic --display-info --pedantic \
  "${changes[0]}" 2>&1); then
  problem "lintian objects:"
fi
grep -v 'running with root privileges' <<<"$lintian_out" >&2 || true

# Control-flow protection is left out: Debian 12 does not build with it, and the flag exists on
# x86 only.
for program in "$root"/usr/lib/tabulon/*; do
  file -b "$program" | grep -q '^ELF' || continue
  hardening-check --nocfprotection --quiet "$program" >&2 || problem "not hardened: $program"
done

metainfo_out=$(appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$app_id.metainfo.xml" 2>&1) || true
# Debian 12's AppStream predates <developer> and calls it unknown, in an info; the rest fails.
if grep -E '^[EWI]:' <<<"$metainfo_out" | grep -qv ': unknown-tag developer$'; then
  problem "appstreamcli validate: $metainfo_out"
fi
desktop_out=$(desktop-file-validate "$root/usr/share/applications/$app_id.desktop" 2>&1) || true
[[ -z "$desktop_out" ]] || problem "desktop-file-validate: $desktop_out"

# --- Independent of where and when it was built -----------------------------------------------
if grep -rlF -e "$source" -e "$tree" "$root" >&2; then
  problem "these files name the folder they were built in"
fi
# Every time stamp is the date of the last entry in debian/changelog.
want=$(TZ=UTC date -d "@$(dpkg-parsechangelog -l "$tree/debian/changelog" -S Timestamp)" '+%Y-%m-%d %H:%M:%S')
stamps=$(dpkg-deb --fsys-tarfile "${deb[0]}" | TZ=UTC tar -tv --full-time | awk '{ print $4 " " $5 }' | sort -u)
[[ "$stamps" == "$want" ]] || problem "time stamps in the package are not all $want: $stamps"
exit $fail
