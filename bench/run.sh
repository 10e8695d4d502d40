#!/usr/bin/env bash
# Runs every benchmark program found in the build folder given as $1 and prints its figures.
# Usage: bash bench/run.sh build/bench
set -euo pipefail

build="${1:?usage: bench/run.sh BUILD_FOLDER}"
if [ ! -d "$build" ]; then
  echo "no build folder: $build" >&2
  exit 1
fi

found=0
for source in "$(dirname "$0")"/*.cpp; do
  name="$(basename "$source" .cpp)"
  program="$build/$name"
  if [ -x "$program" ]; then
    found=1
    echo "== $name"
    "$program" --benchmark_counters_tabular=true
  fi
done

if [ "$found" -eq 0 ]; then
  echo "no benchmark program in $build (configure with -DTESMO_BENCH=ON)" >&2
  exit 1
fi

# Whole runs of the program itself, when it was built in the same folder: on generated
# borders, then by size against CGAL's mesher when its harness was built.
if [ -x "$build/tesmo" ]; then
  echo "== whole runs"
  bash "$(dirname "$0")/whole_runs.sh" "$build/tesmo"
  echo "== whole runs by size"
  bash "$(dirname "$0")/size_runs.sh" "$build/tesmo" "$build/cgal_square"
fi

# The shape of the triangles: tesmo's own rule, the bound on the smallest angle of
# `tesmo-tools mesh` (with and without smoothing), and CGAL's mesher when its harness was built.
if [ -x "$build/tesmo" ] && [ -x "$build/tesmo-tools" ]; then
  echo "== shape of the triangles"
  bash "$(dirname "$0")/quality_runs.sh" "$build/tesmo" "$build/tesmo-tools" "$build/cgal_quality"
fi
