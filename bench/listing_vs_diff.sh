#!/usr/bin/env bash
# Times quorlin-cli (a Chng and a Long listing to /dev/null) against GNU diff
# on the same generated pairs, in one run, and prints the ratios.
#   bench/listing_vs_diff.sh [SIZE] [RATES]     default: 100M "0.001 0.05"
set -euo pipefail
source "$(dirname "$0")/lib.sh"
size="${1:-100M}"
rates="${2:-0.001 0.05}"
for rate in $rates; do
  dir=$(corpus ordered "$size" "$rate")
  d=$(seconds diff "$dir/old.txt" "$dir/new.txt")
  c=$(seconds "$cli" -t chng "$dir/new.txt" "$dir/old.txt")
  l=$(seconds "$cli" -t long "$dir/new.txt" "$dir/old.txt")
  printf '%s rate %s: diff %.2f s  chng %.2f s (%.2fx diff)  long %.2f s (%.2fx diff)\n' \
    "$size" "$rate" "$d" "$c" "$(ratio "$c" "$d")" "$l" "$(ratio "$l" "$d")"
done
