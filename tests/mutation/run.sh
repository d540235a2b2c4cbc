#!/usr/bin/env bash
# Plants every fault of faults.txt in turn into a private copy of the source tree, builds the
# test programs, runs the default suite (every test but the Slow* suites) and reports which
# faults the suite caught; exits 1 when one was missed. A fault may sit in the library, its
# C API, the korvel tool or the CUPS filter: each test program runs when the build relinked it
# or the program it tests (the library's tests first, then the tool's, then the filter's), and
# the first red one catches the fault. The whole list takes about 25 minutes on two busy
# cores (tests/README.md); CI runs a share of it that rotates from day to day (.ci/run faults).
#
#   tests/mutation/run.sh [name-filter]
#
# KORVEL_MUTATION_SHARE K/N  plant only the faults whose index i has i % N == K (0 <= K < N).
# KORVEL_MUTATION_DIR  where the copy and its build live (default /tmp/korvel-mutation-$USER);
#                      kept between runs, so a second run builds incrementally.
# KORVEL_MUTATION_JOBS build jobs (default 2).
# KORVEL_MUTATION_TESTS the GoogleTest filter of every program run (default '-Slow*': the tests
#                      labelled unit, cli and cups).
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

$plant check "$faults" "$tree_root" || exit 2
mkdir -p "$copy" "$build" "$log"
echo "copying $tree_root to $copy"
$plant sync "$tree_root" "$copy"

# Each test program with what it tests, by file name (found in the build wherever the folders
# put them): it runs when one of these files was relinked.
programs=(
  "korvel_tests|korvel_tests"
  "korvel_cli_tests|korvel_cli_tests korvel libkorvel.so.*"
  "korvel_cups_tests|korvel_cups_tests rastertokorvel libkorvel.so.*"
)
targets=(korvel_tests korvel_cli_tests korvel_cups_tests)

# The one built file named $1.
built_file() {
  local found
  mapfile -t found < <(find "$build" -type f -name "$1" ! -path '*/CMakeFiles/*')
  if ((${#found[@]} != 1)); then
    echo "the build holds ${#found[@]} files named '$1', not one: ${found[*]}" >&2
    return 1
  fi
  echo "${found[0]}"
}

build_tests() {
  cmake --build "$build" --target "${targets[@]}" -j "$jobs" >"$1" 2>&1
}
# Runs the programs relinked since the stamp file was touched (all of them without a stamp),
# stopping at the first that fails; prints the programs run. Returns 1 when one failed, 2 when
# a program or what it tests is not in the build.
run_tests() {
  local log=$1 stamp=${2:-} entry program name file ran="" watched
  : >"$log"
  for entry in "${programs[@]}"; do
    program=$(built_file "${entry%%|*}") || return 2
    read -ra watched <<<"${entry#*|}"
    if [ -n "$stamp" ]; then
      local changed=0
      for name in "${watched[@]}"; do
        file=$(built_file "$name") || return 2
        if [ "$file" -nt "$stamp" ]; then changed=1; fi
      done
      ((changed)) || continue
    fi
    ran+="${ran:+ }${program##*/}"
    if ! timeout 900 "$program" --gtest_filter="$tests" --gtest_fail_fast \
      --gtest_brief=1 >>"$log" 2>&1; then
      echo "$ran"
      return 1
    fi
  done
  echo "$ran"
}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$copy" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_BENCH=OFF \
    >"$log/configure.txt" 2>&1
fi
echo "building the unchanged tree"
build_tests "$log/baseline-build.txt" || { echo "baseline build failed: $log/baseline-build.txt"; exit 2; }
run_tests "$log/baseline-tests.txt" >/dev/null ||
  { echo "baseline tests fail: $log/baseline-tests.txt"; exit 2; }
stamp=$work/built

mapfile -t names < <($plant list "$faults")
report=()
missed=0
for i in "${!names[@]}"; do
  name=${names[$i]}
  if [ -n "$filter" ] && [[ $name != *$filter* ]]; then continue; fi
  if ((i % share_n != share_k)); then continue; fi
  started=$SECONDS
  touch "$stamp"
  file=$($plant plant "$faults" "$i" "$copy") || exit 2
  slug=$(printf '%02d' "$i")
  if ! build_tests "$log/$slug-build.txt"; then
    $plant restore "$copy" "$file"
    echo "fault '$name' does not compile: $log/$slug-build.txt"
    exit 2
  fi
  status=0
  ran=$(run_tests "$log/$slug-tests.txt" "$stamp") || status=$?
  if ((status == 2)); then
    $plant restore "$copy" "$file"
    exit 2
  fi
  if ((status == 0)); then
    verdict=MISSED
    missed=$((missed + 1))
    by="-"
    [ -n "$ran" ] || by="(no test program was rebuilt)"
  else
    verdict=caught
    by=$(grep -m1 -oE '^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_/]+' "$log/$slug-tests.txt" |
      sed 's/^\[  FAILED  \] //' || true)
    [ -n "$by" ] || by=$(grep -m1 -oE '[A-Za-z0-9_]+\.(cpp|h):[0-9]+: Failure' "$log/$slug-tests.txt" || true)
    [ -n "$by" ] || by="(crash or timeout in ${ran##* })"
  fi
  $plant restore "$copy" "$file"
  # Back to the unchanged programs now, so that the next fault's stamp sees only its own.
  build_tests "$log/$slug-restore.txt" || { echo "restored tree does not build"; exit 2; }
  line=$(printf '| %-6s | %-58s | %-28s | %s | %d s |' "$verdict" "$name" "$file" "$by" \
    $((SECONDS - started)))
  report+=("$line")
  echo "$line"
done

echo
echo "| Result | Fault | File | First failing test | Time |"
echo "|---|---|---|---|---|"
printf '%s\n' "${report[@]}"
echo
echo "${#report[@]} faults planted, $((${#report[@]} - missed)) caught, $missed missed, in $SECONDS s"
if ((${#report[@]} == 0)); then
  echo "no fault was planted: the filter '$filter' and share $share select none" >&2
  exit 2
fi
[ "$missed" -eq 0 ]
