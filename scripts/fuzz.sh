#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [SECONDS]      (default 60 per target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S . -B build-fuzz -G Ninja -DTALLOWIN_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-fuzz --parallel "$(nproc)"
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
status=0
for target in build-fuzz/bin/fuzz_*; do
  [[ -f $target && -x $target ]] || continue
  name=$(basename "$target")
  corpus=$(mktemp -d)
  seeds=()
  # Seeds from the shared sample mail when it is beside the checkout (read only).
  [[ $name == fuzz_message && -d ../shared/corpus/eml ]] && seeds+=(../shared/corpus/eml)
  [[ $name == fuzz_tnef && -d ../shared/corpus/tnef ]] && seeds+=(../shared/corpus/tnef)
  [[ -d fuzz/seeds/$name ]] && seeds+=("fuzz/seeds/$name")
  echo "fuzz: $name for ${seconds}s"
  if ! "$target" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -malloc_limit_mb=1024 -print_final_stats=1 > "build-fuzz/$name.log" 2>&1; then
    echo "fuzz: $name FAILED"; tail -40 "build-fuzz/$name.log"; status=1
  else
    grep -E "stat::number_of_executed_units|Done" "build-fuzz/$name.log" | tail -2
  fi
  rm -rf "$corpus"
done
exit $status
