#!/usr/bin/env bash
# Installs korvel into a temporary prefix and proves that a third party can use it there:
# the example hosts (one ink, and a CMYK page on four threads) built through find_package(korvel)
# and through pkg-config, the installed tool finding its own data, and the installed CUPS filter
# and PPD (the filter screening a page rendered by ghostscript with the installed parameter files).
#   examples/check-install.sh [BUILD_DIR]   (default: build, configured with the default preset)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

if [ ! -f "$build/CMakeCache.txt" ]; then
  (cd "$root" && cmake --preset default)
fi
cmake --build "$build" --target korvel korvel_cli rastertokorvel -j2
cmake --install "$build" --prefix "$prefix" >/dev/null
echo "== installed into a temporary prefix:"
(cd "$prefix" && find . -type f | sort)

echo "== example through find_package(korvel)"
cmake -S "$root/examples" -B "$work/example" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/example" >/dev/null
"$work/example/korvel_example"
"$work/example/korvel_cmyk_example"
"$work/example/korvel_screen_page"

echo "== example through pkg-config"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
c++ -std=c++17 "$root/examples/host.cpp" $(pkg-config --cflags --libs korvel) \
  -Wl,-rpath,"$(pkg-config --variable=libdir korvel)" -o "$work/example-pc"
"$work/example-pc" >/dev/null
c++ -std=c++17 -pthread "$root/examples/cmyk_host.cpp" $(pkg-config --cflags --libs korvel) \
  -Wl,-rpath,"$(pkg-config --variable=libdir korvel)" -o "$work/cmyk-pc"
"$work/cmyk-pc" >/dev/null
echo "pkg-config build: ok (korvel $(pkg-config --modversion korvel))"

echo "== installed tool"
info=$(env -u KORVEL_DATA_DIR "$prefix/bin/korvel" info)
echo "$info"
grep -q "QntPassParam_50.ini (found)" <<<"$info"
"$prefix/bin/korvel" halftone --quiet --bits 4 "$prefix/share/korvel/chart.pgm" "$work/chart.png"
test -s "$work/chart.png"
echo "== installed CUPS filter and PPD"
filter=$prefix/lib/cups/filter/rastertokorvel
ppd=$prefix/share/ppd/korvel/korvel-inkjet.ppd
cupstestppd -W filters "$ppd"
printf '%%!PS\n0.4 setgray 0 0 200 300 rectfill showpage\n' >"$work/page.ps"
gs -q -dNOPAUSE -dBATCH -sDEVICE=cups -dcupsColorSpace=6 -dcupsBitsPerColor=8 -r100 \
  -sOutputFile="$work/page.ras" "$work/page.ps"
env -u KORVEL_DATA_DIR PPD="$ppd" "$filter" 1 user title 1 "korvel-quality=50" "$work/page.ras" \
  >"$work/screened.ras" 2>"$work/filter.log"
grep -q "INFO: Screened 1 page" "$work/filter.log"
test -s "$work/screened.ras"
echo "filter: ok ($(grep -c '^ATTR' "$work/filter.log") progress lines)"
echo "== install check passed"
