#!/usr/bin/env bash
# Every benchmark of the project in one run, on seeded generated inputs, as
# one table: each figure, its peer, the ratio, the target and whether it
# holds. Times are the best of three runs.
#   bench/run-all.sh            100 MB pairs, a 1 GB pair, 49 MB lists, a
#                               5,000,000-line Long listing in the viewers
#   bench/run-all.sh --quick    10 MB inputs (under a minute)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
quick=0
[ "${1:-}" = "--quick" ] && quick=1
if [ "$quick" -eq 1 ]; then
  size=10M big=20M lists=10M lines=200000 panel=200000 long=20M
else
  # long: the pair whose Long listing has about 5,000,000 lines.
  size=100M big=1G lists=50M lines=5000000 panel=10000000 long=210M
fi
build="$here/build"
rows=()
fails=0

# row NAME FIGURE PEER RATIO TARGET HOLDS
row() {
  rows+=("$(printf '%-40s %12s %12s %8s %10s  %s' "$1" "$2" "$3" "$4" "$5" "$6")")
  [ "$6" = yes ] || fails=$((fails + 1))
}
holds() { [ "$(echo "$1 <= $2" | bc -l)" -eq 1 ] && echo yes || echo NO; }
peak_mb() { (/usr/bin/time -f %M "$@" 2>&1 >/dev/null || true) | tail -1 | awk '{printf "%d", $1 / 1024}'; }
out="${TMPDIR:-/tmp}/quorlin-run-all.lst"
# chng_row NAME OLD NEW LIMIT: a Chng compare of NEW against OLD into a file
# against diff -w on the same pair; LIMIT is the ratio not to exceed, or "-".
chng_row() {
  local d q r
  d=$(seconds diff -w "$2" "$3")
  q=$(seconds "$cli" -t chng -o "$out" "$3" "$2")
  r=$(ratio "$q" "$d")
  if [ "$4" = - ]; then
    row "$1" "$(printf '%.3f s' "$q")" "$(printf '%.3f s' "$d")" "$(printf '%.2fx' "$r")" - yes
  else
    row "$1" "$(printf '%.3f s' "$q")" "$(printf '%.3f s' "$d")" "$(printf '%.2fx' "$r")" "<= ${4}x" "$(holds "$r" "$4")"
  fi
}

# Ordered compares, Chng to a file, against diff -w.
for rate in 0.001 0.05; do
  dir=$(corpus ordered "$size" "$rate")
  chng_row "ordered $size, $(printf %g "$(echo "$rate * 100" | bc -l)") % changed, Chng" \
    "$dir/old.txt" "$dir/new.txt" 0.50
done

# Identical files: two copies of the same file.
dir=$(corpus ordered "$size" 0.05)
cp "$dir/old.txt" "$dir/same.txt"
chng_row "identical $size files, Chng" "$dir/same.txt" "$dir/old.txt" 0.33
rm -f "$dir/same.txt"

# A large pair in bounded memory.
dir=$(corpus ordered "$big" 0.05)
start=$(date +%s.%N)
diff -w "$dir/old.txt" "$dir/new.txt" >/dev/null 2>&1 || true
d=$(echo "$(date +%s.%N) - $start" | bc)
start=$(date +%s.%N)
"$cli" -t chng -o "$out" "$dir/new.txt" "$dir/old.txt" >/dev/null 2>&1 || true
q=$(echo "$(date +%s.%N) - $start" | bc)
peak=$(peak_mb "$cli" -t chng -o "$out" "$dir/new.txt" "$dir/old.txt")
row "ordered $big pair, Chng" "$(printf '%.2f s' "$q")" "$(printf '%.2f s' "$d")" \
  "$(printf '%.2fx' "$(ratio "$q" "$d")")" "-" yes
