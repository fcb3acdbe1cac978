#!/usr/bin/env bash
# Installs what is missing, builds Quorlin and compares the bundled example
# pair (examples/new and examples/old).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${QUORLIN_JOBS:-2}"

./build/engine_bench examples/new/ledger.c examples/old/ledger.c
