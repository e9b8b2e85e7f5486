#!/usr/bin/env bash
# The real tabulon-cli: its options and exit codes, '-', batches, --template, the user's own
# template, limits and readers that leave, and no settings file.
#   run_cli.sh <folder of the executables> <folder of the expected files>
set -euo pipefail

bin_dir=$1
expected=$2/instrument_report.htm
cli=$bin_dir/tabulon-cli

work=$(mktemp -d "${TMPDIR:-/tmp}/tabulon-cli-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

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
grep -q '^Usage: tabulon-cli \[--template FILE\] PCG REPORT$' out || fail "--help: $(cat out)"
run --version
expect 0 ""
[[ $(cat out) == "tabulon-cli 1.0.0.1" ]] || fail "--version: $(cat out)"
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
run triton.pcg -d
expect 2 "tabulon-cli: option '-d' needs a folder
$hint"
[[ ! -s out ]] || fail "wrong usage wrote to standard output"

# --- one report: the dialog's bytes, to a file or to standard output ------------------------
run triton.pcg report.htm
expect 0 ""
[[ ! -s out ]] || fail "a report to a file wrote to standard output"
cmp report.htm "$expected" || fail "the report differs from the dialog's"
run triton.pcg -
expect 0 ""
cmp out "$expected" || fail "the report on standard output differs"
run missing.pcg new.htm
expect 1 "tabulon-cli: missing.pcg: Error : The named PCG file does not exist !."
[[ ! -e new.htm ]] || fail "a failed report left a file"
run triton.pcg triton.pcg
expect 1 "tabulon-cli: triton.pcg: I could not create the report file, please check the file name is valid."
run triton.pcg triton.pcg
cmp triton.pcg <("$bin_dir/write_instrument_pcg" /dev/stdout) || fail "the PCG file was written"

# --- the template ----------------------------------------------------------------------------
printf 'mine <%%PATCHNAME_000%%>\n' >own.htm
run --template own.htm triton.pcg -
expect 0 ""
[[ $(cat out) == $'mine Grand Piano 0\r' ]] || fail "--template: $(cat out)"
run --template absent.htm triton.pcg x.htm
expect 1 "tabulon-cli: triton.pcg: Couldn't read your template file absent.htm."
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
expect 1 "tabulon-cli: missing.pcg: Error : The named PCG file does not exist !.
tabulon-cli: in/bank.PCG: not written: reports/deeper/bank.htm is the report of bank.pcg in this run"
cmp reports/deeper/bank.htm "$expected" || fail "the batch's first report differs"
cmp reports/deeper/x.htm "$expected" || fail "the batch went no further than a failure"
# Inputs are never outputs: in/x.pcg's report would be in/x.htm, another input.
run --output-dir=in in/x.pcg in/x.htm
expect 1 "tabulon-cli: in/x.pcg: I could not create the report file, please check the file name is valid.
tabulon-cli: in/x.htm: not written: in/x.htm is the report of in/x.pcg in this run"
cmp in/x.htm triton.pcg || fail "an input was written by the batch"

# --- failed writes end as messages, not as signals -----------------------------------------
for _ in $(seq 12); do printf '<p><%%PATCHNAME_000%%> %0500d</p>\n' 0; done >big.htm
for _ in $(seq 6); do cat big.htm big.htm >big2.htm && mv big2.htm big.htm; done
cp report.htm kept.htm
status=0
(ulimit -f 8 && exec "$cli" --template big.htm triton.pcg kept.htm) 2>err || status=$?
expect 1 "tabulon-cli: triton.pcg: I could not create the report file, please check the file name is valid."
cmp kept.htm report.htm || fail "a failed write changed the report"
set +e
"$cli" --template big.htm triton.pcg - 2>err | head -c 100 >/dev/null
status=${PIPESTATUS[0]}
set -e
expect 1 "tabulon-cli: triton.pcg: I could not create the report file, please check the file name is valid."

# --- nothing else is written ---------------------------------------------------------------
[[ ! -e config ]] || fail "the settings folder was touched: $(ls -a config)"
leftovers=$(find . -name '.*.tmp')
[[ -z $leftovers ]] || fail "temporary files left: $leftovers"
echo "cli: passed"
