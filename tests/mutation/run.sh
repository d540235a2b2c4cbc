#!/usr/bin/env bash
# Plants every fault of faults.txt in turn into a private copy of the source tree, builds the
# library's test program, runs the default suite (every test but the Slow* suites) and reports
# which faults the suite caught; exits 1 when one was missed. The whole list takes about half
# an hour; CI runs a share of it that rotates from day to day (.ci/run faults).
#
#   tests/mutation/run.sh [name-filter]
#
# KORVEL_MUTATION_SHARE K/N  plant only the faults whose index i has i % N == K (0 <= K < N).
# KORVEL_MUTATION_DIR  where the copy and its build live (default /tmp/korvel-mutation-$USER);
#                      kept between runs, so a second run builds incrementally.
# KORVEL_MUTATION_JOBS build jobs (default 2).
# KORVEL_MUTATION_TESTS the GoogleTest filter of the suite run (default '-Slow*', the unit tests).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
tree_root=$(git -C "$here" rev-parse --show-toplevel)
work=${KORVEL_MUTATION_DIR:-/tmp/korvel-mutation-${USER:-$(id -u)}}
jobs=${KORVEL_MUTATION_JOBS:-2}
filter=${1:-}
share=${KORVEL_MUTATION_SHARE:-0/1}
share_k=${share%/*}
share_n=${share#*/}
if ! [[ $share_k =~ ^[0-9]+$ && $share_n =~ ^[1-9][0-9]*$ ]] || ((share_k >= share_n)); then
  echo "KORVEL_MUTATION_SHARE must be K/N with 0 <= K < N, not '$share'" >&2
  exit 2
fi
tests=${KORVEL_MUTATION_TESTS:--Slow*}
copy=$work/tree
build=$work/build
log=$work/log
faults=$here/faults.txt
plant="python3 $here/plant.py"

mkdir -p "$copy" "$build" "$log"
echo "copying $tree_root to $copy"
$plant sync "$tree_root" "$copy"

build_tests() {
  cmake --build "$build" --target korvel_tests -j "$jobs" >"$1" 2>&1
}
run_tests() {
  timeout 900 "$build/tests/korvel_tests" --gtest_filter="$tests" --gtest_fail_fast \
    --gtest_brief=1 >"$1" 2>&1
}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$copy" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_BENCH=OFF \
    >"$log/configure.txt" 2>&1
fi
echo "building the unchanged tree"
build_tests "$log/baseline-build.txt" || { echo "baseline build failed: $log/baseline-build.txt"; exit 2; }
run_tests "$log/baseline-tests.txt" || { echo "baseline tests fail: $log/baseline-tests.txt"; exit 2; }

mapfile -t names < <($plant list "$faults")
report=()
missed=0
for i in "${!names[@]}"; do
  name=${names[$i]}
  if [ -n "$filter" ] && [[ $name != *$filter* ]]; then continue; fi
  if ((i % share_n != share_k)); then continue; fi
  file=$($plant plant "$faults" "$i" "$copy") || exit 2
  slug=$(printf '%02d' "$i")
  if ! build_tests "$log/$slug-build.txt"; then
    $plant restore "$copy" "$file"
    echo "fault '$name' does not compile: $log/$slug-build.txt"
    exit 2
  fi
  if run_tests "$log/$slug-tests.txt"; then
    verdict=MISSED
    missed=$((missed + 1))
    by="-"
  else
    verdict=caught
    by=$(grep -m1 -oE '^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+' "$log/$slug-tests.txt" |
      sed 's/^\[  FAILED  \] //' || true)
    [ -n "$by" ] || by="(crash or timeout)"
  fi
  $plant restore "$copy" "$file"
  line=$(printf '| %-6s | %-58s | %-28s | %s |' "$verdict" "$name" "$file" "$by")
  report+=("$line")
  echo "$line"
done

echo
echo "| Result | Fault | File | First failing test |"
echo "|---|---|---|---|"
printf '%s\n' "${report[@]}"
echo
echo "${#report[@]} faults planted, $((${#report[@]} - missed)) caught, $missed missed"
if ((${#report[@]} == 0)); then
  echo "no fault was planted: the filter '$filter' and share $share select none" >&2
  exit 2
fi
[ "$missed" -eq 0 ]
