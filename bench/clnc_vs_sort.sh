#!/usr/bin/env bash
# The unordered list compare (Clnc) against "LC_ALL=C sort | comm" on the same
# pair of shuffled list files, in one run: Ovsum, and Long written to a file.
# Prints the times, the ratios and Clnc's peak memory.
#   bench/clnc_vs_sort.sh [SIZE]     default: 50M (about 1.4 million lines per file)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
size="${1:-50M}"
dir=$(corpus list "$size" 0.05)
out="${TMPDIR:-/tmp}/quorlin-clnc-long.lst"
pipeline() { LC_ALL=C comm <(LC_ALL=C sort "$dir/old.txt") <(LC_ALL=C sort "$dir/new.txt") >/dev/null; }
s=$(seconds pipeline)
o=$(seconds "$cli" -p clnc -t ovsum "$dir/new.txt" "$dir/old.txt")
l=$(seconds "$cli" -p clnc -t long -o "$out" "$dir/new.txt" "$dir/old.txt")
peak=0
if [ -x /usr/bin/time ]; then # Debian package "time"
  peak=$( (/usr/bin/time -f %M "$cli" -p clnc -t long -o "$out" "$dir/new.txt" "$dir/old.txt" 2>&1 >/dev/null || true) | tail -1)
fi
lines=$(wc -l <"$dir/new.txt")
printf '%s lists (%s lines): sort|comm %.2f s  Clnc Ovsum %.2f s (%.2fx)  Clnc Long to a file %.2f s (%.2fx)  peak %d MB\n' \
  "$size" "$lines" "$s" "$o" "$(ratio "$o" "$s")" "$l" "$(ratio "$l" "$s")" "$((peak / 1024))"
rm -f "$out"
