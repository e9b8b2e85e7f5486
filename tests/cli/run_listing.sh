#!/usr/bin/env bash
# The real tabulon-cli on whole PCG files of both layouts: --list in its three formats, read
# back by Python's own csv and json readers, and --all-banks reports.
#   run_listing.sh <folder of the executables>
set -euo pipefail

bin_dir=$1
cli=$bin_dir/tabulon-cli
work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-listing-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
export HOME=$work/home XDG_DATA_HOME=$work/data

fail() {
  echo "listing: $*" >&2
  exit 1
}
command -v python3 >/dev/null || fail "python3 is missing (scripts/install-deps installs it)"

"$bin_dir/write_instrument_pcg" classic classic.pcg
"$bin_dir/write_instrument_pcg" later later.pcg
# Names that would break a line or a column, and bytes of the report's charset beyond ASCII.
printf 'Tab\there\nSay "hi", all\nCaf\351 \200 \226 x\nEsc\033[31mRed\001\n  \\back  \n' >odd.txt
"$bin_dir/write_names_pcg" odd.txt odd.pcg

# --- the listing -----------------------------------------------------------------------------
"$cli" --list later.pcg >later.tsv
[[ $(wc -l <later.tsv) == 3851 ]] || fail "later model: $(wc -l <later.tsv) slots, not 3851"
counts=$(cut -f1 later.tsv | uniq -c | awk '{ printf "%s:%s ", $2, $1 }')
[[ $counts == "program:1664 combination:1536 drumkit:144 arpeggio:507 " ]] ||
  fail "later model, kinds in file order: $counts"
for line in $'program\tA000\tP-A000 MWMWMWMWM' $'program\tE127\tInitialProgE127' \
  $'program\tF005\tP-F005 MWMWMWMWM' $'program\tN127\tInitialProgN127' \
  $'combination\tN000\tInitialCombiN000' $'drumkit\t143\tDrumkit143' \
  $'arpeggio\t506\tArpeggioPat506'; do
  grep -qxF "$line" later.tsv || fail "later model: no line '$line'"
done
"$cli" --list classic.pcg >classic.tsv
[[ $(wc -l <classic.tsv) == 1368 ]] && ! grep -qP '^program\t[FH-N]' classic.tsv ||
  fail "classic: $(wc -l <classic.tsv) slots, or banks it does not hold"

# Several files: the file first; one that cannot be read is reported and the rest listed.
status=0
"$cli" --list odd.pcg missing.pcg classic.pcg >several.tsv 2>err || status=$?
[[ $status == 1 && $(cat err) == "tabulon-cli: missing.pcg: Error : The named PCG file does not exist !. (missing.pcg: No such file or directory)" ]] ||
  fail "a missing file among several: status $status, '$(cat err)'"
