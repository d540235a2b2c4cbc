#!/bin/sh
# The shipped programs' code includes the public header and their own headers only: every
# quoted include in tools/ship must name a header under tools/ship (beside the file, or by its
# folder under tools/ship). One that only src/ or tools/make holds fails the check.
#   shipped_includes_check.sh <source root>
root=${1:?usage: shipped_includes_check.sh <source root>}
ship=$root/tools/ship
[ -d "$ship" ] || { echo "no folder $ship"; exit 1; }

files=0
violations=0
for file in $(find "$ship" -name '*.h' -o -name '*.cpp'); do
  files=$((files + 1))
  folder=$(dirname "$file")
  for header in $(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*|\1|p' "$file"); do
    [ -f "$folder/$header" ] || [ -f "$ship/$header" ] || [ -n "$(find "$ship" -path "*/$header")" ] && continue
    echo "${file#"$root"/}: includes $header, which is not shipped code"
    violations=$((violations + 1))
  done
done
if [ "$files" -eq 0 ]; then
  echo "no sources under $ship"
  exit 1
fi
if [ "$violations" -ne 0 ]; then
  echo "$violations include(s) reach outside tools/ship"
  exit 1
fi
echo "$files files, every quoted include is shipped code"
