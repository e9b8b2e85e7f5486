#!/usr/bin/env bash
# Prints each shipped layout's report as a browser prints it, on A4 and on US Letter in
# portrait: the patch list of banks of long and wide names (and of a bank E that holds fewer
# than 128), on one page; every bank, the lists by category and the combinations with their
# programs of the factory-like files, on as many pages as they take. Checks that every slot
# prints whole on one line with its label, in the report's order, nothing over anything else,
# and that every page names the file, the kind and the bank or category of what it shows.
# The PDFs and a picture of the first pages of each stay in the output folder.
#   print_report.sh <folder of the executables> <folder of the name banks> <output folder>
set -euo pipefail

bin_dir=$1
banks_dir=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-print-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$3"
# The browser takes the reports by absolute file: URLs.
out_dir=$(cd "$3" && pwd)
# The shipped layouts, never a copy of the user's.
export XDG_DATA_HOME=$work/data

fail() {
  echo "print: $*" >&2
  exit 1
}

# Skipped (ctest's code 77) where there is no browser to print with, as on a package builder.
for tool in chromium dbus-run-session pdftotext pdfinfo pdftoppm iconv; do
  command -v "$tool" >/dev/null || { echo "print: skipped: $tool is not installed" >&2; exit 77; }
done

# Every run of spaces made one space, so that how the PDF spaces the words does not matter;
# a name cut short or broken across lines no longer matches its entry. The form feeds that
# end pages stay.
squeeze() {
  LC_ALL=C sed -E 's/[[:blank:]]+/ /g; s/^ //; s/ $//'
}

# --- What each report must show ---------------------------------------------------------------
# An expectation is one line a slot: its kind's heading, the title of the block it belongs to
# (its bank, its category, its numbers; empty on the one page of the patch list) and the line
# it prints as, tab-separated, in the report's order.

# The patch list of the names file $1 in bank $2.
expect_patch_list() {
  iconv -f CP1252 -t UTF-8 "$1" | LC_ALL=C awk -v bank="$2" '{
    line = sprintf("%s%03d %s", bank, NR - 1, $0)
    gsub(/[[:space:]]+/, " ", line); sub(/ $/, "", line)
    print "Programs\t\t" line
  }'
}

# The layout $1 of the PCG file $2, from the listing of its slots.
expect_layout() {
  "$bin_dir/tabulon-cli" --list -o kind,slot,name,category,uses "$2" | LC_ALL=C awk -F'\t' -v layout="$1" '
    BEGIN {
      heading["program"] = "Programs"; heading["combination"] = "Combinations"
      heading["drumkit"] = "Drum kits"; heading["arpeggio"] = "Arpeggio patterns"
    }
    function squeezed(s) { gsub(/[[:space:]]+/, " ", s); sub(/^ /, "", s); sub(/ $/, "", s); return s }
    function bank(slot) { sub(/[0-9][0-9][0-9]$/, "", slot); return "Bank " slot }
    function put(kind, title, line) { printf "%s\t%s\t%s\n", heading[kind], title, squeezed(line) }
    {
      n++; kind[n] = $1; slot[n] = $2; name[n] = $3; category[n] = $4; uses[n] = $5
      if ($1 == "program" && !($2 in program)) { program[$2] = $3 }
      # The factory-like files give their slots the categories in turn, so the order they
      # are first met in is the order of their numbers.
      if ($4 != "" && !(($1, $4) in met)) { met[$1, $4] = 1; order[$1, ++categories[$1]] = $4 }
    }
    END {
      if (layout == "all-banks") {
        for (i = 1; i <= n; i++) {
          k = kind[i]
          if (k == "drumkit" || k == "arpeggio") {
            # Numbered across their banks, in blocks of 128 titled by their first and last.
            if (seen[k]++ % 128 == 0) { first = i; last = i + 127 }
            while (kind[last] != k) { last-- }
            title = slot[first] "\342\200\223" slot[last]
          } else {
            title = bank(slot[i])
          }
          put(k, title, slot[i] " " name[i] (category[i] == "" ? "" : " " category[i]))
        }
      } else if (layout == "by-category") {
        split("program combination", kinds, " ")
        for (j = 1; j <= 2; j++) {
          k = kinds[j]
          for (c = 1; c <= categories[k] + 1; c++) {
            title = c <= categories[k] ? order[k, c] : ""
            for (i = 1; i <= n; i++) {
              if (kind[i] == k && category[i] == title) {
                put(k, title == "" ? "No category" : title, slot[i] " " name[i])
              }
            }
          }
        }
      } else if (layout == "combinations") {
        for (i = 1; i <= n; i++) {
          if (kind[i] != "combination") { continue }
          put("combination", bank(slot[i]), slot[i] " " name[i])
          u = split(uses[i], used, " ")
          for (j = 1; j <= u; j++) {
            put("combination", bank(slot[i]), used[j] (used[j] in program ? " " program[used[j]] : ""))
          }
        }
      }
    }'
}

