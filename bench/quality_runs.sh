#!/usr/bin/env bash
# Shape of the triangles: the unit square at a uniform size, the square with four holes graded
# by a density file (a concentration at each hole) and the airfoil example, each meshed by
# tesmo's own rule, by `tesmo-tools mesh` with the smallest angle bound to 30 degrees (without
# and with smoothing), and, when its harness is given, by CGAL's 2D mesher with its default
# shape bound (about 20.7 degrees) at the same triangle count as tesmo's own rule. Prints per
# mesh the triangles, the smallest angle, the mean of the smallest angles and the share of
# triangles below 30 degrees (measured by `tesmo-tools stats`, CGAL's by its harness), then
# the targets: the smallest angle at least 30 with the bound, at most 1.05 times the triangles
# of tesmo's own rule on the square, and a mean smallest angle of at least 50 with smoothing.
# Usage: bash bench/quality_runs.sh path/to/tesmo path/to/tesmo-tools [path/to/cgal_quality]
set -euo pipefail

tesmo="${1:?usage: bench/quality_runs.sh TESMO TESMO_TOOLS [CGAL_QUALITY]}"
tools="${2:?usage: bench/quality_runs.sh TESMO TESMO_TOOLS [CGAL_QUALITY]}"
cgal="${3:-}"
examples="$(cd "$(dirname "$0")/../examples" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

bound=30
passes=5

source "$(dirname "$0")/inputs.sh"

# figures MESH: "triangles min mean below30" from tesmo-tools stats (the share in percent)
figures() {
  "$tools" stats "$1" --json | tr -d '\n' |
    sed -E 's/.*"triangles": ([0-9]+).*"min": ([0-9.e+-]+), "mean": ([0-9.e+-]+).*"share_below_30": ([0-9.e+-]+).*/\1 \2 \3 \4/' |
    awk '{ printf "%s %s %s %.6f\n", $1, $2, $3, 100 * $4 }'
}

# row DOMAIN MESHER TRIANGLES MIN MEAN BELOW30 SECONDS
row() {
  printf '%-22s %-34s %9d %9.2f %9.2f %8.2f %%  %6.2f s\n' "$1" "$2" "$3" "$4" "$5" "$6" "$7"
}

now() { date +%s.%N; }

# domain NAME GEOMETRY SIZEFILE CGAL_FIELD: the meshes of one domain; sets $own, $shaped, $smoothed
domain() {
  local name="$1" geometry="$2" sizes="$3" field="$4" start end t
  rm -f "$work/own.msh"
  start=$(now)
  "$tesmo" s "$geometry" "$sizes" "$work/own.msh" > /dev/null
  end=$(now)
  own=($(figures "$work/own.msh"))
  row "$name" "tesmo (its own rule)" "${own[@]}" "$(echo "$end - $start" | bc -l)"
  start=$(now)
  "$tools" mesh "$geometry" --sizes "$sizes" --min-angle "$bound" -o "$work/shaped.msh"
  end=$(now)
  shaped=($(figures "$work/shaped.msh"))
  row "$name" "tesmo-tools mesh --min-angle $bound" "${shaped[@]}" "$(echo "$end - $start" | bc -l)"
  start=$(now)
  "$tools" mesh "$geometry" --sizes "$sizes" --min-angle "$bound" --smooth "$passes" -o "$work/smoothed.msh"
  end=$(now)
  smoothed=($(figures "$work/smoothed.msh"))
  row "$name" "  and --smooth $passes" "${smoothed[@]}" "$(echo "$end - $start" | bc -l)"
  if [ -n "$cgal" ] && [ -x "$cgal" ]; then
    start=$(now)
    t=($("$cgal" "$geometry" "$field" "${own[0]}"))
    end=$(now)
    row "$name" "CGAL (shape bound 0.125)" "${t[1]}" "${t[3]}" "${t[5]}" "${t[7]}" "$(echo "$end - $start" | bc -l)"
  fi
  worst=$(printf '%s\n%s\n' "${shaped[1]}" "${smoothed[1]}" | sort -g | head -1)
  printf '   smallest angle with the bound: %.2f (target: at least %d)\n' "$worst" "$bound"
  printf '   mean smallest angle with smoothing: %.2f (target: at least 50)\n' "${smoothed[2]}"
}

square > "$work/square.geo"
uniform 0.01 > "$work/square.grd"
holes > "$work/holes.geo"
density 0.005 1.025 > "$work/holes.den"
printf '%-22s %-34s %9s %9s %9s %10s  %8s\n' domain mesher triangles smallest mean "<30 deg" time
domain "unit square h=0.01" "$work/square.geo" "$work/square.grd" "uniform:0.01"
printf '   triangles with the bound over tesmo'"'"'s own: %.3f (target: at most 1.05)\n' \
  "$(echo "${shaped[0]} / ${own[0]}" | bc -l)"
domain "holes h0,q=0.005,1.025" "$work/holes.geo" "$work/holes.den" \
  "points:0.25,0.25,0.005,1.025;0.75,0.25,0.005,1.025;0.25,0.75,0.005,1.025;0.75,0.75,0.005,1.025"
domain "airfoil naca0012" "$examples/naca0012.geo" "$examples/naca0012.den" "points:0,0,0.004,1.15;1,0,0.012,1.15"
if [ -z "$cgal" ] || [ ! -x "$cgal" ]; then
  echo "-- CGAL 2D mesher: not built (install libcgal-dev and configure the benchmarks again)"
fi
