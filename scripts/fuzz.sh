#!/usr/bin/env bash
# Runs the fuzz targets of the core (tests/fuzz), two at a time.
#
#   scripts/fuzz.sh --seeded          every target for a short, seeded time
#                                     (about a minute in all); part of ./test.sh
#   scripts/fuzz.sh --long [SECONDS]  every target for SECONDS (default 600),
#                                     keeping what it learns for the next run
#
# With clang and libFuzzer at hand the targets are built in build-fuzz
# (QUORLIN_FUZZ=ON: libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer;
# only the core and the fuzz targets) and run with -seed=1. Without them the
# plain drivers of the normal build (build/tests/fuzz, made by ./test.sh) run
# a seeded mutation loop instead; QUORLIN_FUZZ_PLAIN=1 asks for them anyway.
#
# Each target starts from its seed corpus tests/fuzz/corpus/<target>/. New
# inputs go to build-fuzz/runs/corpus/<target>/ (emptied by --seeded, kept by
# --long), logs to build-fuzz/runs/<target>.log, and failing inputs (crash-*,
# leak-*, timeout-*, oom-*) to build-fuzz/runs/failures/<target>/. Once the
# cause is fixed, copy a failing input into tests/fuzz/corpus/<target>/ under
# a name that says what it catches. Prints the executions of each target and
# exits non-zero when any target failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

targets=(ordered_compare clnc_compare batch_ini user_settings tokens rtf_writer)
jobs=2

usage() {
  echo "usage: scripts/fuzz.sh --seeded | --long [SECONDS]" >&2
  exit 2
}

case "${1:-}" in
  --seeded)
    # Six targets, two at a time, three rounds of 18 seconds.
    seconds=18
    keep_corpus=0
    ;;
  --long)
    seconds=${2:-600}
    [[ "$seconds" =~ ^[0-9]+$ ]] || usage
    keep_corpus=1
    ;;
  *) usage ;;
esac

# Longest input: the compare targets need room for lines past 2048 bytes.
max_len() {
  case "$1" in
    ordered_compare | clnc_compare) echo 8192 ;;
    *) echo 4096 ;;
  esac
}

runs=$root/build-fuzz/runs
mkdir -p "$runs"

# The targets' scratch files on a memory file system where there is one:
# saving user settings syncs the file, which is slow on a disk.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

libfuzzer_works() {
  command -v clang++ >/dev/null 2>&1 || return 1
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' |
    clang++ -x c++ -fsanitize=fuzzer,address,undefined -o "$runs/probe" - >/dev/null 2>&1
}

names=()
for t in "${targets[@]}"; do names+=("fuzz_$t"); done

if [ "${QUORLIN_FUZZ_PLAIN:-0}" != 1 ] && libfuzzer_works; then
  engine=libFuzzer
  cache=build-fuzz/CMakeCache.txt
  if ! { [ -f "$cache" ] && grep -q '^QUORLIN_FUZZ:BOOL=ON' "$cache" &&
         grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++' "$cache"; }; then
    rm -rf build-fuzz/CMakeCache.txt build-fuzz/CMakeFiles
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUORLIN_FUZZ=ON -DQUORLIN_GUI=OFF >/dev/null
  fi
  echo "Building the fuzz targets with libFuzzer in build-fuzz"
  cmake --build build-fuzz -j"$jobs" --target "${names[@]}" >"$runs/build.log" 2>&1 ||
    { cat "$runs/build.log"; exit 1; }
  bin=$root/build-fuzz/tests/fuzz
else
  engine="the plain drivers"
  [ -d build ] || { echo "No build folder: run ./test.sh first (no libFuzzer here)" >&2; exit 1; }
  echo "Building the plain drivers in build"
  cmake --build build -j"$jobs" --target "${names[@]}" >"$runs/build.log" 2>&1 ||
    { cat "$runs/build.log"; exit 1; }
  bin=$root/build/tests/fuzz
fi

run_target() { # target -> writes runs/<target>.log and runs/<target>.result ("status executions")
  local t=$1
  local log=$runs/$t.log corpus=$runs/corpus/$t failures=$runs/failures/$t
  [ "$keep_corpus" = 1 ] || rm -rf "$corpus"
  rm -rf "$failures"
  mkdir -p "$corpus" "$failures"
  local status=0 executions
  if [ "$engine" = libFuzzer ]; then
    "$bin/fuzz_$t" -seed=1 -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=25 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$failures/" \
      "$corpus" "$root/tests/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  else
    "$bin/fuzz_$t" --seconds "$seconds" --seed 1 --max-len "$(max_len "$t")" --save "$failures" \
      "$root/tests/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
    executions=$(sed -n 's/^executions: *//p' "$log" | tail -n 1)
  fi
  echo "$status ${executions:-?}" >"$runs/$t.result"
}

echo "Fuzzing ${#targets[@]} targets with $engine, ${seconds} s each, $jobs at a time"
start=$SECONDS
running=0
for t in "${targets[@]}"; do
  run_target "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true

failed=0
for t in "${targets[@]}"; do
  read -r status executions <"$runs/$t.result" || { status=1; executions=?; }
  # A slow input (libFuzzer's slow-unit-*) is worth a look but no failure.
  found=$(find "$runs/failures/$t" -type f ! -name 'slow-unit-*' 2>/dev/null | sort)
  if [ "$status" -eq 0 ] && [ -z "$found" ]; then
    printf '  %-16s %10s executions  ok\n' "$t" "$executions"
  else
    failed=1
    printf '  %-16s %10s executions  FAILED (see %s)\n' "$t" "$executions" "build-fuzz/runs/$t.log"
    grep -a -m 3 -E '^\*\*\* |ERROR: |SUMMARY: ' "$runs/$t.log" | sed 's/^/      /' || true
    for f in $found; do echo "      failing input: ${f#"$root"/}"; done
  fi
done
echo "Fuzzing took $((SECONDS - start)) s"
exit "$failed"
