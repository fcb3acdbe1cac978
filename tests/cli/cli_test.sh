#!/usr/bin/env bash
# Command-line behaviour of quorlin-cli: exit status, output and messages.
# usage: cli_test.sh PATH-TO-quorlin-cli
set -u
cli="$1"
. "$(dirname "$0")/../checks.sh"

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
  fail "out-file: listing lines must end in CR LF"
fi
check append 1 "$cli" -p apnd -o "$tmp/listing.lst" "$tmp/c.txt" "$tmp/a.txt"
[ "$(grep -c 'Batch OutPut' "$tmp/listing.lst")" -eq 2 ] || {
  fail "append: expected two listings in the file"
}
if [ -w /dev/full ]; then
  check full-disk 2 "$cli" -t long -o /dev/full "$tmp/c.txt" "$tmp/a.txt"
  contains full-disk "$tmp/err" "cannot write"
  # A batch log on a full disk: the compares ran, but the run is not a success.
  mkdir -p "$tmp/fullhome"
  ln -s /dev/full "$tmp/fullhome/Quorln32.log"
  printf 'newf=%s\noldf=%s\noutf=%s\n' "$tmp/a.txt" "$tmp/b.txt" "$tmp/full.lst" >"$tmp/full.ini"
  QUORLIN_HOME="$tmp/fullhome" check full-log 2 "$cli" "inif=$tmp/full.ini"
  contains full-log "$tmp/err" "Writing the batch log"
  check full-json 2 "$cli" -o "$tmp/full-json.lst" --json /dev/full "$tmp/c.txt" "$tmp/a.txt"
fi
check unwritable-output 2 "$cli" -o "$tmp/no/such/dir/x.lst" "$tmp/a.txt" "$tmp/b.txt"

# No output may be one of the inputs, under any of its names: refused with
# exit 2, the input byte for byte as it was.
cp "$tmp/c.txt" "$tmp/in.txt"
ln -s "$tmp/in.txt" "$tmp/in-link.txt"
ln "$tmp/in.txt" "$tmp/in-hard.txt"
printf 'newf=%s\noldf=%s\noutf=%s\n' "$tmp/a.txt" "$tmp/in.txt" "$tmp/in-hard.txt" >"$tmp/clash.ini"
while read -r name args; do
  eval "check \"clash $name\" 2 \"\$cli\" $args"
  contains "clash $name" "$tmp/err" "is the"
  cmp -s "$tmp/in.txt" "$tmp/c.txt" || fail "clash $name: the input was changed"
done <<CASES
-o          -o "$tmp/in.txt" "$tmp/in.txt" "$tmp/a.txt"
-r          -r "$tmp/in.txt" "$tmp/a.txt" "$tmp/in.txt"
--json      -o "$tmp/x.lst" --json "$tmp/in.txt" "$tmp/in.txt" "$tmp/a.txt"
symlink     -o "$tmp/in-link.txt" -p apnd "$tmp/in.txt" "$tmp/a.txt"
hard-link   -o "$tmp/in-hard.txt" "$tmp/a.txt" "$tmp/in.txt"
CASES
"$cli" "$tmp/in.txt" "$tmp/a.txt" >>"$tmp/in.txt" 2>"$tmp/err"
[ $? -eq 2 ] || fail "clash stdout: the listing was appended to its input"
contains "clash stdout" "$tmp/err" "The output file \"standard output\" is the New File"
QUORLIN_HOME="$tmp" check "clash outf=" 2 "$cli" "inif=$tmp/clash.ini"
contains "clash outf=" "$tmp/out" "ERROR: Ini file error. One or more job steps flushed."
cmp -s "$tmp/in.txt" "$tmp/c.txt" || fail "clash outf=: the input was changed"

