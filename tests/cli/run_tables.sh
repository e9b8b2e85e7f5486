#!/usr/bin/env bash
# The real tabulon-cli's tables: --compare and --duplicates and their exit statuses, and
# spreadsheets (--format ods) read back by a real spreadsheet program, cell for cell, beside
# the listing; -O replacing a file whole, never an input.
#   run_tables.sh <folder of the executables>
set -euo pipefail

bin_dir=$1
cli=$bin_dir/tabulon-cli
work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-tables-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
export HOME=$work/home XDG_DATA_HOME=$work/data LC_ALL=C.UTF-8

fail() {
  echo "tables: $*" >&2
  exit 1
}
# Skipped (ctest's code 77) without the spreadsheet program, as on a package builder.
command -v ssconvert >/dev/null || { echo "tables: skipped: ssconvert (gnumeric) is not installed" >&2; exit 77; }

for layout in classic later later-edited duplicates; do
  "$bin_dir/write_instrument_pcg" "$layout" "$layout.pcg"
done
# Runs the program; its exit status, standard output and error land in $status, out and err.
run() {
  status=0
  "$cli" "$@" >out 2>err || status=$?
}

# --- what changed ------------------------------------------------------------------------------
run --compare later.pcg later-edited.pcg
[[ $status == 1 && ! -s err ]] || fail "--compare: status $status, $(cat err)"
{
  printf 'renamed\tprogram\tA005\tP-A005 MWMWMWMWM\tRenamed Lead\n'
  for k in $(seq 0 127); do printf 'removed\tprogram\tK%03d\tP-K%03d MWMWMWMWM\t\n' "$k" "$k"; done
  printf 'changed\tcombination\tB010\tC-B010 MWMWMWMWM\tC-B010 MWMWMWMWM\n'
} | cmp - out || fail "--compare lists other slots: $(head -n 3 out)"
run --compare later-edited.pcg later.pcg --format csv
[[ $status == 1 && $(head -n 2 out) == $'status,kind,slot,old_name,new_name\r\nrenamed,program,A005,Renamed Lead,P-A005 MWMWMWMWM\r' &&
  $(grep -c '^added,program,K' out) == 128 ]] || fail "--compare, CSV: $(head -n 2 out)"
run --compare --format=json later.pcg later.pcg
[[ $status == 0 && $(cat out) == "[]" ]] || fail "a file against itself: status $status, $(cat out)"
head -c 1000000 later.pcg >half.pcg
for pair in "later.pcg half.pcg" "missing.pcg later.pcg"; do
  # shellcheck disable=SC2086 # two operands
  run --compare $pair
  [[ $status == 2 && ! -s out && $(wc -l <err) == 1 ]] || fail "--compare $pair: status $status, $(cat err)"
done
run --compare later.pcg half.pcg
grep -q "^tabulon-cli: half.pcg: the file ends at byte 1000000, its chunks say .*; nothing compared$" err ||
  fail "a file cut short is compared: $(cat err)"

# --- what is there twice -------------------------------------------------------------------------
run --duplicates duplicates.pcg ./duplicates.pcg duplicates.pcg
[[ $status == 1 ]] || fail "--duplicates: status $status, $(cat err)"
printf '1\tsound\tduplicates.pcg\tprogram\tA000\tPiano One\n1\tsound\tduplicates.pcg\tprogram\tA001\tPiano Two
2\tname\tduplicates.pcg\tprogram\tA002\tPhat Bass\n2\tname\tduplicates.pcg\tprogram\tA003\tPhat Bass\n' |
  cmp - out || fail "--duplicates: $(cat out)"
run --duplicates --all --format json duplicates.pcg
python3 - out <<'PY' || fail "--duplicates --all, JSON: $(cat out)"
import json, sys
rows = json.load(open(sys.argv[1]))
assert set(rows[0]) == {"group", "reason", "file", "kind", "slot", "name"}
placeholders = [r for r in rows if r["group"] == "3"]
assert [r["slot"] for r in placeholders] == ["A%03d" % k for k in range(6, 16)], placeholders
assert all(r["reason"] == "sound" for r in placeholders) and len(rows) == 14
PY
run --duplicates later.pcg
[[ $status == 0 && ! -s out ]] || fail "the factory-like file holds duplicates: $status $(head -n 3 out)"
# Across files, a sound both hold is one: the classic file's programs are the later one's too.
run --duplicates classic.pcg later.pcg
[[ $status == 1 && $(head -n 2 out) == $'1\tsound\tclassic.pcg\tprogram\tA000\tP-A000 MWMWMWMWM\n1\tsound\tlater.pcg\tprogram\tA000\tP-A000 MWMWMWMWM' ]] ||
  fail "sounds across files: $status $(head -n 2 out)"

