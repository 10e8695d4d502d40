#!/usr/bin/env bash
# Whole runs of the tesmo program on generated geometries of growing size: prints, for each
# run, the nodes and triangles written, the wall time, and triangles per second, so that the
# growth of the time with the size can be read off (it should stay near n log n).
# Usage: bash bench/whole_runs.sh path/to/tesmo
set -euo pipefail

tesmo="${1:?usage: bench/whole_runs.sh TESMO_BINARY}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A circle of n border points, one zone; borders of at most 5000 points each.
circle() {
  awk -v n="$1" 'BEGIN {
    print "DEBXYZ"; print n, 2
    for (i = 0; i < n; i++) printf "%.7f %.7f\n", cos(2 * 3.14159265358979 * i / n), sin(2 * 3.14159265358979 * i / n)
    print "FINXYZ"; print "DEBILM"
    parts = int((n + 4998) / 4999); print parts + 1
    for (p = 0; p < parts; p++) {
      first = p * 4999 + 1; last = first + 4999; if (last > n) last = n
      print -3, first, last, 1, 100, 1, 1
    }
    print 2, n, 1, 100, 1, 1
    print "FINILM" }'
}

# A square whose border holds n points (n/4 on each side), one zone.
square() {
  awk -v n="$1" 'BEGIN {
    q = int(n / 4); print "DEBXYZ"; print 4 * q, 2
    for (i = 0; i < q; i++) print i / q, 0
    for (i = 0; i < q; i++) print 1, i / q
    for (i = 0; i < q; i++) print 1 - i / q, 1
    for (i = 0; i < q; i++) print 0, 1 - i / q
    print "FINXYZ"; print "DEBILM"; print 5
    for (s = 0; s < 4; s++) print -3, s * q + 1, (s + 1) * q + (s < 3 ? 1 : 0), 1, 100, 1, 1
    print 2, 4 * q, 1, 100, 1, 1
    print "FINILM" }'
}

# A square of side n cut into n x n square zones: every inner border is shared by two zones.
grid() {
  awk -v n="$1" 'function id(i, j) { return j * (n + 1) + i + 1 }
  BEGIN {
    print "DEBXYZ"; print (n + 1) * (n + 1), 2
    for (j = 0; j <= n; j++) for (i = 0; i <= n; i++) print i, j
    print "FINXYZ"; print "DEBILM"; print 2 * n * (n + 1)
    for (j = 0; j <= n; j++) for (i = 0; i < n; i++)
      print 2, id(i, j), id(i + 1, j), 100, 2, (j > 0 ? (j - 1) * n + i + 1 : 0), (j < n ? j * n + i + 1 : 0)
    for (i = 0; i <= n; i++) for (j = 0; j < n; j++)
      print 2, id(i, j), id(i, j + 1), 100, 2, (i > 0 ? j * n + i : 0), (i < n ? j * n + i + 1 : 0)
    print "FINILM" }'
}

run() {
  local name="$1" file="$2"
  rm -f "$work/out.msh"
  local start end
  start=$(date +%s.%N)
  "$tesmo" s "$file" - "$work/out.msh" > "$work/log.txt"
  end=$(date +%s.%N)
  if [ ! -f "$work/out.msh" ]; then
    printf '%-22s failed: %s\n' "$name" "$(tr '\n' ' ' < "$work/log.txt")"
    return
  fi
  awk -v name="$name" -v t="$(echo "$end - $start" | bc -l)" '
    /^DEBXYZ/ { getline; nodes = $1 }
    /^DEBILM/ { getline; tri = $1 }
    END { printf "%-22s nodes %8d  triangles %8d  %8.3f s  %10.0f triangles/s\n", name, nodes, tri, t, (t > 0 ? tri / t : 0) }' "$work/out.msh"
}

for n in 1000 4000 16000 64000; do
  circle "$n" > "$work/circle.geo"
  run "circle $n" "$work/circle.geo"
done
for n in 1000 5000 20000; do
  square "$n" > "$work/square.geo"
  run "square border $n" "$work/square.geo"
done
for n in 10 30 100; do
  grid "$n" > "$work/grid.geo"
  run "grid of ${n}x${n} zones" "$work/grid.geo"
done
