#!/usr/bin/env bash
# Proves that korvel behaves as a subproject and as a bare library build:
#  - a small project including it with add_subdirectory builds (without -Werror, and without
#    korvel's tests, tools, CUPS filter or benchmarks) and its host runs;
#  - korvel on its own configures with tools and benchmarks off, its tests still registered.
#   examples/check-subproject.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== korvel through add_subdirectory"
cmake -S "$root/examples/subproject" -B "$work/subproject" -DCMAKE_BUILD_TYPE=Release >"$work/configure.log"
cache=$work/subproject/CMakeCache.txt
for option in KORVEL_BUILD_TESTS KORVEL_BUILD_TOOLS KORVEL_BUILD_BENCH KORVEL_BUILD_CUPS_FILTER \
  KORVEL_WARNINGS_AS_ERRORS; do
  grep -q "^$option:BOOL=OFF$" "$cache" || { echo "$option is not OFF in a subproject" >&2; exit 1; }
done
cmake --build "$work/subproject" -j2 -- VERBOSE=1 >"$work/build.log"
if grep -q -- "-Werror" "$work/build.log"; then
  echo "a subproject build compiles with -Werror" >&2
  exit 1
fi
"$work/subproject/korvel_subproject_host" >/dev/null
echo "subproject host: ok"

echo "== korvel with tools and benchmarks off"
cmake -S "$root" -B "$work/bare" -DKORVEL_BUILD_TOOLS=OFF -DKORVEL_BUILD_BENCH=OFF >/dev/null
grep -q "korvel_tests" "$work/bare/tests/Makefile" || { echo "no test program with tools off" >&2; exit 1; }
if grep -q "korvel_cli\|korvel_bench" "$work/bare/Makefile"; then
  echo "the tool or the benchmarks are configured with both off" >&2
  exit 1
fi
echo "tools and benchmarks off: configured, the test program registered"
echo "== subproject check passed"