row "ordered $big pair, peak memory" "$peak MB" "-" "-" "< 64 MB" "$(holds "$peak" 63)"
# Long lists every line of both files: the largest listing there is.
read -r q kb < <( (/usr/bin/time -f "%e %M" "$cli" -t long -o "$out" "$dir/new.txt" "$dir/old.txt" 2>&1 >/dev/null || true) | tail -1)
row "ordered $big pair, Long ($(wc -l <"$out") lines)" "$(printf '%.2f s' "$q")" "-" "-" "-" yes
row "ordered $big pair, Long, peak memory" "$((kb / 1024)) MB" "-" "-" "< 64 MB" "$(holds "$((kb / 1024))" 63)"
rm -f "$out"

# A block longer than a pass: 50,000 new lines (records of a new section)
# inserted in the middle of the OLD file of the ordered pairs. Quorlin must
# list about the lines diff lists, in bounded memory. And two entirely
# different files, where every pass looks ahead in vain: before the
# look-ahead the 100 MB pair took 1.39 s here against diff's 1.73 s (0.80x,
# best of five); the look-ahead may cost at most half as much again.
dir=$(corpus ordered "$size" 0.001)
blocks="${TMPDIR:-/tmp}/quorlin-bench-blocks-$size"
if [ ! -f "$blocks/other.txt" ]; then
  mkdir -p "$blocks"
  half=$(($(wc -l <"$dir/old.txt") / 2))
  { head -n "$half" "$dir/old.txt"
    awk 'BEGIN { for (i = 1; i <= 50000; i++) printf "%08d inserted record %d of the new section\n", i, i * 7919 % 100003 }'
    tail -n +"$((half + 1))" "$dir/old.txt"; } >"$blocks/new.txt"
  sed 's/^/@/' "$dir/old.txt" >"$blocks/other.txt"
fi
changed() { { "$cli" -t ovsum "$1" "$2" 2>/dev/null || true; } | awk '/Line Insertions|Line Deletions/ { s += $1 } END { print s }'; }
dc=$(diff -w "$dir/old.txt" "$blocks/new.txt" | grep -c '^[<>]' || true)
qc=$(changed "$blocks/new.txt" "$dir/old.txt")
r=$(ratio "$qc" "$dc")
row "50,000-line block in $size, changed lines" "$qc" "$dc" "$(printf '%.3fx' "$r")" "<= 1.01x" "$(holds "$r" 1.01)"
chng_row "50,000-line block in $size, Chng" "$dir/old.txt" "$blocks/new.txt" -
peak=$(peak_mb "$cli" -t chng -o "$out" "$blocks/new.txt" "$dir/old.txt")
row "50,000-line block in $size, peak memory" "$peak MB" "-" "-" "< 64 MB" "$(holds "$peak" 63)"
chng_row "entirely different $size files, Chng" "$dir/old.txt" "$blocks/other.txt" 1.20
rm -f "$out"

# The C++ comment filter against the same compare without it.
dir=$(corpus ordered "$size" 0.05)
plain=$(seconds "$cli" -o "$out" "$dir/new.txt" "$dir/old.txt")
dcpp=$(seconds "$cli" -d dcpp -o "$out" "$dir/new.txt" "$dir/old.txt")
r=$(ratio "$dcpp" "$plain")
row "Dcpp filter, $size" "$(printf '%.3f s' "$dcpp")" "$(printf '%.3f s' "$plain")" "$(printf '%.2fx' "$r")" \
  "<= 1.50x" "$(holds "$r" 1.5)"

# Unordered lists against sort | comm: Ovsum against the pipeline, Long to
# a file against the pipeline writing its output to a file too; Clnc's peak
# memory against the two lists' size.
dir=$(corpus list "$lists" 0.05)
peer="${TMPDIR:-/tmp}/quorlin-run-all.comm"
pipeline() { LC_ALL=C comm <(LC_ALL=C sort "$dir/old.txt") <(LC_ALL=C sort "$dir/new.txt") >"$peer"; }
s=$(seconds pipeline)
o=$(seconds "$cli" -p clnc -t ovsum "$dir/new.txt" "$dir/old.txt")
l=$(seconds "$cli" -p clnc -t long -o "$out" "$dir/new.txt" "$dir/old.txt")
peak=$(peak_mb "$cli" -p clnc -t long -o "$out" "$dir/new.txt" "$dir/old.txt")
both=$((($(stat -c %s "$dir/old.txt") + $(stat -c %s "$dir/new.txt")) / 1048576))
r=$(ratio "$o" "$s")
row "Clnc $lists lists, Ovsum" "$(printf '%.3f s' "$o")" "$(printf '%.3f s' "$s")" "$(printf '%.2fx' "$r")" \
  "<= 0.40x" "$(holds "$r" 0.4)"
