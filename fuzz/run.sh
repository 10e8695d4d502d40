#!/usr/bin/env bash
# Runs the fuzz targets one after the other, each for the given time under ASan and UBSan, on
# a corpus seeded with the examples and the test data; prints the executions and the findings
# (inputs that crash, hang or leak a file) of each. The findings are kept in
# BUILD_DIR/fuzz-artifacts/TARGET/.
# Usage: run.sh BUILD_DIR SECONDS [TARGET...]
set -u
build=$(cd "$1" && pwd)
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
targets=${*:-geometry mesh nodal_values size command_line}

# The seed files of a target.
seeds() {
  case $1 in
    geometry) ls "$root"/examples/*.geo "$root"/tests/data/*.geo ;;
    mesh) ls "$root"/tests/data/*.msh "$build"/fuzz-seeds/*.msh ;;
    nodal_values) ls "$root"/tests/data/*.grd ;;
    size) ls "$root"/examples/*.den "$root"/tests/data/*.den "$root"/tests/data/*.grd "$root"/tests/data/*.siz ;;
    command_line) ls "$root"/fuzz/seeds/command_line/* ;;
  esac
}

# meshes of the example and of the test geometries, made by the program, seed the mesh reader
mkdir -p "$build/fuzz-seeds"
for geometry in "$root"/examples/*.geo "$root"/tests/data/driver_*.geo; do
  name=$(basename "$geometry" .geo)
  (cd "$build/fuzz-seeds" && rm -f "$name.msh" &&
    ASAN_OPTIONS=detect_leaks=0 "$build/tesmo" s "$geometry" - "$name.msh" > /dev/null 2>&1)
done

status=0
for target in $targets; do
  work=$build/fuzz-work/$target
  corpus=$build/fuzz-corpus/$target
  artifacts=$build/fuzz-artifacts/$target
  mkdir -p "$work" "$corpus" "$artifacts"
  for seed in $(seeds "$target"); do
    cp -n "$seed" "$corpus/" 2> /dev/null
  done
  log=$build/fuzz-$target.log
  (cd "$work" && "$build/fuzz_$target" -max_total_time="$seconds" -max_len=8192 -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus") > "$log" 2>&1
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  findings=$(find "$artifacts" -type f | wc -l)
  printf '%-14s %10s executions %3d findings  (log %s)\n' "$target" "${executions:-?}" "$findings" "$log"
  [ "$findings" -eq 0 ] || status=1
done
exit $status