# --- Printing ---------------------------------------------------------------------------------

# Prints $1 (HTML) to the PDF $2 on the paper $3 (A4 or letter), given in the page style as a
# print dialog's choice would give it, and keeps a picture of its first two pages.
print_to_pdf() {
  local profile report=${2%.pdf}.htm
  sed "s|</head>|<style>@page { size: $3 portrait; }</style></head>|" "$1" >"$report"
  grep -q "@page { size: $3 portrait; }" "$report" || fail "$1 has no </head> to take the paper size"
  profile=$(mktemp -d "$work/profile-XXXXXX")
  # A fresh profile, home, cache and session bus each time (never the desktop's bus), and
  # nothing that reaches for the network.
  HOME="$profile" XDG_CACHE_HOME="$profile/.cache" dbus-run-session -- \
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic \
    --no-first-run --disable-background-networking --disable-component-update --disable-sync \
    --disable-pdf-tagging \
    --user-data-dir="$profile" --print-to-pdf="$2" --no-pdf-header-footer "file://$report" \
    >"$profile.log" 2>&1 || { cat "$profile.log" >&2; fail "chromium could not print $1"; }
  [[ -s "$2" ]] || { cat "$profile.log" >&2; fail "chromium wrote no PDF for $1"; }
  rm -rf "$profile"
  pdftoppm -png -r 60 -l 2 "$2" "${2%.pdf}"
}

# --- Checks -----------------------------------------------------------------------------------

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

