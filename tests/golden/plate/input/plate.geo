* Plate with a hole: a 10 x 4 rectangle cut at x = 5 into two zones.
* Zone 1 is the left half; zone 2 is the right half, which carries
* a round hole of radius 1 centred at (7.5, 2), drawn as a polygon of 16 sides.
*
*   6 ---------- 5 ---------- 4
*   |            |    ____    |
*   |   zone 1   |   /hole\   |   zone 2
*   |            |   \____/   |
*   1 ---------- 2 ---------- 3

DEBXYZ
* number of points, space dimension
22 2
* corners of the plate and the ends of the middle border (points 1 to 6)
0.0 0.0
5.0 0.0
10.0 0.0
10.0 4.0
5.0 4.0
0.0 4.0
* the hole, counter-clockwise from its rightmost point (points 7 to 22)
8.5 2.0
8.4239 2.3827
8.2071 2.7071
7.8827 2.9239
7.5 3.0
7.1173 2.9239
6.7929 2.7071
6.5761 2.3827
6.5 2.0
6.5761 1.6173
6.7929 1.2929
7.1173 1.0761
7.5 1.0
7.8827 1.0761
8.2071 1.2929
8.4239 1.6173
FINXYZ

DEBILM
* number of borders
5
* each border: point count, points, code 100 (polyline), zone count, zones
* outer boundary of zone 1: 2 -> 1 -> 6 -> 5
4 2 1 6 5 100 1 1
* outer boundary of zone 2: 5 -> 4 -> 3 -> 2
4 5 4 3 2 100 1 2
* the middle border is shared: it bounds both zones
2 2 5 100 2 1 2
* the hole: points 7 to 22 as an interval, then the edge that closes it
-3 7 22 1 100 1 2
2 22 7 100 1 2
FINILM