# Streams as inputs: the listing body is the one of the same bytes in a file.
# The copies go to a folder of this test's own, which is empty at the end.
mkdir -p "$tmp/spool"
export TMPDIR="$tmp/spool"
body() { grep -av -e 'File = ' -e 'Line Compare Program' "$1"; }
"$cli" -t long "$tmp/c.txt" "$tmp/a.txt" >"$tmp/file.lst" 2>/dev/null
: >"$tmp/none"
"$cli" -t long "$tmp/none" "$tmp/a.txt" >"$tmp/none.lst" 2>/dev/null
"$cli" -t long /dev/null "$tmp/a.txt" >"$tmp/empty.lst" 2>/dev/null
cmp -s <(body "$tmp/empty.lst") <(body "$tmp/none.lst") || fail "stream /dev/null: not an empty file"
mkfifo "$tmp/fifo"
cat "$tmp/c.txt" >"$tmp/fifo" &
for input in - "$tmp/fifo" "<(cat $tmp/c.txt)"; do
  eval "\"\$cli\" -t long $input \"\$tmp/a.txt\" <\"\$tmp/c.txt\" >\"\$tmp/stream.lst\" 2>/dev/null"
  cmp -s <(body "$tmp/file.lst") <(body "$tmp/stream.lst") || fail "stream $input: another listing body"
done
contains stream-name "$tmp/stream.lst" "New File = /dev/fd/"
"$cli" -t long - "$tmp/a.txt" <"$tmp/c.txt" >"$tmp/stream.lst" 2>/dev/null
contains stream-name "$tmp/stream.lst" "New File = (standard input)"
check stream-twice 2 "$cli" - - <"$tmp/c.txt"
ls "$TMPDIR"/quorlin-input-* >/dev/null 2>&1 && fail "streams: a temporary copy was left behind"
unset TMPDIR

# Labels name the files in the listing and the JSON.
check labels 1 "$cli" --label-new src/x.c --label-old "HEAD:src/x.c" -o "$tmp/label.lst" --json "$tmp/label.json" \
  "$tmp/c.txt" "$tmp/a.txt"
contains labels "$tmp/label.lst" "New File = src/x.c  "
contains labels "$tmp/label.lst" "Old File = HEAD:src/x.c  "
contains labels "$tmp/label.json" '"name": "src/x.c"'

# Operands a run would only note in its statistics are refused at once.
for op in "dpln debug 0:5" dpln dps1; do
  check "bad operand [$op]" 2 "$cli" -d "$op" "$tmp/a.txt" "$tmp/b.txt"
  contains "bad operand [$op]" "$tmp/err" "Invalid DpOpt Option Arguments \"$op\""
done

# Listing warnings also go to standard error, and into the JSON.
printf 'one\n\032two\n' >"$tmp/eof.txt"
check eof-warning 0 "$cli" -o "$tmp/eof.lst" --json "$tmp/eof.json" "$tmp/eof.txt" "$tmp/one.txt"
contains eof-warning "$tmp/err" "WARN: New file EOF char(26) prematurely terminated text input."
contains eof-warning "$tmp/eof.json" '"warnings": ["WARN: New file EOF char(26) prematurely terminated text input."]'

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

# The HTML report: its text is the viewer's lines (the text report's), its
# <mark> texts the changed characters, and a hostile file stays text.
printf 'a\ntotal = price * 12;\n<script>alert(1)</script>\ncaf\351 \342\202\254\nb\n' >"$tmp/h-new.txt"
printf 'a\ntotal = price * 10;\nb\n' >"$tmp/h-old.txt"
check html 1 "$cli" -t long -r "$tmp/r.html" "$tmp/h-new.txt" "$tmp/h-old.txt"
check html-sbs 1 "$cli" -t long -p sbsl --layout side-by-side -r "$tmp/r2.html" "$tmp/h-new.txt" "$tmp/h-old.txt"
"$cli" -t long -r "$tmp/r.txt" "$tmp/h-new.txt" "$tmp/h-old.txt" 2>/dev/null
"$cli" -t long -r "$tmp/r.rtf" "$tmp/h-new.txt" "$tmp/h-old.txt" 2>/dev/null
contains rtf-highlight "$tmp/r.rtf" '{\highlight8 12}'
"$cli" -t long -o "$tmp/h.lst" --json "$tmp/h.json" --json-lines "$tmp/h-new.txt" "$tmp/h-old.txt" 2>/dev/null
contains json-changed-ranges "$tmp/h.json" '"new_line": 2, "old_line": null, "changed_ranges": [[16, 18]]}'
unrtf --text "$tmp/r.rtf" 2>/dev/null | grep -q 'total = price \* 12;' || fail "rtf-highlight: unrtf does not read the marked line"
python3 - "$tmp" <<'PY' || fail "html: see above"
import html.parser, sys
d = sys.argv[1]
class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.text, self.marks, self.tags, self.mark = "", [], [], None
    def handle_starttag(self, tag, attrs):
        self.tags.append(tag)
        if tag == "mark": self.mark = ""
    def handle_endtag(self, tag):
        if tag == "mark": self.marks.append(self.mark); self.mark = None
    def handle_data(self, data):
        if self.tags and self.tags[-1] in ("style", "title"): return
        self.text += data
        if self.mark is not None: self.mark += data