[[ $(grep -c $'^classic.pcg\tprogram\t' several.tsv) == 640 ]] || fail "several files: no file column"
# TSV: control characters are spaces, the rest is UTF-8 of Windows-1252, names trimmed.
expected_odd=$'odd.pcg\tprogram\tA000\tTab here\nodd.pcg\tprogram\tA001\tSay "hi", all
odd.pcg\tprogram\tA002\tCafé € – x\nodd.pcg\tprogram\tA003\tEsc [31mRed \nodd.pcg\tprogram\tA004\t\\back'
[[ $(grep '^odd.pcg' several.tsv) == "$expected_odd" ]] || fail "odd names in TSV: $(grep '^odd' several.tsv | cat -A)"

# CSV and JSON, read by their own parsers, give the very same rows (controls aside).
"$cli" --list --format=csv odd.pcg classic.pcg later.pcg >all.csv
"$cli" --list --format json odd.pcg classic.pcg later.pcg >all.json
"$cli" --list odd.pcg classic.pcg later.pcg >all.tsv
python3 - all.csv all.json all.tsv <<'PY' || fail "CSV or JSON differ from TSV"
import csv, json, re, sys
with open(sys.argv[1], newline="", encoding="utf-8") as f:
    raw = f.read()
assert raw.endswith("\r\n") and "\n" not in raw.replace("\r\n", ""), "CSV lines end in CR LF"
rows = list(csv.reader(raw.splitlines(keepends=True)))
assert rows[0] == ["file", "kind", "slot", "name"], rows[0]
with open(sys.argv[2], encoding="utf-8") as f:
    files = json.load(f)
from_json = [[f["file"], s["kind"], s["slot"], s["name"]] for f in files for s in f["slots"]]
spaced = lambda row: [re.sub(r"[\x00-\x1f\x7f-\x9f]", " ", v) for v in row]
with open(sys.argv[3], encoding="utf-8") as f:
    tsv = [line.rstrip("\n").split("\t") for line in f]
assert rows[1:] == from_json, "CSV and JSON rows differ"
assert [spaced(r) for r in from_json] == tsv, "TSV rows differ"
assert from_json[3][3] == "Esc\x1b[31mRed\x01" and from_json[0][3] == "Tab\there"
assert all(s["bank"] == s["slot"][0] for f in files for s in f["slots"] if s["kind"] == "program")
PY
"$cli" --list --format csv classic.pcg | head -n2 | cmp - <(printf 'kind,slot,name\r\nprogram,A000,P-A000 MWMWMWMWM\r\n') ||
  fail "one file's CSV has a file column"

for usage in "--list" "--format csv classic.pcg r.htm" "--list --format xml classic.pcg" \
  "--list -d out classic.pcg" "--list --all-banks classic.pcg"; do
  status=0
  # shellcheck disable=SC2086 # each case is a list of words
  "$cli" $usage >out 2>err || status=$?
  [[ $status == 2 ]] || fail "'$usage': status $status, not 2"
done

# A file cut short is listed as far as it goes, and said to be; so is it reported.
head -c 1000000 later.pcg >half.pcg
half_slots=1872  # every program, a bank of 128 combinations and 80 records begun
status=0
"$cli" --list half.pcg >half.tsv 2>err || status=$?
[[ $status == 1 && $(cat err) == "tabulon-cli: half.pcg: the file ends at byte 1000000, its chunks say $(stat -c %s later.pcg); $half_slots slots listed" ]] ||
  fail "a file cut short: status $status, '$(cat err)'"
[[ $(wc -l <half.tsv) == "$half_slots" ]] && cmp -s half.tsv <(head -n $half_slots later.tsv) || fail "a file cut short lists other slots"
status=0
"$cli" --all-banks half.pcg half.htm 2>err || status=$?
[[ $status == 1 && $(cat err) == "tabulon-cli: half.pcg: the file ends at byte 1000000, its chunks say $(stat -c %s later.pcg); $half_slots slots reported" && -s half.htm ]] ||
  fail "an every-bank report of a file cut short: status $status, '$(cat err)'"
"$cli" half.pcg half.htm || fail "the classic report of a file cut short failed"

# Standard output that is one of the inputs is refused before anything is written.
cp classic.pcg own.pcg
for redirect in '>>own.pcg' '1<>own.pcg'; do
  status=0
  eval "\"\$cli\" --list later.pcg own.pcg $redirect 2>err" || status=$?
  [[ $status == 1 && $(cat err) == "tabulon-cli: own.pcg: input file is output file" ]] ||
    fail "listing into an input ($redirect): status $status, '$(cat err)'"
  cmp -s own.pcg classic.pcg || fail "listing into an input ($redirect) changed it"
done

# Under a memory limit: a line and status 1, never an abort. (AddressSanitizer's own memory
# cannot live under one; below the limits here the system's loader gives up before the program
# starts, with status 127.)
if ! ldd "$cli" | grep -q libasan; then
  exhausted=0
  for kib in $(seq 5000 250 12000); do
    status=0
    (ulimit -v "$kib" && exec "$cli" --list later.pcg) >/dev/null 2>err || status=$?
    if [[ $status == 1 && $(cat err) == "tabulon-cli: memory exhausted" ]]; then
      exhausted=$((exhausted + 1))
    elif [[ $status != 0 && $status != 127 ]]; then
      fail "under a limit of $kib KiB: status $status, '$(cat err)'"
    fi
  done
  ((exhausted > 0 && status == 0)) || fail "no limit ran out of memory, or the last was too small"
fi

# --- every bank in a report --------------------------------------------------------------------
for layout in classic later; do
  "$cli" --all-banks "$layout.pcg" "$layout.htm"
  # Every listed name is in the report, after its slot label.
  python3 - "$layout.tsv" "$layout.htm" <<'PY' || fail "$layout: the all-banks report lacks names"
import html, re, sys
cells = {(slot, html.unescape(name)) for slot, name in
         re.findall(r'<span class="num">(.*?)</span><span class="name">(.*?)</span>',
                    open(sys.argv[2], encoding="cp1252").read())}
for kind, slot, name in (line.rstrip("\n").split("\t") for line in open(sys.argv[1], encoding="utf-8")):
    assert (slot, name) in cells, (kind, slot, name)
PY
done
headings=$(grep -o '<h[23][^>]*>[^<]*' classic.htm | sed 's/<h[^>]*>//' | tr '\n' ,)
[[ $headings == "Programs,Bank A,Bank B,Bank C,Bank D,Bank E,Combinations,Bank A,Bank B,Bank C,Bank D,Drum kits,000&ndash;015,Arpeggio patterns,000&ndash;127,128&ndash;199," ]] ||
  fail "classic: headings $headings"
grep -q '<title>classic.pcg &ndash; Patch list, every bank</title>' classic.htm || fail "the title does not name the file"
# --template wins over --all-banks; the default report of a later model's file is its first 128.
printf '<%%PROGRAM_N127%%>\n' >n127.htm
"$cli" --all-banks --template n127.htm later.pcg - | cmp - <(printf 'InitialProgN127\r\n') ||
  fail "--template did not win over --all-banks"
"$cli" later.pcg - | grep -c '<span class="name">P-A' | grep -qx 128 || fail "a later model's default report"
# Saves of combinations alone, or without programs first, are reported by every-bank layouts.
"$bin_dir/write_instrument_pcg" combinations combinations.pcg
"$cli" --all-banks combinations.pcg combinations.htm || fail "an every-bank report of combinations alone"
grep -q '<h2>Combinations</h2>' combinations.htm || fail "the combinations' report shows none"
echo "listing: passed"
