#!/usr/bin/env bash
# Whole-process speed of 1-bit error diffusion on a 4096 x 4096 grey PGM, file to file:
#   korvel halftone IN.pgm OUT.pbm           (the library's error-diffusion screen, type 34)
#   korvel halftone --screen fine|best ...   (korvel's own screens)
#   pamditherbw -fs IN.pgm > OUT.pbm         (netpbm's Floyd-Steinberg)
#   textbook_fs IN.pgm OUT.pbm               (tools/make/quality/floyd_steinberg.h, compiled with -O2)
# Each is run RUNS times (default 5); the best wall time counts. A benchmark, not a test.
#   bench/compare_cli.sh [BUILD_DIR]         needs netpbm (apt-get install netpbm)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${RUNS:-5}
korvel=$build/tools/ship/korvel/korvel
for tool in pamditherbw pamscale; do
  command -v "$tool" >/dev/null || { echo "compare_cli: $tool missing (apt-get install netpbm)" >&2; exit 1; }
done
[ -x "$korvel" ] || { echo "compare_cli: build the tool first: cmake --build $build --target korvel_cli" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pamscale -xsize 4096 -ysize 4096 "$root/data/chart.pgm" > "$work/in.pgm"
c++ -O2 -std=c++17 -I "$root/tools/make/quality" -I "$root/tools/ship/figures" "$root/bench/cli/textbook_fs.cpp" -o "$work/textbook_fs"

# Best wall time in seconds of RUNS runs of a shell command.
best_time() {
  local best="" start end elapsed
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s.%N)
    bash -c "$1"
    end=$(date +%s.%N)
    elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
    best=$(awk -v e="$elapsed" -v b="$best" 'BEGIN { print (b == "" || e < b) ? e : b }')
  done
  printf '%.3f' "$best"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }

korvel_s=$(best_time "'$korvel' halftone --quiet '$work/in.pgm' '$work/korvel.pbm'")
fine_s=$(best_time "'$korvel' halftone --quiet --screen fine '$work/in.pgm' '$work/fine.pbm'")
best_s=$(best_time "'$korvel' halftone --quiet --screen best '$work/in.pgm' '$work/best.pbm'")
netpbm_s=$(best_time "pamditherbw -fs '$work/in.pgm' > '$work/netpbm.pbm' 2>/dev/null")
textbook_s=$(best_time "'$work/textbook_fs' '$work/in.pgm' '$work/textbook.pbm'")

printf '%-34s %8s %10s\n' "4096x4096 PGM -> 1-bit PBM" "best s" "vs korvel"
printf '%-34s %8s %10s\n' "korvel halftone (type 34)" "$korvel_s" "1.00"
printf '%-34s %8s %10.2f\n' "pamditherbw -fs (netpbm)" "$netpbm_s" "$(ratio "$netpbm_s" "$korvel_s")"
printf '%-34s %8s %10.2f\n' "textbook Floyd-Steinberg (-O2)" "$textbook_s" "$(ratio "$textbook_s" "$korvel_s")"
printf '%-34s %8s %10.2f\n' "korvel halftone --screen fine" "$fine_s" "$(ratio "$fine_s" "$korvel_s")"
printf '%-34s %8s %10.2f\n' "korvel halftone --screen best" "$best_s" "$(ratio "$best_s" "$korvel_s")"
echo "(ratios above 1 mean korvel's type 34 is faster; best of $runs runs)"
echo "fine takes $(ratio "$fine_s" "$textbook_s") times the textbook program's time, best $(ratio "$best_s" "$textbook_s") times"
