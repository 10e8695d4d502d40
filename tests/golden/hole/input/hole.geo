* A square of side 4 with a square hole of side 2: two borders of zone 1.
DEBXYZ
 8 2
 0. 0.
 4. 0.
 4. 4.
 0. 4.
 1. 1.
 1. 3.
 3. 3.
 3. 1.
FINXYZ
DEBILM
 2
 5  1 2 3 4 1  100  1  1
 5  5 6 7 8 5  100  1  1
FINILM
