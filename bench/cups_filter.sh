#!/usr/bin/env bash
# Speed of the CUPS filter against the library in-process on a 600 dpi A4 CMYK page, and the
# filter's peak memory on a 1200 dpi A4 CMYK page (bench/cups/filter_bench.cpp). A benchmark,
# not a test.
#   bench/cups_filter.sh [BUILD_DIR] [THREADS] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target korvel_cups_bench rastertokorvel -j2 >/dev/null
echo "$(date -u +%F), $(nproc) processor(s): $(lscpu | sed -n 's/^Model name: *//p')"
"$build/bench/korvel_cups_bench" "$build/tools/ship/rastertokorvel/rastertokorvel" "${2:-2}" "${3:-3}"
