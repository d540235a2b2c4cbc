#!/bin/sh
# The library's folders are layers that only include downwards:
#   core <- config <- patterns <- template <- image <- interface,   core <- mask <- interface.
# Lists every quoted include of a library header that reaches from a lower layer into a higher
# one (or sideways between mask and the screening layers) and fails if there is any.
#   layering_check.sh <library source folder>
src=${1:?usage: layering_check.sh <library source folder>}

allowed() {  # the folders a layer may include from
  case $1 in
    core) echo "core" ;;
    config) echo "core config" ;;
    patterns) echo "core config patterns" ;;
    template) echo "core config patterns template" ;;
    image) echo "core config patterns template image" ;;
    mask) echo "core mask" ;;
    interface) echo "core config patterns template image mask interface" ;;
    *) echo "" ;;
  esac
}

layers=0
violations=0
for dir in "$src"/*/; do
  layer=$(basename "$dir")
  ok=$(allowed "$layer")
  if [ -z "$ok" ]; then
    echo "unknown layer folder: $layer (add it to layering_check.sh)"
    violations=$((violations + 1))
    continue
  fi
  layers=$((layers + 1))
  for file in "$dir"*.h "$dir"*.cpp; do
    [ -f "$file" ] || continue
    for target in $(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\)/.*|\1|p' "$file"); do
      case " $ok " in
        *" $target "*) ;;
        *)
          echo "$file: $layer includes from $target"
          violations=$((violations + 1))
          ;;
      esac
    done
  done
done

if [ "$layers" -eq 0 ]; then
  echo "no layer folders under $src"
  exit 1
fi
if [ "$violations" -ne 0 ]; then
  echo "$violations include(s) against the layer order"
  exit 1
fi
echo "$layers layers, every include points downwards"
