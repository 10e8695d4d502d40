#!/usr/bin/env bash
# Whole runs that mesh generated inputs by size, of growing size: the unit square at a uniform
# size (sizes given at its corners), and a square with four square holes graded by a density
# file (a concentration at each hole), from about 10 000 to 10 million triangles (the work
# arrays grow with the job). Prints per input the triangles written, the wall time (best of three
# runs up to a million triangles, one run above), triangles per second, the peak memory and the
# bytes of it per triangle, and the growth of the time per triangle from the run of about
# 100 000 triangles beside the growth of log(n) (time as n log n keeps the two equal); then,
# when the CGAL harness is given, CGAL's 2D mesher on the same unit square at the counts it
# reaches in reasonable time, and tesmo's triangles per second divided by CGAL's.
# Usage: bash bench/size_runs.sh path/to/tesmo [path/to/cgal_square]
set -euo pipefail

tesmo="${1:?usage: bench/size_runs.sh TESMO_BINARY [CGAL_HARNESS]}"
cgal="${2:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/inputs.sh"

now() { date +%s.%N; }
best() { awk 'NR == 1 || $1 < m { m = $1 } END { print m }'; }

# timed RUNS COMMAND...: the best wall time of RUNS runs into $wall, the peak memory (KB) into $peak
timed() {
  local runs=$1 times="" start end
  shift
  for ((attempt = 1; attempt <= runs; attempt++)); do
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
  printf '%-34s triangles %9d %8.3f s %9.0f tri/s  peak %7.1f MB %5.0f B/tri%s\n' "$1" "$2" "$wall" \
    "$(echo "$2 / $wall" | bc -l)" "$(echo "$peak / 1024" | bc -l)" "$(echo "$peak * 1024 / $2" | bc -l)" "${3:-}"
}

# growth TRIANGLES: the time per triangle over that of the reference run ($reference_n,
# $reference_t), beside log(n) over log(reference n)
growth() {
  if [ -z "${reference_n:-}" ] || [ "$1" -le "$reference_n" ]; then
    return
  fi
  printf '  time/tri x%.2f, log n x%.2f' "$(echo "($wall / $1) / ($reference_t / $reference_n)" | bc -l)" \
    "$(echo "l($1) / l($reference_n)" | bc -l)"
}

# run NAME GEOMETRY SIZES: tesmo's whole run; the triangle count into $triangles
run() {
  rm -f "$work/out.msh"
  local runs=3
  [ "$4" -gt 1500000 ] && runs=1
  timed "$runs" "$tesmo" s "$2" "$3" "$work/out.msh"
  if [ ! -f "$work/out.msh" ]; then
    printf '%-34s failed: %s\n' "$1" "$(tr '\n' ' ' < "$work/log.txt")"
    triangles=0
    return
  fi
  triangles=$(awk '/^DEBILM/ { getline; print $1; exit }' "$work/out.msh")
  rm -f "$work/out.msh"
  report "$1" "$triangles" "$(growth "$triangles")"
  if [ "$4" = 100000 ]; then
    reference_n=$triangles
    reference_t=$wall
  fi
}

# peer TRIANGLES RATE: CGAL's whole run on the unit square at about that count, and tesmo's
# triangles per second (RATE) over CGAL's
peer() {
  local size count
  size=$("$cgal" size "$1")
  timed 1 "$cgal" "$size" "$work/cgal.txt"
  count=$(awk '{ print $2 }' "$work/log.txt")
  report "CGAL unit square size=$size" "$count" \
    "$(printf '  tesmo/CGAL %5.2f' "$(echo "$2 / ($count / $wall)" | bc -l)")"
}

square > "$work/square.geo"
holes > "$work/holes.geo"
echo "-- unit square, uniform size (sizes at its corners)"
declare -a counts rates
# size h: about 2.24 / h^2 triangles
for pair in "0.0149 10000" "0.00473 100000" "0.0015 1000000" "0.00075 4000000" "0.000473 10000000"; do
  set -- $pair
  uniform "$1" > "$work/square.grd"
  run "unit square h=$1" "$work/square.geo" "$work/square.grd" "$2"
  counts+=("$triangles")
  rates+=("$(echo "$triangles / $wall" | bc -l)")
done
echo "-- square with four holes, density file (a concentration at each hole)"
unset reference_n
# the size grows as h0 + (q - 1) d about each hole: h0 and q - 1 scaled together
for triple in "0.005 1.025 10000" "0.0016 1.012 100000" "0.00049 1.00367 1000000" "0.000245 1.00184 4000000" \
  "0.000155 1.00116 10000000"; do
  set -- $triple
  density "$1" "$2" > "$work/holes.den"
  run "holes h0,q=$1,$2" "$work/holes.geo" "$work/holes.den" "$3"
done
if [ -n "$cgal" ] && [ -x "$cgal" ]; then
  echo "-- CGAL 2D mesher (Delaunay_mesher_2, shape bound 0.125) on the unit square, same triangle counts"
  for i in 0 1 2; do
    peer "${counts[$i]}" "${rates[$i]}"
  done
else
  echo "-- CGAL 2D mesher: not built (install libcgal-dev and configure the benchmarks again)"
fi
