#!/usr/bin/env bash
# Keeps the areas of src/ in their layers: a file includes only its own area and the areas
# below it. Prints every include that breaks the order, naming the file, and fails if any.
# Usage: check_includes.sh [SOURCE_ROOT]   (default: the src/ folder beside tests/)
set -u
root=${1:-"$(cd "$(dirname "$0")/../.." && pwd)/src"}

# Rank of each area, lowest first; topology and files share a rank, so neither may include
# the other. tools/ stands above everything and may use any area.
declare -A rank=(
  [support]=0 [messages]=1 [geometry]=2 [topology]=3 [files]=3 [size]=4 [boundary]=5
  [triangulation]=6 [refinement]=7 [driver]=8 [shell]=9 [tools]=10
)

status=0
while IFS= read -r -d '' file; do
  rel=${file#"$root"/}
  area=${rel%%/*}
  if [[ -z ${rank[$area]+x} ]]; then
    echo "$rel: the area '$area' has no place in the layer order"
    status=1
    continue
  fi
  while IFS= read -r line; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"${line#*:}")
    [[ $target == */* ]] || continue
    other=${target%%/*}
    [[ $other == "$area" ]] && continue
    if [[ -z ${rank[$other]+x} ]]; then
      echo "$rel:${line%%:*}: includes \"$target\", outside every area"
      status=1
    elif (( ${rank[$other]} >= ${rank[$area]} )); then
      if (( ${rank[$other]} == ${rank[$area]} )); then what="beside it"; else what="above it"; fi
      echo "$rel:${line%%:*}: includes \"$target\" from the area $other, $what"
      status=1
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
done < <(find "$root" -type f \( -name '*.cpp' -o -name '*.hpp' \) -print0 | sort -z)

if (( status == 0 )); then
  echo "every include keeps to the layer order"
fi
exit $status
