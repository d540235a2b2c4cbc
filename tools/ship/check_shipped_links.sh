#!/bin/sh
# Fails when a shipped program holds a copy of the library instead of loading the shared one:
# when it does not need libkorvel.so, or defines a function or datum that the static archive
# defines as a global. Weak definitions (inline functions, templates) are left out: every
# program that includes a header has its own.
#   check_shipped_links.sh PROGRAM STATIC_ARCHIVE
program=${1:?usage: check_shipped_links.sh PROGRAM STATIC_ARCHIVE}
archive=${2:?usage: check_shipped_links.sh PROGRAM STATIC_ARCHIVE}
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

if ! readelf -d "$program" | grep -q 'NEEDED.*\[libkorvel\.so'; then
  echo "$program does not load libkorvel.so"
  exit 1
fi
# The archive's global definitions, and every definition in the program: linking turns the
# library's hidden globals into local symbols of the program.
nm --defined-only --extern-only -P "$archive" 2>/dev/null | awk '$2 ~ /^[TDBR]$/ { print $1 }' |
  sort -u >"$work/library"
nm --defined-only -P "$program" 2>/dev/null | awk '$2 ~ /^[TtDdBbRr]$/ { print $1 }' |
  sort -u >"$work/program"
if [ ! -s "$work/library" ] || [ ! -s "$work/program" ]; then
  echo "no symbols read from $archive or $program (stripped?)"
  exit 1
fi
comm -12 "$work/library" "$work/program" >"$work/both"
if [ -s "$work/both" ]; then
  echo "$program defines $(wc -l <"$work/both") of the library's own symbols, e.g.:"
  head -n 10 "$work/both" | c++filt
  exit 1
fi
echo "$(basename "$program") loads libkorvel.so and holds none of its $(wc -l <"$work/library") symbols"
