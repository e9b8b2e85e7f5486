#!/usr/bin/env bash
# The real tabulon-cli: its options and exit codes, '-', batches, --template, the user's own
# template, limits and readers that leave, the system's reasons and quoted names in messages,
# and no settings file.
#   run_cli.sh <folder of the executables> <folder of the expected files>
set -euo pipefail

bin_dir=$1
expected=$2/instrument_report.htm
cli=$bin_dir/tabulon-cli

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-cli-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data LC_ALL=C

fail() {
  echo "cli: $*" >&2
  exit 1
}

# Runs the program; its exit status, standard output and error land in $status, out and err.
run() {
  status=0
  "$cli" "$@" >out 2>err || status=$?
}
expect() {
  local want_status=$1 want_err=$2
  [[ $status == "$want_status" ]] || fail "status $status, not $want_status: $(cat err)"
  [[ $(cat err) == "$want_err" ]] || fail "standard error: '$(cat err)', not '$want_err'"
}

"$bin_dir/write_instrument_pcg" triton.pcg

# --- options and exit codes ----------------------------------------------------------------
run --help
expect 0 ""
grep -q '^Usage: tabulon-cli \[--layout NAME | --template FILE\] PCG REPORT$' out || fail "--help: $(cat out)"
run --version
expect 0 ""
[[ $(cat out) == "tabulon-cli 1.0.0.1" ]] || fail "--version: $(cat out)"
# Long names cut short, as coreutils take them; help wins over an error before it.
run --he
expect 0 ""
grep -q '^Usage: ' out || fail "--he: $(cat out)"
run --temp= --colour --vers
expect 0 ""
[[ $(cat out) == "tabulon-cli 1.0.0.1" ]] || fail "--vers after errors: $(cat out)"
hint="Try 'tabulon-cli --help' for more information."
run
expect 2 "tabulon-cli: missing PCG file and report
$hint"
run triton.pcg
expect 2 "tabulon-cli: missing report after 'triton.pcg'
$hint"
run triton.pcg a.htm b.htm
expect 2 "tabulon-cli: too many operands; -d DIR makes a report of each PCG file
$hint"
run --colour triton.pcg a.htm
expect 2 "tabulon-cli: unknown option '--colour'
$hint"
# Wrong usage, one case a line: standard error's first line, then the arguments. An empty value
# (an unset variable) is never the current or the root folder, nor the next argument.
while IFS='|' read -r message arguments; do
  eval "run $arguments"
  expect 2 "tabulon-cli: $message
$hint"
  [[ ! -s out ]] || fail "wrong usage wrote to standard output: $arguments"
done <<'CASES'
option '-d' needs a folder|triton.pcg -d
empty folder name for '-d'|-d '' triton.pcg
empty folder name for '--output-dir'|--output-dir= triton.pcg
empty file name for '--template'|--template= triton.pcg a.htm
empty file name for '--template'|--template '' triton.pcg a.htm
empty PCG file name|'' a.htm
empty report name|triton.pcg ''
empty PCG file name|-d made triton.pcg ''
unknown option '--col'$'\n''our'|$'--col\nour' triton.pcg a.htm
missing report after 'a'$'\t''b'$'\033''[0m'|$'a\tb\e[0m'
unknown option '--colour'|--colour --template= triton.pcg a.htm
option '--template' needs a file|triton.pcg a.htm --temp
empty folder name for '--output-dir'|--output-d= triton.pcg
unknown format 'xml'; tsv, csv, json or ods|--li --form=xml triton.pcg
option '--list' takes no value|--list=tsv triton.pcg
unknown option '-x'|-xd made triton.pcg
CASES
[[ ! -e made && ! -e /triton.htm ]] || fail "a usage error wrote a report"
status=0
"$cli" --help >/dev/full 2>err || status=$?
expect 1 "tabulon-cli: write error: No space left on device"

