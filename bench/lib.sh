# Shared helpers of the benchmark scripts (sourced, not run).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cli="$here/build/quorlin-cli"
gen="${QUORLIN_GEN_CORPUS:-$here/../shared/bench/gen_corpus.py}"
[ -x "$cli" ] || { echo "build quorlin-cli first (./test.sh or ./run.sh)"; exit 2; }
command -v bc >/dev/null || { echo "the benchmarks need bc (apt-get install bc)"; exit 2; }
if [ ! -f "$gen" ]; then
  echo "the corpus generator is missing: $gen does not exist." >&2
  echo "Point QUORLIN_GEN_CORPUS at gen_corpus.py (it lives in shared/bench beside the checkout)." >&2
  exit 2
fi

# seconds COMMAND...: the best wall time of three runs.
seconds() {
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

# corpus KIND SIZE RATE: the directory of a generated pair (made once).
corpus() {
  local dir="${TMPDIR:-/tmp}/quorlin-bench-$1-$2/$3"
  if [ ! -f "$dir/new.txt" ]; then
    if [ "$1" = list ]; then
      python3 "$gen" list "$2" "$dir" --only "$3" --seed 1 2>/dev/null
    else
      python3 "$gen" ordered "$2" "$dir" --rate "$3" --seed 1 2>/dev/null
    fi || { echo "the corpus generator $gen failed for $1 $2 $3" >&2; exit 2; }
  fi
  echo "$dir"
}

ratio() { echo "$1 / $2" | bc -l; }