# Checks the PDF $1 against the expectation $2 for the PCG file named $3; $4 names the PDF in
# messages. The lines of the PDF that are slots must be the expected ones in their order (so
# each is whole, on one line with its label, and a combination's programs are under it), and
# every page must have a heading that names the file, the kind and the block of each slot on
# it: a block's heading ("Bank A · Programs · FILE", "Keyboard, continued · ..."), or on the
# patch list the page's ("FILE Patch list · Programs"). Sets failed on a fault.
check_printed() {
  local clashes faults
  clashes=$(overprinted "$1")
  if [[ -n "$clashes" ]]; then
    echo "print: $4: these words overprint others:" >&2
    echo "$clashes" | head -n 20 >&2
    failed=1
  fi
  # Pages end with a form feed.
  faults=$(pdftotext -raw -enc UTF-8 "$1" - | squeeze | LC_ALL=C awk -F'\t' -v file="$3" '
    NR == FNR { n++; kind[n] = $1; title[n] = $2; line[n] = $3; slot[$3] = 1; next }
    FNR == 1 { page = 1 }
    {
      text = $0
      while ((ff = index(text, "\f")) > 0) {
        take(substr(text, 1, ff - 1)); text = substr(text, ff + 1); page++
      }
      take(text)
    }
    function fault(message) { if (++faults <= 20) { print "page " page ": " message } }
    function take(text,  parts, p, t, i) {
      if (text == "") { return }
      pages = page
      p = split(text, parts, / \302\267 /)
      if (p >= 3 && parts[p] == file) {
        t = parts[1]
        for (i = 2; i < p - 1; i++) { t = t " \302\267 " parts[i] }
        sub(/, continued$/, "", t)
        named[page, parts[p - 1], t] = 1; headed[page] = 1
      } else if (p >= 2 && index(text, file " ") == 1) {
        named[page, parts[p], ""] = 1; headed[page] = 1
      } else if ((text in slot) && !misordered) {
        if (++k > n || line[k] != text) {
          misordered = 1
          fault("prints \"" text "\" where \"" line[k] "\" was expected")
        } else if (!((page, kind[k], title[k]) in named) && !((page, kind[k], title[k]) in told)) {
          told[page, kind[k], title[k]] = 1
          fault("\"" text "\" and what follows are under no heading that names " kind[k] \
                (title[k] == "" ? "" : ", " title[k]) " and " file)
        }
      }
    }
    END {
      if (k < n && !misordered) { page = "-"; fault((n - k) " slots are missing or not whole, from \"" line[k + 1] "\" on") }
      for (page = 1; page <= pages; page++) {
        if (!(page in headed)) { fault("no heading names the file and the kind") }
      }
    }' "$2" -)
  if [[ -n "$faults" ]]; then
    echo "print: $4:" >&2
    echo "$faults" >&2
    failed=1
  fi
}

# --- The reports ------------------------------------------------------------------------------

# Each report to print: its name here, its layout and its PCG file; what it must show is in
# $work/<name>.expected.
reports=()
head -n 100 "$banks_dir/wide_names.txt" >"$work/short_names.txt"
for bank in wide:A factory_like:A short:E; do
  name=${bank%%:*}
  names=$banks_dir/${name}_names.txt
  if [[ $name == short ]]; then
    names=$work/short_names.txt
  else
    [[ $(wc -l <"$names") -eq 128 ]] || fail "$names must hold 128 names"
  fi
  "$bin_dir/write_names_pcg" "$names" "$work/$name.pcg" "${bank##*:}"
  expect_patch_list "$names" "${bank##*:}" >"$work/$name.expected"
  reports+=("$name patch-list $name.pcg")
done
for file in classic later; do
  "$bin_dir/write_instrument_pcg" "$file" "$work/$file.pcg"
done
reports+=("classic-all all-banks classic.pcg" "later-all all-banks later.pcg"
          "classic-by-category by-category classic.pcg"
          "classic-combinations combinations classic.pcg")

# paper name for the page style, and the name pdfinfo gives that size
papers=("A4:A4" "letter:letter")
failed=0

# Two prints at a time: a browser seldom keeps both cores busy.
running=0
for entry in "${reports[@]}"; do
  read -r name layout pcg <<<"$entry"
  "$bin_dir/tabulon-cli" --layout "$layout" "$work/$pcg" "$work/$name.htm"
  [[ -f "$work/$name.expected" ]] || expect_layout "$layout" "$work/$pcg" >"$work/$name.expected"
  [[ -s "$work/$name.expected" ]] || fail "nothing to expect of $name"
  for paper in "${papers[@]}"; do
    rm -f "$out_dir/$name-${paper%%:*}".* "$out_dir/$name-${paper%%:*}"-*.png
    print_to_pdf "$work/$name.htm" "$out_dir/$name-${paper%%:*}.pdf" "${paper%%:*}" &
    if ((++running >= 2)); then
      wait -n || failed=1
      ((running--))
    fi
  done
done
while ((running-- > 0)); do
  wait -n || failed=1
done
((failed == 0)) || fail "a report could not be printed"

for entry in "${reports[@]}"; do
  read -r name layout pcg <<<"$entry"
  for paper in "${papers[@]}"; do
    size=${paper%%:*}
    pdf=$out_dir/$name-$size.pdf
    info=$(pdfinfo "$pdf")
    pages=$(awk '/^Pages:/ { print $2 }' <<<"$info")
    grep -q "^Page size:.*(${paper##*:})" <<<"$info" || fail "$pdf is not ${paper##*:} paper: $(grep '^Page size' <<<"$info")"
    echo "print: $name ($layout) on $size: $pages page(s)"
    if [[ $layout == patch-list && $pages != 1 ]]; then
      echo "print: $name on $size takes $pages pages instead of one" >&2
      failed=1
    fi
    check_printed "$pdf" "$work/$name.expected" "$pcg" "$name on $size"
  done
done

# The slots past the last of the short bank's 100 programs take no room: four columns of 25,
# never longer ones that make room for empty boxes at the foot of the last.
for size in A4 letter; do
  rows=$(pdftotext -bbox "$out_dir/short-$size.pdf" - | awk -F'"' '
    /<word / && />E[0-9][0-9][0-9]</ { n++; x[n] = int($2); if (/>E000</) { first = int($2) } }
    END { for (i = 1; i <= n; i++) { if (x[i] == first) { rows++ } } print rows + 0 }')
  if [[ $rows != 25 ]]; then
    echo "print: the short bank on $size has $rows rows in its first column, not 25" >&2
    failed=1
  fi
done

((failed == 0)) || fail "see above; the pages are in $out_dir"
echo "print: passed"