ok = True
for name, want in [("r.html", ["12", "10"]), ("r2.html", ["12", "10"])]:
    page = Page()
    page.feed(open(f"{d}/{name}", encoding="utf-8").read())
    if "script" in page.tags or page.marks != want:
        print(f"FAIL {name}: tags {sorted(set(page.tags))}, marks {page.marks}"); ok = False
page = Page()
page.feed(open(f"{d}/r.html", encoding="utf-8").read())
report = open(f"{d}/r.txt", encoding="utf-8", errors="replace").read().split("\n")[2:-1]
shown = page.text.strip("\n").split("\n")[1:]
if shown != report:
    print("FAIL html: lines differ from the text report"); ok = False
sys.exit(0 if ok else 1)
PY

# JSON results agree with the statistics section of the same run.
here=$(cd "$(dirname "$0")" && pwd)
examples="$here/../../examples"
python3 - "$tmp" <<'PY'
import random, sys
rng = random.Random(7)
items = [f"item/{rng.randrange(10**6):06d}.txt" for _ in range(3000)]
old = items + items[:40]
new = items[100:] + [f"new/{i}" for i in range(90)] + [" " + items[200], ""]
rng.shuffle(old); rng.shuffle(new)
open(sys.argv[1] + "/list-new.txt", "w").write("\n".join(new) + "\n")
open(sys.argv[1] + "/list-old.txt", "w").write("\n".join(old) + "\n")
PY
json_case() { # name, listing options...; the last two arguments are the files
  local name="$1"
  shift
  "$cli" -o "$tmp/$name.lst" --json "$tmp/$name.json" "$@" >/dev/null 2>&1
  if ! python3 -m json.tool "$tmp/$name.json" >/dev/null 2>&1; then
    fail "json-$name: not valid JSON"
  elif ! python3 "$here/json_check.py" "$tmp/$name.lst" "$tmp/$name.json"; then
    fail "json-$name: counts differ"
  fi
}
json_case long-lines -t long --json-lines "$examples/new/ledger.c" "$examples/old/ledger.c"
json_case chng-dcpp -t chng -d dcpp -p fmvl "$examples/new/ledger.c" "$examples/old/ledger.c"
json_case identical -t chng "$examples/new/ledger.c" "$examples/new/ledger.c"
json_case clnc -t long -p clnc --json-lines "$tmp/list-new.txt" "$tmp/list-old.txt"
json_case clnc-ovsum -t ovsum -p clnc "$tmp/list-new.txt" "$tmp/list-old.txt"
contains json-identical "$tmp/identical.json" '"exit_status": 0'
check json-without-file 2 "$cli" --json-lines "$tmp/a.txt" "$tmp/b.txt"
check json-stdout-needs-o 2 "$cli" --json - "$tmp/a.txt" "$tmp/b.txt"
"$cli" -o "$tmp/stdout.lst" --json - --json-lines -t long "$examples/new/ledger.c" "$examples/old/ledger.c" \
  2>/dev/null >"$tmp/stdout.json"
python3 "$here/json_check.py" "$tmp/stdout.lst" "$tmp/stdout.json" || fail "json-stdout: counts differ"

