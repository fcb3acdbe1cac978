#!/usr/bin/env bash
# Times quorlin-cli (a Chng and a Long listing to /dev/null) against GNU diff
# on the same generated pairs, in one run, and prints the ratios.
#   bench/listing_vs_diff.sh [SIZE] [RATES]     default: 100M "0.001 0.05"
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
size="${1:-100M}"
rates="${2:-0.001 0.05}"
cli="$here/build/quorlin-cli"
gen="${QUORLIN_GEN_CORPUS:-$here/../shared/bench/gen_corpus.py}"
[ -x "$cli" ] || { echo "build quorlin-cli first (./test.sh or ./run.sh)"; exit 2; }

seconds() { # command... -> best wall time of three runs
  local best=""
  for _ in 1 2 3; do
    local start end t
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" -eq 1 ]; then best=$t; fi
  done
  echo "$best"
}

for rate in $rates; do
  dir="${TMPDIR:-/tmp}/quorlin-bench-$size/$rate"
  [ -f "$dir/new.txt" ] || python3 "$gen" ordered "$size" "$dir" --rate "$rate" --seed 1 2>/dev/null
  d=$(seconds diff "$dir/old.txt" "$dir/new.txt")
  c=$(seconds "$cli" -t chng "$dir/new.txt" "$dir/old.txt")
  l=$(seconds "$cli" -t long "$dir/new.txt" "$dir/old.txt")
  printf '%s rate %s: diff %.2f s  chng %.2f s (%.2fx diff)  long %.2f s (%.2fx diff)\n' \
    "$size" "$rate" "$d" "$c" "$(echo "$c / $d" | bc -l)" "$l" "$(echo "$l / $d" | bc -l)"
done