# --- one report: the dialog's bytes, to a file or to standard output ------------------------
run triton.pcg report.htm
expect 0 ""
[[ ! -s out ]] || fail "a report to a file wrote to standard output"
cmp report.htm "$expected" || fail "the report differs from the dialog's"
run triton.pcg -
expect 0 ""
cmp out "$expected" || fail "the report on standard output differs"
# One report opens the PCG file once, whatever its template shows. (The package's build has
# no strace; scripts/test installs it.)
if command -v strace >/dev/null; then
  printf '<%%PATCHNAME_000%%><%%PROGRAM_BANKS%%>\n' >both.htm
  # (LeakSanitizer cannot work under ptrace.)
  ASAN_OPTIONS=detect_leaks=0 strace -f -e trace=open,openat -o trace "$cli" --template both.htm triton.pcg both-report.htm
  [[ $(grep -c '"triton.pcg"' trace) == 1 ]] || fail "one report opened the PCG file $(grep -c '"triton.pcg"' trace) times"
  rm trace both.htm both-report.htm
fi

# Failures, one case a line: the window's message, the system's reason where it gave one, and
# names quoted so that they never break the line nor reach the terminal as escapes.
mkdir folder
mkfifo fifo
made="I could not create the report file, please check the file name is valid."
missing="Error : The named PCG file does not exist !."
while IFS='|' read -r message arguments; do
  eval "run $arguments"
  message=${message//MADE/$made}
  message=${message//MISSING/$missing}
  expect 1 "tabulon-cli: ${message//UNREADABLE/Error : The named PCG file cannot be read !.}"
done <<'CASES'
missing.pcg: MISSING (missing.pcg: No such file or directory)|missing.pcg new.htm
folder: UNREADABLE (folder: Is a directory)|folder new.htm
fifo: UNREADABLE (fifo: Operation not supported)|fifo new.htm
triton.pcg: MADE|triton.pcg triton.pcg
triton.pcg: MADE (/dev/full: No space left on device)|triton.pcg /dev/full
triton.pcg: MADE (nowhere/new.htm: No such file or directory)|triton.pcg nowhere/new.htm
triton.pcg: MADE (folder: Is a directory)|triton.pcg folder
triton.pcg: Couldn't read your template file folder. (folder: Is a directory)|--template folder triton.pcg new.htm
'a'$'\n''b.pcg': MISSING ('a'$'\n''b.pcg': No such file or directory)|$'a\nb.pcg' new.htm
"it's.pcg": MISSING ("it's.pcg": No such file or directory)|"it's.pcg" new.htm
'Fl'$'\303\274''gel.pcg': MISSING ('Fl'$'\303\274''gel.pcg': No such file or directory)|Flügel.pcg new.htm
CASES
[[ ! -e new.htm ]] || fail "a failed report left a file"
status=0
"$cli" triton.pcg - >/dev/full 2>err || status=$?
expect 1 "tabulon-cli: triton.pcg: $made (standard output: No space left on device)"
status=0
LC_ALL=C.UTF-8 "$cli" Flügel.pcg new.htm 2>err || status=$?
expect 1 "tabulon-cli: Flügel.pcg: $missing (Flügel.pcg: No such file or directory)"
cmp triton.pcg <("$bin_dir/write_instrument_pcg" /dev/stdout) || fail "the PCG file was written"

# --- the template ----------------------------------------------------------------------------
printf 'mine <%%PATCHNAME_000%%>\n' >own.htm
run --template own.htm triton.pcg -
expect 0 ""
[[ $(cat out) == $'mine Grand Piano 0\r' ]] || fail "--template: $(cat out)"
run --template absent.htm triton.pcg x.htm
expect 1 "tabulon-cli: triton.pcg: Couldn't read your template file absent.htm. (absent.htm: No such file or directory)"
mkdir -p data/tabulon
printf 'ours <%%PATCHNAME_001%%>\n' >data/tabulon/template.htm
run triton.pcg -
[[ $(cat out) == $'ours Strings 1\r' ]] || fail "the user's own template was not used: $(cat out)"
rm -r data

# --- batches -----------------------------------------------------------------------------
mkdir in
cp triton.pcg in/bank.PCG
cp triton.pcg in/x.pcg
cp triton.pcg in/x.htm
cp triton.pcg bank.pcg
run -d reports/deeper bank.pcg missing.pcg in/bank.PCG in/x.pcg
expect 1 "tabulon-cli: missing.pcg: $missing (missing.pcg: No such file or directory)
tabulon-cli: in/bank.PCG: not written: reports/deeper/bank.htm is the report of bank.pcg in this run"
# The shipped template names the PCG file: copies of triton.pcg under other names name those.
cmp reports/deeper/bank.htm <(sed 's/triton\.pcg/bank.pcg/g' "$expected") || fail "the batch's first report differs"
cmp reports/deeper/x.htm <(sed 's/triton\.pcg/x.pcg/g' "$expected") || fail "the batch went no further than a failure"
# The folder attached to -d, long names cut short, options after operands, '--' before them.
while IFS='|' read -r folder arguments; do
  eval "run $arguments"
  expect 0 ""
  cmp "$folder/triton.htm" "$expected" || fail "no report in $folder: $arguments"
done <<'CASES'
attached|-dattached triton.pcg
cut|--output-di cut triton.pcg
cut-attached|--output-d=cut-attached triton.pcg
after|triton.pcg --output-dir after
ended|-d ended -- triton.pcg
CASES
run --li --form csv triton.pcg
expect 0 ""
[[ $(head -n1 out) == $'kind,slot,name\r' ]] || fail "--li --form csv: $(head -n1 out)"
# Inputs are never outputs: in/x.pcg's report would be in/x.htm, another input.
run --output-dir=in in/x.pcg in/x.htm
expect 1 "tabulon-cli: in/x.pcg: $made
tabulon-cli: in/x.htm: not written: in/x.htm is the report of in/x.pcg in this run"
cmp in/x.htm triton.pcg || fail "an input was written by the batch"
# Nor a report the run has made, whatever its name: here A's report is reached again through a
# link named after B, as two names that differ only in case reach one file where case is ignored.
printf 'Alpha\n' >a.txt
printf 'Beta\n' >b.txt
"$bin_dir/write_names_pcg" a.txt A.pcg
"$bin_dir/write_names_pcg" b.txt B.pcg
mkdir linked
ln -s B.htm linked/A.htm
run --template own.htm -d linked A.pcg B.pcg
expect 1 "tabulon-cli: B.pcg: not written: linked/B.htm is the report of A.pcg in this run"
[[ $(cat linked/B.htm) == $'mine Alpha\r' ]] || fail "a batch replaced its own report: $(cat linked/B.htm)"

# --- failed writes end as messages, not as signals -----------------------------------------
for _ in $(seq 12); do printf '<p><%%PATCHNAME_000%%> %0500d</p>\n' 0; done >big.htm
for _ in $(seq 6); do cat big.htm big.htm >big2.htm && mv big2.htm big.htm; done
cp report.htm kept.htm
status=0
(ulimit -f 8 && exec "$cli" --template big.htm triton.pcg kept.htm) 2>err || status=$?
expect 1 "tabulon-cli: triton.pcg: $made (kept.htm: File too large)"
cmp kept.htm report.htm || fail "a failed write changed the report"
set +e
"$cli" --template big.htm triton.pcg - 2>err | head -c 100 >/dev/null
status=${PIPESTATUS[0]}
set -e
expect 1 ""  # the reader chose to leave: nothing to tell

# --- nothing else is written ---------------------------------------------------------------
[[ ! -e config ]] || fail "the settings folder was touched: $(ls -a config)"
leftovers=$(find . -name '.*.tmp')
[[ -z $leftovers ]] || fail "temporary files left: $leftovers"
echo "cli: passed"
