#!/usr/bin/env bash
# Command-line behaviour of quorlin-cli: exit status, output and messages.
# usage: cli_test.sh PATH-TO-quorlin-cli
set -u
cli="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

check() { # name, expected status, command...
  local name="$1" want="$2"
  shift 2
  "$@" >"$tmp/out" 2>"$tmp/err"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL $name: exit $got, expected $want"
    sed 's/^/  stderr: /' "$tmp/err" | head -5
    failures=$((failures + 1))
  fi
}
contains() { # name, file, text
  if ! grep -qF -- "$3" "$2"; then
    echo "FAIL $1: $2 lacks [$3]"
    failures=$((failures + 1))
  fi
}

printf 'one\ntwo\nthree\n' >"$tmp/a.txt"
printf 'one\ntwo\nthree\n' >"$tmp/b.txt"
printf 'one\nTWO\nthree\n' >"$tmp/c.txt"
printf 'one\nTWO\nfour\n' >"$tmp/d.txt"
printf 'one\n' >"$tmp/one.txt"

check help 0 "$cli" --help
contains help "$tmp/out" "usage: quorlin-cli"
check version 0 "$cli" --version
contains version "$tmp/out" "Quorlin V5.7b"

check equivalent 0 "$cli" "$tmp/a.txt" "$tmp/b.txt"
contains equivalent "$tmp/err" "INFORM: The processed files compare as equivalent files."
contains equivalent "$tmp/out" "Batch OutPut"
check differ 1 "$cli" -t long "$tmp/c.txt" "$tmp/a.txt"
contains differ "$tmp/out" "I - TWO"
contains differ "$tmp/err" "INFORM: The processed files have differences."
check icas 0 "$cli" -p icas "$tmp/c.txt" "$tmp/a.txt"
contains icas "$tmp/err" "equivalent filtered files"
check dpop 1 "$cli" -d dsem -d "dps1 end" "$tmp/c.txt" "$tmp/a.txt"
contains dpop "$tmp/out" "OPTIONS = Dps1 Dsem"

check missing-file 2 "$cli" "$tmp/nope.txt" "$tmp/a.txt"
contains missing-file "$tmp/err" "I/O problem opening an Input File"
contains missing-file "$tmp/err" "nope.txt"
check directory 2 "$cli" "$tmp/a.txt" "$tmp"
contains directory "$tmp/err" "is a directory"
check one-file 2 "$cli" "$tmp/a.txt"
check bad-type 2 "$cli" -t wide "$tmp/a.txt" "$tmp/b.txt"
contains bad-type "$tmp/err" "unknown listing type"
check bad-pref 2 "$cli" -p "icas rovr" "$tmp/a.txt" "$tmp/b.txt"
contains bad-pref "$tmp/err" "Invalid Pref=Keyword or Keyword Operand Value(s)"
check bad-dpop 2 "$cli" -d dxyz "$tmp/a.txt" "$tmp/b.txt"
contains bad-dpop "$tmp/err" "Invalid DpOpt Option Arguments"
check dps-without-string 2 "$cli" -d dps1 "$tmp/a.txt" "$tmp/b.txt"
check bad-ccol 2 "$cli" -p "ccol 0:5" "$tmp/a.txt" "$tmp/b.txt"
contains bad-ccol "$tmp/err" "ERROR: User error. Bad CCol specified."
check unknown-option 2 "$cli" --frobnicate "$tmp/a.txt" "$tmp/b.txt"

check out-file 1 "$cli" -o "$tmp/listing.lst" "$tmp/c.txt" "$tmp/a.txt"
contains out-file "$tmp/listing.lst" "Out File = $tmp/listing.lst"
if ! head -1 "$tmp/listing.lst" | grep -q $'\r$'; then
  echo "FAIL out-file: listing lines must end in CR LF"
  failures=$((failures + 1))
fi
check append 1 "$cli" -p apnd -o "$tmp/listing.lst" "$tmp/c.txt" "$tmp/a.txt"
[ "$(grep -c 'Batch OutPut' "$tmp/listing.lst")" -eq 2 ] || {
  echo "FAIL append: expected two listings in the file"
  failures=$((failures + 1))
}
if [ -w /dev/full ]; then
  check full-disk 2 "$cli" -t long -o /dev/full "$tmp/c.txt" "$tmp/a.txt"
  contains full-disk "$tmp/err" "cannot write"
fi
check unwritable-output 2 "$cli" -o "$tmp/no/such/dir/x.lst" "$tmp/a.txt" "$tmp/b.txt"

# Viewer reports without a display.
check report-rtf 1 "$cli" -r "$tmp/report.rtf" "$tmp/c.txt" "$tmp/a.txt"
contains report-rtf "$tmp/report.rtf" '{\rtf1'
contains report-rtf "$tmp/report.rtf" 'Line Compare - New Source + Inserts and Deletes'
check report-stacked 1 "$cli" -p sbsl -r "$tmp/report.txt" "$tmp/c.txt" "$tmp/a.txt"
contains report-stacked "$tmp/report.txt" "Quorlin Double-Stacked Compare Report"
check report-sbs 1 "$cli" -p sbsl -r "$tmp/report2.txt" --layout side-by-side "$tmp/c.txt" "$tmp/a.txt"
contains report-sbs "$tmp/report2.txt" "Quorlin Insert and Delete Side-By-Side Report"
check report-single 0 "$cli" -r "$tmp/report3.txt" "$tmp/a.txt" "$tmp/b.txt"
contains report-single "$tmp/report3.txt" "Line Compare - New Source + Inserts and Deletes"
check report-options 1 "$cli" -r "$tmp/report4.txt" -p icas -p nslg "$tmp/c.txt" "$tmp/d.txt"
contains report-options "$tmp/report4.txt" "OPTIONS = Icas   LONGEST-LINE"
check report-clnc-sbs 1 "$cli" -r "$tmp/report5.txt" -t long -p clnc --layout side-by-side "$tmp/one.txt" "$tmp/a.txt"
contains report-clnc-sbs "$tmp/report5.txt" "D - three"
check report-bad-layout 2 "$cli" -r "$tmp/x.txt" --layout diagonal "$tmp/a.txt" "$tmp/b.txt"

# Batch mode: one job step, the log in QUORLIN_HOME.
printf 'newf=%s\noldf=%s\noutf=%s\n' "$tmp/c.txt" "$tmp/a.txt" "$tmp/batch.lst" >"$tmp/job.ini"
check batch 1 env QUORLIN_HOME="$tmp" "$cli" "inif=$tmp/job.ini"
contains batch "$tmp/out" "INFORM: The processed files have differences.  Exit Batch."
contains batch "$tmp/Quorln32.log" "*** Job#1  Started Time="
contains batch "$tmp/batch.lst" "Batch OutPut"
check batch-missing-ini 2 env QUORLIN_HOME="$tmp" "$cli" "INIF=$tmp/none.ini"
contains batch-missing-ini "$tmp/out" "ERROR: Failed to open Batch Ini File."

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all quorlin-cli checks passed"
