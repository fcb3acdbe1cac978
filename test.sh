#!/usr/bin/env bash
# Installs what is missing, builds Quorlin and runs every test: the whole
# suite, then the core tests again in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, then a seeded run of the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

jobs="${QUORLIN_JOBS:-2}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORLIN_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs" --target core_tests

summary() { # ctest log -> "passed failed"
  sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n 1
}

status=0
ctest --test-dir build --output-on-failure -j"$jobs" | tee build/ctest.log || status=1
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -L core --output-on-failure -j"$jobs" | tee build-asan/ctest.log || status=1

# The fuzz targets: a seeded run of each, about a minute in all.
scripts/fuzz.sh --seeded || status=1

passed=0
failed=0
for log in build/ctest.log build-asan/ctest.log; do
  read -r f total < <(summary "$log" || echo "0 0")
  f=${f:-0}
  total=${total:-0}
  passed=$((passed + total - f))
  failed=$((failed + f))
done
echo "$passed passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
