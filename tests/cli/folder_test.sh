#!/usr/bin/env bash
# quorlin-cli NEWDIR OLDDIR: the summary, the JSON statuses against cmp of
# each pair, exit statuses 0/1/2, listings equal to single-pair runs, and
# outputs refused inside the folders.
# usage: folder_test.sh PATH-TO-quorlin-cli
set -u
cli="$1"
. "$(dirname "$0")/../checks.sh"

mkdir -p "$tmp/new/src/deep" "$tmp/old/src/deep" "$tmp/new/with blank" "$tmp/old/with blank" "$tmp/elsewhere"
for side in new old; do
  printf 'same\n' >"$tmp/$side/same.txt"
  printf 'a\nb\nc\n' >"$tmp/$side/src/deep/code.c"
  printf 'x\000y' >"$tmp/$side/image.bin"
  printf 'ü\n' >"$tmp/$side/with blank/naïve.txt"
  ln -s "$tmp/elsewhere" "$tmp/$side/linked"
done
printf 'a\nB\nc\nd\n' >"$tmp/new/src/deep/code.c"
printf 'x\000z' >"$tmp/new/image.bin"
printf 'line\r\n' >"$tmp/new/crlf.txt"
printf 'line\n' >"$tmp/old/crlf.txt"
printf 'added\n' >"$tmp/new/added.txt"
printf 'removed\n' >"$tmp/old/removed.txt"
cp -r "$tmp/old" "$tmp/copy"

check summary 1 "$cli" "$tmp/new" "$tmp/old"
contains summary "$tmp/out" "differs                  2         1         0         -  src/deep/code.c"
contains summary "$tmp/out" "only in NEW                                               added.txt"
contains summary "$tmp/out" "binary differs                                            image.bin"
contains summary "$tmp/out" "equivalent               0         0         0         -  crlf.txt"
contains summary "$tmp/out" "7 files: 2 identical, 1 equivalent, 1 differ, 1 only in NEW, 1 only in OLD, 1 binary differ"
contains summary "$tmp/out" "Note: linked (in NEW and OLD): a symbolic link to a folder, not followed"
contains summary "$tmp/err" "INFORM: The folders have differences (7 files)."
"$cli" --threads 1 "$tmp/new" "$tmp/old" >"$tmp/one.txt" 2>/dev/null
cmp -s "$tmp/out" "$tmp/one.txt" || fail "threads: one thread gives another summary"

# Every status of the JSON agrees with cmp of the pair.
check json 1 "$cli" -o /dev/null --json "$tmp/r.json" "$tmp/new" "$tmp/old"
python3 - "$tmp/r.json" "$tmp/new" "$tmp/old" <<'PY' || fail "json: a status disagrees with cmp"
import json, os, subprocess, sys
result, new, old = json.load(open(sys.argv[1])), sys.argv[2], sys.argv[3]
bad = 0
for p in result["pairs"]:
    a, b = os.path.join(new, p["path"]), os.path.join(old, p["path"])
    s = p["status"]
    if s in ("only_in_new", "only_in_old"):
        ok = os.path.exists(a) == (s == "only_in_new") and os.path.exists(b) == (s == "only_in_old")
    else:
        same = subprocess.run(["cmp", "-s", a, b]).returncode == 0
        ok = same == (s in ("identical", "binary_identical")) and (p["counts"] is not None) == (s in ("equivalent", "differs"))
    if not ok:
        print("  ", p)
        bad += 1
t = result["totals"]
bad += t["files"] != len(result["pairs"]) or t["inserted"] != 2 or result["exit_status"] != 1
sys.exit(bad != 0)
PY

check equal-trees 0 "$cli" "$tmp/old" "$tmp/copy"
ln -s nowhere "$tmp/new/dangling"
ln -s nowhere "$tmp/old/dangling"
check error 2 "$cli" "$tmp/new" "$tmp/old"
contains error "$tmp/out" "error                                                     dangling  ERROR: Quorlin encountered an I/O problem"
contains error "$tmp/out" "differs                  2         1" # the other pairs are still compared
check include 1 "$cli" --include '*.c' --exclude 'with blank' "$tmp/new" "$tmp/old"
contains include "$tmp/out" "1 file: 1 differ"

# Listings of the pairs that differ: the listing of a single-pair run.
check listings 2 "$cli" -t long --listings "$tmp/lst" "$tmp/new" "$tmp/old"
masked() { grep -av -e 'Batch OutPut' -e 'Out File = ' "$1"; }
"$cli" -t long -o "$tmp/single.lst" "$tmp/new/src/deep/code.c" "$tmp/old/src/deep/code.c" 2>/dev/null
cmp -s <(masked "$tmp/lst/src/deep/code.c.lst") <(masked "$tmp/single.lst") || fail "listings: not the single-pair listing"
[ "$(find "$tmp/lst" -type f | wc -l)" -eq 1 ] || fail "listings: a listing for a pair that does not differ"

# No output inside either folder; a folder and a file; options of one kind only.
while read -r name args; do
  eval "check \"refused $name\" 2 \"\$cli\" $args"
done <<CASES
-o-in-new        -o "$tmp/new/summary.txt" "$tmp/new" "$tmp/old"
json-in-old      -o /dev/null --json "$tmp/old/r.json" "$tmp/new" "$tmp/old"
listings-in-new  --listings "$tmp/new/lst" "$tmp/new" "$tmp/old"
holds-a-folder   --listings "$tmp" "$tmp/new" "$tmp/old"
folder-and-file  "$tmp/new" "$tmp/old/same.txt"
include-files    --include '*.c' "$tmp/new/same.txt" "$tmp/old/same.txt"
report-folders   -r "$tmp/x.rtf" "$tmp/new" "$tmp/old"
bad-threads      --threads 0 "$tmp/new" "$tmp/old"
CASES
[ -e "$tmp/new/summary.txt" ] || [ -e "$tmp/old/r.json" ] || [ -e "$tmp/new/lst" ] && fail "refused: an output was written"
"$cli" "$tmp/new" "$tmp/old" >"$tmp/new/out.txt" 2>"$tmp/err"
[ $? -eq 2 ] || fail "refused stdout: the summary was written into NEW"
contains "refused stdout" "$tmp/err" "The output \"standard output\" is in the New folder"

finish "folder compare"
