* L-shaped domain with a crack running from the re-entrant corner (1, 1) to
* (0.45, 0.45); the crack is an open border inside zone 1. The size file
* concentrates small elements along the crack.
DEBXYZ
* number of points, space dimension
7 2
0 0
2 0
2 1
1 1
1 2
0 2
0.45 0.45
FINXYZ
DEBILM
* number of borders
2
* the outline
7 1 2 3 4 5 6 1 100 1 1
* the crack, an open line inside the zone
2 4 7 100 1 1
FINILM
