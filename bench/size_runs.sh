#!/usr/bin/env bash
# Whole runs that mesh generated inputs by size, of growing size: the unit square at a uniform
# size (sizes given at its corners), and a square with four square holes graded by a density
# file (a concentration at each hole), at about 10 000 and 100 000 triangles and at the largest
# mesh the work arrays allow (a size so small that the node maximum stops the run). Prints per
# input the triangles written, the best wall time of three runs, triangles per second and the
# peak memory; then, when the CGAL harness is given, CGAL's 2D mesher on the same unit square
# at the same triangle counts, and tesmo's triangles per second divided by CGAL's.
# Usage: bash bench/size_runs.sh path/to/tesmo [path/to/cgal_square]
set -euo pipefail

tesmo="${1:?usage: bench/size_runs.sh TESMO_BINARY [CGAL_HARNESS]}"
cgal="${2:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/inputs.sh"

now() { date +%s.%N; }
best() { awk 'NR == 1 || $1 < m { m = $1 } END { print m }'; }

# timed COMMAND...: the best wall time of three runs into $wall, the peak memory (KB) into $peak
timed() {
  local times="" start end
  for attempt in 1 2 3; do
    start=$(now)
    /usr/bin/time -f "%M" -o "$work/memory.txt" "$@" > "$work/log.txt"
    end=$(now)
    times="$times$(echo "$end - $start" | bc -l)"$'\n'
  done
  wall=$(printf '%s' "$times" | best)
  peak=$(tail -1 "$work/memory.txt")
}

# report NAME TRIANGLES [EXTRA]: one line of figures from $wall and $peak
report() {
  printf '%-40s triangles %8d  %7.3f s  %9.0f triangles/s  peak %6.1f MB%s\n' "$1" "$2" "$wall" \
    "$(echo "$2 / $wall" | bc -l)" "$(echo "$peak / 1024" | bc -l)" "${3:-}"
}

# run NAME GEOMETRY SIZES: tesmo's whole run; the triangle count into $triangles
run() {
  rm -f "$work/out.msh"
  timed "$tesmo" s "$2" "$3" "$work/out.msh"
  if [ ! -f "$work/out.msh" ]; then
    printf '%-40s failed: %s\n' "$1" "$(tr '\n' ' ' < "$work/log.txt")"
    triangles=0
    return
  fi
  triangles=$(awk '/^DEBILM/ { getline; print $1; exit }' "$work/out.msh")
  report "$1" "$triangles"
}

# peer TRIANGLES RATE: CGAL's whole run on the unit square at about that count, and tesmo's
# triangles per second (RATE) over CGAL's
peer() {
  local size count
  size=$("$cgal" size "$1")
  timed "$cgal" "$size" "$work/cgal.txt"
  count=$(awk '{ print $2 }' "$work/log.txt")
  report "CGAL unit square size=$size" "$count" \
    "$(printf '  tesmo/CGAL %5.2f' "$(echo "$2 / ($count / $wall)" | bc -l)")"
}

square > "$work/square.geo"
holes > "$work/holes.geo"
echo "-- unit square, uniform size (sizes at its corners)"
declare -a counts rates
for h in 0.0149 0.0047 0.0013; do
  uniform "$h" > "$work/square.grd"
  label="unit square h=$h"
  [ "$h" = 0.0013 ] && label="$label (node max)"
  run "$label" "$work/square.geo" "$work/square.grd"
  counts+=("$triangles")
  rates+=("$(echo "$triangles / $wall" | bc -l)")
done
echo "-- square with four holes, density file (a concentration at each hole)"
for pair in "0.005 1.025" "0.0016 1.012" "0.0002 1.002"; do
  density $pair > "$work/holes.den"
  label="holes h0,q=${pair/ /,}"
  [ "$pair" = "0.0002 1.002" ] && label="$label (node max)"
  run "$label" "$work/holes.geo" "$work/holes.den"
done
if [ -n "$cgal" ] && [ -x "$cgal" ]; then
  echo "-- CGAL 2D mesher (Delaunay_mesher_2, shape bound 0.125) on the unit square, same triangle counts"
  for i in 0 1 2; do
    peer "${counts[$i]}" "${rates[$i]}"
  done
else
  echo "-- CGAL 2D mesher: not built (install libcgal-dev and configure the benchmarks again)"
fi