# Hostile input: binary bytes, a line of a megabyte, a file of 2 GB, odd names.
printf 'ok\n\000nul\000\n\377\376 bad utf-8 \300\n\033[31mescape\n' >"$tmp/bin-new.txt"
printf 'ok\n\000nul\000\n\377\375 bad utf-8\n' >"$tmp/bin-old.txt"
check binary 1 "$cli" -t long -o "$tmp/bin.lst" --json "$tmp/bin.json" --json-lines "$tmp/bin-new.txt" "$tmp/bin-old.txt"
python3 -m json.tool "$tmp/bin.json" >/dev/null 2>&1 || fail "binary: JSON not valid"
check binary-rtf 1 "$cli" -r "$tmp/bin.rtf" "$tmp/bin-new.txt" "$tmp/bin-old.txt"
if LC_ALL=C grep -q '[^[:print:][:space:]]' "$tmp/bin.rtf"; then
  fail "binary-rtf: the RTF holds bytes that are not plain text"
fi
head -c 1048576 /dev/zero | tr '\0' 'x' >"$tmp/mega.txt"
printf '\nend\n' >>"$tmp/mega.txt"
check megabyte-line 1 "$cli" -t long -o "$tmp/mega.lst" "$tmp/mega.txt" "$tmp/a.txt"
contains megabyte-line "$tmp/mega.lst" "WARN: Lines GT. 2048 characters were split off"
truncate -s 2G "$tmp/huge.txt"
check two-gigabytes 2 "$cli" "$tmp/huge.txt" "$tmp/a.txt"
contains two-gigabytes "$tmp/err" "2 GB or larger"
rm -f "$tmp/huge.txt"
for name in "with blank.txt" 'with "quotes".txt' "ümlaut-ß.txt" "-dash.txt"; do
  cp "$tmp/c.txt" "$tmp/$name"
  check "name [$name]" 1 "$cli" -t long -o "$tmp/odd.lst" -- "$tmp/$name" "$tmp/a.txt"
  contains "name [$name]" "$tmp/odd.lst" "New File = $tmp/$name"
done
check leading-dash-without-separator 2 "$cli" "-dash.txt" "$tmp/a.txt"

# Progress on a terminal only: a line on standard error while the compare
# runs, cleared before the result; nothing when standard error is a file.
export QUORLIN_PROGRESS_AFTER_MS=0
script -qec "$cli -o /dev/null $tmp/mega.txt $tmp/a.txt" /dev/null >"$tmp/tty.out" 2>&1 || true
contains progress-on-terminal "$tmp/tty.out" "quorlin-cli: pass 1,"
# A listing shown on the terminal gets no progress text, and its result
# message once.
script -qec "$cli -t long $tmp/mega.txt $tmp/a.txt" /dev/null >"$tmp/tty.out" 2>&1 || true
lacks listing-on-terminal "$tmp/tty.out" "quorlin-cli: pass"
[ "$(grep -c 'INFORM: The processed files have differences' "$tmp/tty.out")" -eq 1 ] ||
  fail "listing-on-terminal: the result message is not shown once"
check progress-to-file 1 "$cli" -o /dev/null "$tmp/mega.txt" "$tmp/a.txt"
if grep -q "pass 1," "$tmp/err"; then
  fail "progress-to-file: a progress line went to a file"
fi
unset QUORLIN_PROGRESS_AFTER_MS

# Batch mode: one job step, the log in QUORLIN_HOME.
printf 'newf=%s\noldf=%s\noutf=%s\n' "$tmp/c.txt" "$tmp/a.txt" "$tmp/batch.lst" >"$tmp/job.ini"
check batch 1 env QUORLIN_HOME="$tmp" "$cli" "inif=$tmp/job.ini"
contains batch "$tmp/out" "INFORM: The processed files have differences.  Exit Batch."
contains batch "$tmp/Quorln32.log" "*** Job#1  Started Time="
contains batch "$tmp/batch.lst" "Batch OutPut"
check batch-missing-ini 2 env QUORLIN_HOME="$tmp" "$cli" "INIF=$tmp/none.ini"
contains batch-missing-ini "$tmp/out" "ERROR: Failed to open Batch Ini File."

finish quorlin-cli