# --- spreadsheets, read back by a spreadsheet program --------------------------------------------
# Names a spreadsheet would take for something else: a formula, a quote, runs of spaces.
printf '%s\n' "=cmd|'/c calc'!A" "'round the Piano" 'Two  spaces  x' '+1' '0042' >odd.txt
"$bin_dir/write_names_pcg" odd.txt odd.pcg
# Each sheet of the spreadsheet $1 as CSV, beside the listing of that kind with the columns
# $2 (the listing's own sheets' header) of the files that follow, cell for cell.
same_cells() {
  local ods=$1 columns=$2
  shift 2
  rm -rf sheets && mkdir sheets
  ssconvert -S --export-type=Gnumeric_stf:stf_csv "$ods" 'sheets/%n.csv' >/dev/null 2>&1 ||
    fail "ssconvert cannot read $ods"
  "$cli" --list -o "kind,$columns" "$@" >listing.tsv
  python3 - listing.tsv sheets "$columns" <<'PY'
import csv, sys
rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[1], encoding="utf-8")]
header = sys.argv[3].split(",")
for n, kind in enumerate(["program", "combination", "drumkit", "arpeggio"]):
    with open("%s/%d.csv" % (sys.argv[2], n), newline="", encoding="utf-8") as f:
        sheet = list(csv.reader(f))
    want = [header] + [r[1:] for r in rows if r[0] == kind]
    assert sheet == want, (kind, [(a, b) for a, b in zip(sheet, want) if a != b][:3], len(sheet), len(want))
PY
}
"$cli" --list --format ods -O listing.ods classic.pcg
same_cells listing.ods kind,slot,name classic.pcg || fail "the spreadsheet of the classic file differs"
"$cli" --list --format ods -O listing.ods odd.pcg later.pcg
same_cells listing.ods file,kind,slot,name odd.pcg later.pcg || fail "the spreadsheet of two files differs"
"$cli" --list -o slot,name,category,uses --format ods later.pcg >columns.ods
same_cells columns.ods slot,name,category,uses later.pcg || fail "the spreadsheet of -o's columns differs"
run --compare --format ods later.pcg later-edited.pcg
[[ $status == 1 ]] && unzip -p out content.xml | grep -q '<table:table table:name="Programs">' ||
  fail "--compare as a spreadsheet: $status $(cat err)"
# The same table is the same bytes, and a terminal gets none.
"$cli" --list --format ods classic.pcg | cmp - <("$cli" --list --format ods classic.pcg) || fail "two spreadsheets of one file differ"
status=0
script -qec "$cli --list --format ods classic.pcg" /dev/null >tty.out 2>&1 || status=$?
grep -q "a spreadsheet is no text for a terminal" tty.out || fail "a spreadsheet went to a terminal: $(head -c 200 tty.out)"

# --- -O: replaced whole, never an input --------------------------------------------------------------
printf 'old\n' >list.tsv
"$cli" --list -O list.tsv classic.pcg
cmp list.tsv <("$cli" --list classic.pcg) || fail "-O did not replace the file"
run --list -O classic.pcg classic.pcg later.pcg
[[ $status == 1 && $(cat err) == "tabulon-cli: classic.pcg: input file is output file" ]] &&
  cmp -s classic.pcg <("$bin_dir/write_instrument_pcg" classic /dev/stdout) || fail "-O wrote an input: $(cat err)"
run --compare -O nowhere/x.tsv classic.pcg later.pcg
[[ $status == 2 && ! -e nowhere ]] || fail "-O into a missing folder: $status $(cat err)"
[[ -z $(find . -name '.*.tmp') ]] || fail "temporary files left"
echo "tables: passed"
