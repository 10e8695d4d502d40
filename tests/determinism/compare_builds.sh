#!/usr/bin/env bash
# Same input, same files: meshes a set of inputs with the program built as debug (-O0),
# check (-O1 with assertions), release and sanitizer builds, and compares the mesh files and
# nodal-size files they write byte for byte. Prints each difference; exits 1 if there is any.
# Usage: bash tests/determinism/compare_builds.sh   (from the project folder; builds what it needs)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
jobs="${JOBS:-2}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

declare -A flags=(
  [debug]="-DCMAKE_BUILD_TYPE=Debug -DTESMO_TESTS=OFF"
  [check]="-DCMAKE_BUILD_TYPE=Check -DTESMO_TESTS=ON"
  [release]="-DCMAKE_BUILD_TYPE=Release -DTESMO_TESTS=OFF"
  [sanitize]="-DCMAKE_BUILD_TYPE=Check -DTESMO_TESTS=ON -DTESMO_SANITIZE=ON"
)
builds=(debug check release sanitize)
for build in "${builds[@]}"; do
  # shellcheck disable=SC2086
  cmake -S "$root" -B "$root/build/$build" ${flags[$build]} > /dev/null
  cmake --build "$root/build/$build" --target tesmo -j "$jobs" > /dev/null
done

# the inputs: the bundled example, a square at a uniform size, a square with holes graded by
# concentrations, a round hole graded from its border (no size file), a plane zone in space
# with sizes at its points, and a maximum number of nodes
printf 'DEBXYZ\n4 2\n0. 0.\n1. 0.\n1. 1.\n0. 1.\nFINXYZ\nDEBILM\n1\n5 1 2 3 4 1 100 1 1\nFINILM\n' > "$work/square.geo"
printf '* GRANDEUR 1.0.0  (12 AOUT 97)\n* square.msh\nDEBGRD\n 4 1\n 1 0.01\n 2 0.01\n 3 0.02\n 4 0.01\nFINGRD\n' \
  > "$work/square.grd"
awk 'BEGIN {
  print "DEBXYZ"; print 52, 2; print 0, 0; print 4, 0; print 4, 4; print 0, 4
  for (i = 0; i < 48; i++) printf "%.7f %.7f\n", 1 + 0.3 * cos(-6.28318530718 * i / 48), 1 + 0.3 * sin(-6.28318530718 * i / 48)
  print "FINXYZ"; print "DEBILM"; print 3; print 5, 1, 2, 3, 4, 1, 100, 1, 1; print -3, 5, 52, 1, 100, 1, 1
  print 2, 52, 5, 100, 1, 1; print "FINILM" }' > "$work/round.geo"
awk 'BEGIN {
  print "DEBXYZ"; print 12, 2; print 0, 0; print 1, 0; print 1, 1; print 0, 1
  for (h = 0; h < 2; h++) { c = 0.25 + 0.5 * h; print c - 0.1, c - 0.1; print c - 0.1, c + 0.1; print c + 0.1, c + 0.1; print c + 0.1, c - 0.1 }
  print "FINXYZ"; print "DEBILM"; print 3; print 5, 1, 2, 3, 4, 1, 100, 1, 1
  print 5, 5, 6, 7, 8, 5, 100, 1, 1; print 5, 9, 10, 11, 12, 9, 100, 1, 1; print "FINILM"
  print "DEBGEO" > "/dev/stderr"; print 2, 2 > "/dev/stderr"; print 1, 0.25, 0.25 > "/dev/stderr"
  print 2, 0.75, 0.75 > "/dev/stderr"; print "FINGEO" > "/dev/stderr"; print "DEBSUI" > "/dev/stderr"
  print 1 > "/dev/stderr"; print 1, 1, 0.003, 1.05 > "/dev/stderr"; print "FINSUI" > "/dev/stderr"
  print "DEBDEN" > "/dev/stderr"; print 2, 3 > "/dev/stderr"; print 1, 1, 2, 1, 1 > "/dev/stderr"
  print 2, 1, 2, 1, 2 > "/dev/stderr"; print "FINDEN" > "/dev/stderr" }' > "$work/holes.geo" 2> "$work/holes.den"
cp "$root/examples/plate.geo" "$root/examples/plate.den" "$root/tests/data/driver_plane.geo" "$work/"
printf '* GRANDEUR 1.0.0  (12 AOUT 97)\n* plane.msh\nDEBGRD\n 4 1\n 1 0.05\n 2 0.1\n 3 0.1\n 4 0.1\nFINGRD\n' > "$work/plane.grd"
runs=(
  "plate.geo plate.den"
  "square.geo square.grd"
  "holes.geo holes.den"
  "round.geo -"
  "driver_plane.geo plane.grd"
  "holes.geo holes.den 3000"
)

# each build writes the same file names in a folder of its own (the nodal-size file names its mesh)
status=0
for i in "${!runs[@]}"; do
  read -r geometry sizes maximum <<< "${runs[$i]}"
  for build in "${builds[@]}"; do
    mkdir -p "$work/$build"
    [ "$sizes" = - ] || cp "$work/$sizes" "$work/$build/"
    cp "$work/$geometry" "$work/$build/"
    (cd "$work/$build" && "$root/build/$build/tesmo" s "$geometry" "$sizes" "$i.msh" "$i.grd" ${maximum:-} \
      > "$i.log" 2>&1)
  done
  same=1
  for build in "${builds[@]:1}"; do
    for kind in msh grd log; do
      if ! cmp -s "$work/debug/$i.$kind" "$work/$build/$i.$kind"; then
        echo "differ: ${runs[$i]} ($kind), debug and $build"
        same=0
        status=1
      fi
    done
  done
  triangles=$(awk '/^DEBILM/ { getline; print $1; exit }' "$work/debug/$i.msh" 2>/dev/null || true)
  if [ "$same" = 1 ]; then
    echo "same mesh, nodal sizes and console in every build: ${runs[$i]} (${triangles:-no} triangles)"
  fi
done
exit $status
