#!/usr/bin/env bash
# Meshes every example with tesmo and redraws its picture in docs/.
# Usage: examples/mesh_all.sh [BUILD_DIR]   (default: build/release, as `make examples` builds it)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/release}
out=out/examples
mkdir -p "$out" docs

# mesh NAME GEOMETRY SIZEFILE: the mesh and nodal sizes in out/examples, the picture in docs/.
mesh() {
  local name=$1 geometry=$2 sizes=$3
  rm -f "$out/$name.msh" "$out/$name.grd"
  "$bin/tesmo" s "$geometry" "$sizes" "$out/$name.msh" "$out/$name.grd"
  if [[ ! -f $out/$name.msh ]]; then
    echo "make examples: tesmo wrote no mesh for $name" >&2
    exit 1
  fi
  "$bin/tesmo-tools" svg "$out/$name.msh" -o "docs/$name.svg"
  local figures
  figures=$("$bin/tesmo-tools" stats "$out/$name.msh" --json | tr -d '\n')
  echo "$name: $(sed -E 's/.*"nodes": ([0-9]+), "triangles": ([0-9]+).*"min": ([0-9.e+-]+).*/\1 nodes, \2 triangles, smallest angle \3/' <<<"$figures")"
}

mesh naca0012      examples/naca0012.geo      examples/naca0012.den
mesh plate_holes   examples/plate_holes.geo   -
mesh two_materials examples/two_materials.geo examples/two_materials.grd
mesh coastline     examples/coastline.geo     -
mesh lshape_crack  examples/lshape_crack.geo  examples/lshape_crack.den
mesh tilted_plate  examples/tilted_plate.geo  examples/tilted_plate.grd
# A .poly file from another mesher, converted first.
"$bin/tesmo-tools" poly examples/bracket.poly -o "$out/bracket.geo"
mesh bracket       "$out/bracket.geo"         -

# The airfoil once more, coloured by the wanted size, when tesmo wrote the nodal sizes.
if [[ -f $out/naca0012.grd ]]; then
  "$bin/tesmo-tools" svg "$out/naca0012.msh" --sizes "$out/naca0012.grd" -o docs/naca0012_sizes.svg
fi
