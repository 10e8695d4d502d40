#!/usr/bin/env bash
# The generated inputs of the whole-run benchmarks, sourced by them: the unit square, the size h
# at its four corners, the square with four square holes, and a density file with a geometric
# progression from h0 by the ratio q about each hole's centre.
square() {
  printf 'DEBXYZ\n4 2\n0. 0.\n1. 0.\n1. 1.\n0. 1.\nFINXYZ\nDEBILM\n1\n5 1 2 3 4 1 100 1 1\nFINILM\n'
}
# the size h at each corner of the square
uniform() {
  printf '* GRANDEUR 1.0.0  (12 AOUT 97)\n* square.msh\nDEBGRD\n 4 1\n  1 %s\n  2 %s\n  3 %s\n  4 %s\nFINGRD\n' "$1" "$1" "$1" "$1"
}
holes() {
  awk 'BEGIN {
    print "DEBXYZ"; print 20, 2
    print 0, 0; print 1, 0; print 1, 1; print 0, 1
    for (h = 0; h < 4; h++) { cx = 0.25 + 0.5 * (h % 2); cy = 0.25 + 0.5 * int(h / 2)
      print cx - 0.1, cy - 0.1; print cx - 0.1, cy + 0.1; print cx + 0.1, cy + 0.1; print cx + 0.1, cy - 0.1 }
    print "FINXYZ"; print "DEBILM"; print 5
    print 5, 1, 2, 3, 4, 1, 100, 1, 1
    for (h = 0; h < 4; h++) { f = 5 + h * 4; print 5, f, f + 1, f + 2, f + 3, f, 100, 1, 1 }
    print "FINILM" }'
}
# a geometric progression from size h0 by the ratio q about each hole's centre
density() {
  awk -v h0="$1" -v q="$2" 'BEGIN {
    print "DEBGEO"; print 4, 2
    for (h = 0; h < 4; h++) print h + 1, 0.25 + 0.5 * (h % 2), 0.25 + 0.5 * int(h / 2)
    print "FINGEO"; print "DEBSUI"; print 1; print 1, 1, h0, q; print "FINSUI"
    print "DEBDEN"; print 4, 2
    for (h = 0; h < 4; h++) print h + 1, 1, 2, 1, h + 1
    print "FINDEN" }'
}

