#!/usr/bin/env bash
# Builds the Debian package as it ships (the release preset, in a folder of its own) and checks
# what it holds and needs, that Debian's own checkers find nothing to object to, and that the
# package does not depend on where or when it was built.
#   check_deb.sh <source folder> <work folder> [<folder of the test programs>]
set -euo pipefail
source=$(cd "$1" && pwd)
work=$2
app_id=io.github.tabulon.tabulon

mkdir -p "$work"
log=$work/build.log
{
  cmake -S "$source" --preset release -B "$work" &&
    cmake --build "$work" &&
    rm -rf "$work/package" &&
    (cd "$work" && cpack -G DEB)
} >"$log" 2>&1 || { cat "$log"; exit 1; }
deb=("$work"/package/tabulon_1.0.0.1_*.deb)
[[ -f "${deb[0]}" ]] || { echo "no tabulon_1.0.0.1_<arch>.deb in package/" >&2; ls "$work/package" >&2; exit 1; }
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
[[ $(dpkg-deb -f "${deb[0]}" Version) == 1.0.0.1 ]] || problem "wrong version"

# The command-line program as installed: through its link in bin it finds the template in the
# program folder, and its report is the dialog's, byte for byte.
if [[ -n ${3:-} ]]; then
  "$3/write_instrument_pcg" "$work/triton.pcg"
  XDG_DATA_HOME=$work/no-data "$root/usr/bin/tabulon-cli" "$work/triton.pcg" "$work/report.htm" &&
    cmp "$work/report.htm" "$source/tests/data/instrument_report.htm" ||
    problem "the installed tabulon-cli does not make the expected report"
fi

# --- Debian's checkers ------------------------------------------------------------------------
# Every tag is shown; errors and warnings fail.
if ! lintian_out=$(lintian --fail-on error,warning --display-info --pedantic "${deb[0]}" 2>&1); then
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
if grep -qE '^[EWI]:' <<<"$metainfo_out"; then
  problem "appstreamcli validate: $metainfo_out"
fi
desktop_out=$(desktop-file-validate "$root/usr/share/applications/$app_id.desktop" 2>&1) || true
[[ -z "$desktop_out" ]] || problem "desktop-file-validate: $desktop_out"

# --- Independent of where and when it was built -----------------------------------------------
if grep -rlF -e "$source" "$root" >&2; then
  problem "these files name the folder they were built in"
fi
# Every time stamp is the last commit's (or SOURCE_DATE_EPOCH's, when that is set).
if epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct 2>/dev/null)}; then
  want=$(TZ=UTC date -d "@$epoch" '+%Y-%m-%d %H:%M:%S')
  stamps=$(dpkg-deb --fsys-tarfile "${deb[0]}" | TZ=UTC tar -tv --full-time | awk '{ print $4 " " $5 }' | sort -u)
  [[ "$stamps" == "$want" ]] || problem "time stamps in the package are not all $want: $stamps"
fi
exit $fail