r=$(ratio "$l" "$s")
row "Clnc $lists lists, Long to a file" "$(printf '%.3f s' "$l")" "$(printf '%.3f s' "$s")" "$(printf '%.2fx' "$r")" \
  "<= 0.60x" "$(holds "$r" 0.6)"
r=$(ratio "$peak" "$both")
row "Clnc $lists lists, peak memory" "$peak MB" "$both MB" "$(printf '%.2fx' "$r")" "<= 2.00x" "$(holds "$r" 2)"
rm -f "$out" "$peer"

# Two folders: two copies of a seeded source tree, 1 % of the files
# changed, five added and five removed; the summary against diff -rq and
# diff -r in the same run (2,000 files in quick mode).
files=$([ "$quick" -eq 1 ] && echo 2000 || echo 10000)
tree="${TMPDIR:-/tmp}/quorlin-bench-tree-$files"
[ -d "$tree/new" ] || python3 "$here/bench/gen_tree.py" "$files" "$tree"
rq=$(seconds diff -rq "$tree/new" "$tree/old")
r=$(seconds diff -r "$tree/new" "$tree/old")
q=$(seconds "$cli" -o "$out" "$tree/new" "$tree/old")
x=$(ratio "$q" "$rq")
row "folders, $files files, summary" "$(printf '%.3f s' "$q")" "$(printf '%.3f s' "$rq")" "$(printf '%.2fx' "$x")" \
  "<= 1.00x" "$(holds "$x" 1.0)"
x=$(ratio "$q" "$r")
row "folders, $files files, vs diff -r" "$(printf '%.3f s' "$q")" "$(printf '%.3f s' "$r")" "$(printf '%.2fx' "$x")" \
  "<= 0.50x" "$(holds "$x" 0.5)"
rm -f "$out"

