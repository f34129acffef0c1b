#!/usr/bin/env bash
# Builds the fuzzers (preset `fuzz`, clang with libFuzzer, ASan and UBSan), writes their
# seed corpora with the real writers and fuzzes each for a bounded time: the mesh file
# reader, then the PNG, BMP and TIFF row readers, then the sequence index reader.
# Usage: fuzz/run.sh [seconds per fuzzer] [fuzzer...]   (default 60, all five).
# Crashes land in build/fuzz/findings. Mesh inputs go up to 256 KB, twice a full file of
# 1000 nodes and 1000 triangles; photographs and sequence indexes up to 64 KB.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(mesh_file png_rows bmp_rows tiff_rows sequence_index)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target write_seed_corpus write_picture_seeds \
  $(printf '%s_fuzz ' "${fuzzers[@]}")

dir=build/fuzz
mkdir -p "$dir/seeds" "$dir/findings"
"$dir/bin/write_seed_corpus" "$dir/seeds"
"$dir/bin/write_picture_seeds" "$dir/seeds"

for fuzzer in "${fuzzers[@]}"; do
  case $fuzzer in
    mesh_file) seeds="$dir/seeds"; options=(-max_len=262144 -dict=fuzz/mesh_file.dict) ;;
    sequence_index) seeds="$dir/seeds/sequence"; options=(-max_len=65536 -dict=fuzz/sequence_index.dict) ;;
    *) seeds="$dir/seeds/${fuzzer%_rows}"; options=(-max_len=65536 -rss_limit_mb=1024) ;;
  esac
  mkdir -p "$dir/corpus/$fuzzer"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$dir/bin/${fuzzer}_fuzz" -max_total_time="$seconds" "${options[@]}" \
    -artifact_prefix="$dir/findings/$fuzzer-" -print_final_stats=1 \
    "$dir/corpus/$fuzzer" "$seeds"
done
