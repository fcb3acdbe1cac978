#!/usr/bin/env bash
# Cost of the C++ comment filter: the same compare of a generated C-like pair
# with and without Dcpp, in one run; prints the ratio (the aim is at most 1.5).
#   bench/filter_cost.sh [SIZE] [RATE]     default: 100M 0.05
set -euo pipefail
source "$(dirname "$0")/lib.sh"
size="${1:-100M}"
rate="${2:-0.05}"
dir=$(corpus ordered "$size" "$rate")
plain=$(seconds "$cli" "$dir/new.txt" "$dir/old.txt")
dcpp=$(seconds "$cli" -d dcpp "$dir/new.txt" "$dir/old.txt")
printf '%s rate %s: no filter %.2f s  Dcpp %.2f s  ratio %.2f\n' "$size" "$rate" "$plain" "$dcpp" \
  "$(ratio "$dcpp" "$plain")"