# The viewers' line model, and the desktop viewers offscreen.
t=$("$build/line_model_bench" 1000000 | sed -n 's/.*: \([0-9.]*\) s per panel rule.*/\1/p')
row "line model, 1000000 lines a rule" "$t s" "-" "-" "< 0.5 s" "$(holds "$t" 0.5)"
if [ -x "$build/viewer_bench" ]; then
  v=$(QT_QPA_PLATFORM=offscreen "$build/viewer_bench" "$lines" "$panel" 2>/dev/null || true)
  figure() { echo "$v" | sed -n "s/^ *$1 *\([0-9.]*\) \(s\|ms\).*/\1/p" | head -1; }
  for f in "open:1.0:s:single viewer, open" "To Btm:0.2:s:single viewer, To Btm" "Find:0.5:s:single viewer, Find"; do
    IFS=: read -r key limit unit name <<<"$f"
    x=$(figure "$key")
    row "$name ($lines rows)" "$x $unit" "-" "-" "< $limit $unit" "$(holds "${x:-99}" "$limit")"
  done
  x=$(echo "$v" | sed -n 's/^ *open *\([0-9.]*\) s .*/\1/p' | tail -1)
  row "two-panel viewer, open ($panel a panel)" "$x s" "-" "-" "< 1.0 s" "$(holds "${x:-99}" 1.0)"
  for f in "scroll step:two-panel viewer, scroll step" "next span:two-panel viewer, next span"; do
    IFS=: read -r key name <<<"$f"
    x=$(figure "$key")
    row "$name" "$x ms" "-" "-" "< 50 ms" "$(holds "${x:-999}" 50)"
  done
  # The coloured RTF save of the two panels: its time, and the memory it adds
  # to the lists already held (at most the report's size).
  x=$(echo "$v" | sed -n 's/^ *time *\([0-9.]*\) s.*/\1/p')
  report=$(echo "$v" | sed -n 's/.*report \([0-9]*\) MB.*/\1/p')
  added=$(echo "$v" | sed -n 's/.*MB before, \([0-9-]*\) MB added.*/\1/p')
  row "two-panel RTF save ($panel lines)" "$x s" "-" "-" "-" "yes"
  row "two-panel RTF save, memory added" "${added:-?} MB" "${report:-?} MB" "-" "<= report" \
    "$(holds "${added:-99999}" "${report:-0}")"

  # A Long listing compared and opened in the viewers, against quorlin-cli
  # writing the same listing to a file; the best of two openings.
  dir=$(corpus ordered "$long" 0.05)
  c=$(seconds "$cli" -t long -o "$out" "$dir/new.txt" "$dir/old.txt")
  listed=$(wc -l <"$out")
  for mode in single dual; do
    best="" peak=""
    for _ in 1 2; do
      o=$(QT_QPA_PLATFORM=offscreen "$build/viewer_bench" --open $([ $mode = dual ] && echo --dual) \
        "$dir/new.txt" "$dir/old.txt" 2>/dev/null || true)
      t=$(echo "$o" | sed -n 's/^ *compare and open *\([0-9.]*\) s.*/\1/p')
      m=$(echo "$o" | sed -n 's/^ *peak memory *\([0-9]*\) MB.*/\1/p')
      if [ -z "$best" ] || [ "$(echo "${t:-99} < $best" | bc)" -eq 1 ]; then best=${t:-99}; fi
      peak=${m:-99999}
    done
    if [ $mode = single ]; then limit=1.5 mb=300 name="single viewer"; else limit=2.0 mb=400 name="side by side"; fi
    r=$(ratio "$best" "$c")
    row "Long, $listed lines, $name, open" "$best s" "$(printf '%.2f s' "$c")" "$(printf '%.2fx' "$r")" \
      "<= ${limit}x" "$(holds "$r" "$limit")"
    row "Long, $listed lines, $name, memory" "$peak MB" "-" "-" "<= $mb MB" "$(holds "$peak" "$mb")"
  done

  # The large pair's Long listing in the single viewer.
  dir=$(corpus ordered "$big" 0.05)
  o=$(QT_QPA_PLATFORM=offscreen "$build/viewer_bench" --open "$dir/new.txt" "$dir/old.txt" 2>/dev/null || true)
  shown=$(echo "$o" | sed -n 's/.*: \([0-9]*\) rows$/\1/p')
  for f in "compare and open:s:open" "To Btm:s:To Btm" "Find, last row:s:Find of the last row" "next span:ms:next span"; do
    IFS=: read -r key unit name <<<"$f"
    x=$(echo "$o" | sed -n "s/^ *$key *\([0-9.]*\) $unit.*/\1/p")
    row "$big pair, Long ($shown rows), $name" "${x:-?} $unit" "-" "-" "-" "$([ -n "$x" ] && echo yes || echo NO)"
  done
  m=$(echo "$o" | sed -n 's/^ *peak memory *\([0-9]*\) MB.*/\1/p')
  row "$big pair, Long, viewer memory" "${m:-?} MB" "-" "-" "<= 1024 MB" "$(holds "${m:-99999}" 1024)"
  rm -f "$out"

  dir=$(corpus ordered "$size" 0.05)
  h=$(QT_QPA_PLATFORM=offscreen "$build/viewer_bench" --halt "$dir/new.txt" "$dir/old.txt" 2>/dev/null || true)
  x=$(echo "$h" | sed -n 's/^ *Halt to stop *\([0-9]*\) ms.*/\1/p')
  if [ -n "$x" ]; then
    row "Halt during a $size compare" "$x ms" "-" "-" "< 100 ms" "$(holds "$x" 100)"
  else
    row "Halt during a $size compare" "(ended first)" "-" "-" "< 100 ms" yes
  fi
fi

printf '%-40s %12s %12s %8s %10s  %s\n' "figure" "Quorlin" "peer" "ratio" "target" "holds"
printf '%s\n' "${rows[@]}"
[ "$fails" -eq 0 ] && echo "every target holds" || echo "$fails target(s) missed"
