#!/usr/bin/env bash
# Runs every benchmark of bench/ and prints the results as Markdown tables:
# each figure with the raw read of its file (`dd if=FILE of=/dev/null bs=128k`, timed in
# the same run) beside it, the time a window adds to its search, and the
# targets met or missed.
#
#   scripts/bench.sh [--build DIR] [--sizes 1000,10000,100000]
#                    [--repetitions N] [--out DIR] [--filter REGEX] [--smoke]
#
# --build    the build folder (default: build); the benchmarks are built first
# --sizes    record counts of the generated archives
# --repetitions  runs of each benchmark; the tables show the median (default 3)
# --out      where the JSON results are kept (default: a temporary folder)
# --filter   only the benchmarks whose name matches
# --smoke    one short run, nothing built: fails when a benchmark fails
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=build
sizes=1000,10000,100000
repetitions=3
out=""
filter=""
smoke=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    --repetitions) repetitions=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --filter) filter=$2; shift 2 ;;
    --smoke) smoke=1; shift ;;
    *) echo "usage: $0 [--build DIR] [--sizes N,N] [--repetitions N] [--out DIR] [--filter REGEX] [--smoke]" >&2
       exit 2 ;;
  esac
done

if [ -z "$out" ]; then
  out=$(mktemp -d /tmp/zelvano-bench-results-XXXXXX)
  trap 'rm -rf "$out"' EXIT
fi
mkdir -p "$out"

args=(--sizes="$sizes" --benchmark_out_format=json)
if [ "$smoke" -eq 1 ]; then
  args+=(--benchmark_min_time=0.01 --benchmark_repetitions=1)
else
  cmake --build "$build" -j2 --target benchmarks >&2
  args+=(--benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true)
fi
[ -n "$filter" ] && args+=(--benchmark_filter="$filter")

export QT_QPA_PLATFORM=offscreen
cat /proc/loadavg > "$out/load-before.txt"
for bench in bench_store bench_save bench_backup bench_search bench_lists bench_supply bench_export bench_print bench_startup; do
  program="$build/bench/$bench"
  [ -x "$program" ] || continue
  echo "== $bench" >&2
  "$program" "${args[@]}" --benchmark_out="$out/$bench.json" >&2
done
cat /proc/loadavg > "$out/load-after.txt"

/usr/bin/python3 "$here/bench/report.py" "$out"
