#!/usr/bin/env bash
# Builds the mesh file fuzzer (preset `fuzz`, clang with libFuzzer, ASan and UBSan),
# writes the seed corpus with the real writer and fuzzes for a bounded time.
# Usage: fuzz/run.sh [seconds]   (default 60). Crashes land in build/fuzz/findings.
# Inputs go up to 256 KB, twice a full file of 1000 nodes and 1000 triangles.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target mesh_file_fuzz write_seed_corpus

dir=build/fuzz
mkdir -p "$dir/seeds" "$dir/corpus" "$dir/findings"
"$dir/bin/write_seed_corpus" "$dir/seeds"

ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "$dir/bin/mesh_file_fuzz" -max_total_time="$seconds" -max_len=262144 \
  -dict=fuzz/mesh_file.dict -artifact_prefix="$dir/findings/" -print_final_stats=1 \
  "$dir/corpus" "$dir/seeds"
