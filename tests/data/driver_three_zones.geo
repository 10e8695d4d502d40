* A plane border between three zones.
DEBXYZ
 3 2
 0. 0.
 1. 0.
 0. 1.
FINXYZ
DEBILM
 2
 2  1 2  100  3  1 2 3
 3  2 3 1  100  1  1
FINILM
