#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench/) and runs every one of them, printing medians.
# Extra arguments go to cmake's configure step (for example -DORBISK_CORE_ONLY=OFF).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
jobs="${ORBISK_BENCH_JOBS:-2}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORBISK_CORE_ONLY=ON "$@" >/dev/null
# The bench programs and what they start (orbisk-cli); nothing else needs building.
targets=$(cmake --build "$build" --target help | sed -n 's/^\([A-Za-z0-9_-]*_bench\): .*/\1/p')
cmake --build "$build" -j"$jobs" --target orbisk-cli $targets

status=0
for program in "$build"/bin/*_bench; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  if ldd "$program" 2>/dev/null | grep -q libbenchmark; then
    # Google Benchmark: repetitions as each benchmark declares them (3 where it declares none),
    # aggregates only, of which the median is the figure to quote.
    "$program" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
        --benchmark_display_aggregates_only=true | grep -E '^(Benchmark|-{10})|_median' || status=1
  else
    "$program" || status=1
  fi
done
exit $status
