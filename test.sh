#!/usr/bin/env bash
# Installs what is missing, builds the optimised preset and runs every test.
# ./test.sh [PRESET]   PRESET: default (the whole suite), asan or tsan (sanitizer builds,
#                      which leave out the long zexdoc/zexall runs)
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-default}"
scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
