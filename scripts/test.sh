#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite: first under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the release build with
# warnings as errors, whose summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"

cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"
