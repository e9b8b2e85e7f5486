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
  "--list -d out classic.pcg" "--list --all-banks classic.pcg" "--list -o slot,colour classic.pcg" \
  "--list -o '' classic.pcg" "-o slot classic.pcg r.htm" "--list --layout by-category classic.pcg" \
  "--layout nowhere classic.pcg r.htm" "--layout ../x classic.pcg r.htm" \
  "--layout combinations --all-banks classic.pcg r.htm"; do
  status=0
  eval "\"\$cli\" $usage" >out 2>err || status=$?
  [[ $status == 2 && ! -e r.htm ]] || fail "'$usage': status $status, not 2"
done
"$cli" --layout ../x classic.pcg r.htm 2>err || true
grep -qx "tabulon-cli: unknown layout '../x'; patch-list, all-banks, by-category, combinations" err ||
  fail "an unknown layout's message: $(cat err)"

# What the instrument shows beside each name: the columns asked for, in their order, and JSON
# with every field; checked against the factory-like files' own rules, worked out here anew.
"$cli" --list -o slot,category,name classic.pcg | head -n 2 | cmp - <(printf 'A000\tKeyboard\tP-A000 MWMWMWMWM\nA001\tOrgan\tP-A001 MWMWMWMWM\n') ||
  fail "-o: $("$cli" --list -o slot,category,name classic.pcg | head -n 2)"
"$cli" --list --format csv -o used_by,slot classic.pcg | head -n 1 | cmp - <(printf 'used_by,slot\r\n') ||
  fail "the CSV header does not follow -o"
for layout in classic later; do
  "$cli" --list -o file,kind,bank,slot,name,category,uses,used_by "$layout.pcg" >"$layout-all.tsv"
  "$cli" --list --format json "$layout.pcg" >"$layout.json"
done
python3 - <<'PY' || fail "categories, uses or users differ from the files' own"
import json
PROGRAMS = ["Keyboard", "Organ", "Bell/Mallet", "Strings", "Vocal/Airy", "Brass", "Woodwind/Reed",
            "Guitar/Plucked", "Bass", "SlowSynth", "FastSynth", "LeadSynth", "MotionSynth", "SE",
            "Hit/Arpg", "Drums"]
COMBIS = ["Keyboard", "Organ", "Bell/Mallet/Perc", "Strings", "BrassReed", "Orchestral", "World",
          "Guitar/Plucked", "Pads", "MotionSynth", "Synth", "LeadSplits", "BassSplits",
          "Complex & SE", "RhythmicPattern", "Ds/Hits"]
def bank(code, extreme):
    if code < 5: return "ABCDE"[code]
    if code >= 17: return chr(ord("H") + code - 17) if extreme else "EXB-" + chr(ord("A") + code - 17)
    return {6: "G", 7: "g(1)", 16: "g(d)"}.get(code, "g(%d)" % (code - 6))
def uses(n, extreme):
    # The builder's eight timbres of the n-th combination: (number, code, status).
    number = lambda t: (n + 7 * t) % 128
    timbres = [(number(0), n % 5, 0), (number(1), 6, 2), (number(2), n % 5, 1), (number(3), 7, 0),
               (number(4), n % 5, 3), (number(0), n % 5, 2), (number(6), 30, 0), (number(7), 17, 0)]
    played = []
    for num, code, status in timbres:
        slot = bank(code, extreme) + "%03d" % num if code < 25 else None
        if status in (0, 2) and slot and slot not in played:
            played.append(slot)
    return played
for name, extreme in (("classic", False), ("later", True)):
    rows = [line.rstrip("\n").split("\t") for line in open(name + "-all.tsv", encoding="utf-8")]
    [listing] = json.load(open(name + ".json", encoding="utf-8"))
    slots = listing["slots"]
    assert len(rows) == len(slots) and all(set(s) == {"kind", "bank", "slot", "name", "category", "uses", "used_by"} for s in slots)
    counts = {}
    users = {}
    for row, s in zip(rows, slots):
        file, kind, bank_label, slot, label, category, used, used_by = row
        assert [kind, bank_label, slot, category, used.split(), used_by.split()] == \
               [s["kind"], s["bank"], s["slot"], s["category"], s["uses"], s["used_by"]], row
        n = counts[kind] = counts.get(kind, -1) + 1
        if kind in ("drumkit", "arpeggio"):
            assert bank_label == "" and category == "" and not used, row
            continue
        assert slot.startswith(bank_label) and len(slot) == len(bank_label) + 3, row
        assert category == (PROGRAMS if kind == "program" else COMBIS)[n % 16], row
        assert used.split() == (uses(n, extreme) if kind == "combination" else []), row
        for program in used.split():
            users.setdefault(program, []).append(slot)
    for row in rows:
        if row[1] == "program":
            assert row[7].split() == users.get(row[3], []), row
    assert counts["combination"] + 1 == (512 if name == "classic" else 1536)
PY

# The same in the keys of a template of one's own, and the lists.
printf '%s\n' '<%PROGRAM_A001_CATEGORY%>|<%COMBI_A013_CATEGORY%>|<%COMBI_A000_USES%>|<%PROGRAM_A000_USED_BY%>' \
  '<%PATCHSLOT_000%>|<%PATCHSLOT_127%>|<%PROGRAM_F000%>|<%PROGRAM_H000%>|<%DRUMKIT_128%>' >keys.htm
"$cli" --template keys.htm later.pcg - | cmp - <(printf 'Organ|Complex &amp; SE|A000 G007 g(1)021 H049|A000 H000 M000\r\nA000|A127|P-F000 MWMWMWMWM|P-H000 MWMWMWMWM|D-128 MWMWMWMWMW\r\n') ||
  fail "the keys of a template: $("$cli" --template keys.htm later.pcg -)"
"$cli" --template keys.htm classic.pcg - | cmp - <(printf 'Organ|Complex &amp; SE|A000 G007 g(1)021 EXB-A049|A000\r\nA000|A127|||\r\n') ||
  fail "the keys of a template, classic: $("$cli" --template keys.htm classic.pcg -)"

# A layout of one's own by its name, and one named like a shipped layout's file in its place.
mkdir -p data/tabulon
printf 'mine <%%PROGRAM_A000%%>\n' >data/tabulon/mine.htm
printf 'every bank, mine\n' >data/tabulon/all-banks.htm
"$cli" --layout mine classic.pcg - | cmp - <(printf 'mine P-A000 MWMWMWMWM\r\n') || fail "--layout mine"
"$cli" --all-banks classic.pcg - | cmp - <(printf 'every bank, mine\r\n') || fail "the user's all-banks.htm"
status=0
"$cli" --layout all-banks.htm classic.pcg r.htm 2>err || status=$?
[[ $status == 2 && $(head -n1 err) == "tabulon-cli: unknown layout 'all-banks.htm'; patch-list, all-banks, by-category, combinations, 'mine'" ]] ||
  fail "a layout's file name is not its name: $status $(cat err)"
rm -r data

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
