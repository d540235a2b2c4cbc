#!/usr/bin/env bash
# Installs korvel into a temporary prefix and proves that a third party can use it there:
# the example hosts (one ink, and a CMYK page on four threads) built through find_package(korvel)
# and through pkg-config, and the installed tool finding its own data.
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
cmake --build "$build" --target korvel korvel_cli -j2
cmake --install "$build" --prefix "$prefix" >/dev/null
echo "== installed into a temporary prefix:"
(cd "$prefix" && find . -type f | sort)

echo "== example through find_package(korvel)"
cmake -S "$root/examples" -B "$work/example" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/example" >/dev/null
"$work/example/korvel_example"
"$work/example/korvel_cmyk_example"

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
echo "== install check passed"
