#!/usr/bin/env bash
# Prints the reports of banks of long and wide patch names, as a browser prints them, on A4 and
# on US Letter in portrait, and checks that every name comes out whole and each report keeps
# to one page; then the same for the report of every bank of files of both layouts, on as
# many pages as it takes. The PDFs and a picture of each (first) page stay in the output folder.
#   print_report.sh <folder of the executables> <template.htm> <folder of the name banks> <output folder>
set -euo pipefail

bin_dir=$1
template=$2
banks_dir=$3
out_dir=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-print-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$out_dir"

fail() {
  echo "print: $*" >&2
  exit 1
}

# Skipped (ctest's code 77) where there is no browser to print with, as on a package builder.
for tool in chromium dbus-run-session pdftotext pdfinfo pdftoppm iconv; do
  command -v "$tool" >/dev/null || { echo "print: skipped: $tool is not installed" >&2; exit 77; }
done

# One entry a line, its number and name with every run of white space made one space, so
# that how the PDF spaces the words does not matter; a name cut short or broken across lines
# no longer matches its entry.
squeeze() {
  LC_ALL=C sed -E 's/[[:space:]]+/ /g; s/^ //; s/ $//'
}

# The words of the PDF $1 that overlap another word on their page: a name that spills into the
# next column is whole as text, yet not readable on paper.
overprinted() {
  pdftotext -bbox "$1" - | awk -F'"' '
    function check(  i, j) {
      for (i = 1; i <= n; i++) {
        for (j = i + 1; j <= n; j++) {
          if (x0[i] < x1[j] && x0[j] < x1[i] && y0[i] < y1[j] && y0[j] < y1[i]) {
            print words[i] " over " words[j]
          }
        }
      }
      n = 0
    }
    /<page / { check() }
    /<word / {
      n++
      x0[n] = $2 + 0; y0[n] = $4 + 0; x1[n] = $6 + 0; y1[n] = $8 + 0
      words[n] = $9
      sub(/^>/, "", words[n])
      sub(/<.*/, "", words[n])
    }
    END { check() }'
}

# Prints $1 (HTML) to the PDF $2; the paper comes from the page style, as a print dialog's
# choice would give it.
print_to_pdf() {
  local profile
  profile=$(mktemp -d "$work/profile-XXXXXX")
  # A fresh profile, home, cache and session bus each time (never the desktop's bus), and
  # nothing that reaches for the network.
  HOME="$profile" XDG_CACHE_HOME="$profile/.cache" dbus-run-session -- \
    timeout 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --print-to-pdf="$2" --no-pdf-header-footer "file://$1" \
    >"$work/chromium.log" 2>&1 || { cat "$work/chromium.log" >&2; fail "chromium could not print $1"; }
  [[ -s "$2" ]] || { cat "$work/chromium.log" >&2; fail "chromium wrote no PDF for $1"; }
}

# Checks that every line of the file $2 is a line of the PDF $1, and that nothing in the PDF is
# printed over anything else; $3 names the PDF in messages. Sets failed on a fault.
check_printed() {
  local text=$work/printed.txt missing status=0 clashes
  # In the order the page was drawn, each entry is one line of its own, however wide the
  # gaps inside a name are.
  pdftotext -raw -enc UTF-8 "$1" - | squeeze >"$text"
  clashes=$(overprinted "$1")
  if [[ -n "$clashes" ]]; then
    echo "print: $3: these words overprint others:" >&2
    echo "$clashes" | head -n 20 >&2
    failed=1
  fi
  missing=$(LC_ALL=C grep -vxF -f "$text" "$2") || status=$?
  ((status <= 1)) || fail "could not compare the names of $1"
  if ((status == 0)); then
    echo "print: $3: these names do not print whole:" >&2
    echo "$missing" | head -n 20 >&2
    failed=1
  fi
}

# paper name for the page style, and the name pdfinfo gives that size
papers=("A4:A4" "letter:letter")
failed=0

for bank in "$banks_dir"/wide_names.txt "$banks_dir"/factory_like_names.txt; do
  name=$(basename "$bank" _names.txt)
  [[ $(wc -l <"$bank") -eq 128 ]] || fail "$bank must hold 128 names"
  "$bin_dir/write_names_pcg" "$bank" "$work/$name.pcg"
  "$bin_dir/tabulon-cli" --template "$template" "$work/$name.pcg" "$work/$name.htm"

  iconv -f CP1252 -t UTF-8 "$bank" | awk '{ printf "%03d %s\n", NR - 1, $0 }' | squeeze \
    >"$work/$name.expected"

  for paper in "${papers[@]}"; do
    size=${paper%%:*}
    shown=${paper##*:}
    report="$work/$name-$size.htm"
    sed "s|</head>|<style>@page { size: $size portrait; }</style></head>|" "$work/$name.htm" >"$report"
    grep -q "@page { size: $size portrait; }" "$report" || fail "the report has no </head> to take the paper size"

    pdf="$out_dir/$name-$size.pdf"
    rm -f "$pdf" "$out_dir/$name-$size"-*.png
    print_to_pdf "$report" "$pdf"
    pdftoppm -png -r 60 "$pdf" "$out_dir/$name-$size"

    info=$(pdfinfo "$pdf")
    pages=$(awk '/^Pages:/ { print $2 }' <<<"$info")
    grep -q "^Page size:.*($shown)" <<<"$info" || fail "$pdf is not $shown paper: $(grep '^Page size' <<<"$info")"
    echo "print: $name on $size: $pages page(s)"
    if [[ "$pages" != 1 ]]; then
      echo "print: $name on $size takes $pages pages instead of one" >&2
      failed=1
    fi

    check_printed "$pdf" "$work/$name.expected" "$name on $size"
  done
done

# The report of every bank, of files of both layouts: as many pages as it needs, every slot
# label with its name whole on one line, nothing printed over anything else.
for layout in classic later; do
  "$bin_dir/write_instrument_pcg" "$layout" "$work/$layout.pcg"
  "$bin_dir/tabulon-cli" --all-banks "$work/$layout.pcg" "$work/$layout-all.htm"
  "$bin_dir/tabulon-cli" --list "$work/$layout.pcg" | awk -F'\t' '{ print $2 " " $3 }' | squeeze \
    >"$work/$layout-all.expected"
  for paper in "${papers[@]}"; do
    size=${paper%%:*}
    report="$work/$layout-all-$size.htm"
    sed "s|</head>|<style>@page { size: $size portrait; }</style></head>|" "$work/$layout-all.htm" >"$report"
    pdf="$out_dir/$layout-all-$size.pdf"
    rm -f "$pdf" "$out_dir/$layout-all-$size"-*.png
    print_to_pdf "$report" "$pdf"
    pdftoppm -png -r 60 -l 2 "$pdf" "$out_dir/$layout-all-$size"
    pdfinfo "$pdf" | grep -q "^Page size:.*(${paper##*:})" || fail "$pdf is not ${paper##*:} paper"
    echo "print: every bank of the $layout file on $size: $(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }') page(s)"
    check_printed "$pdf" "$work/$layout-all.expected" "every bank of the $layout file on $size"
  done
done

((failed == 0)) || fail "see above; the pages are in $out_dir"
echo "print: passed"
