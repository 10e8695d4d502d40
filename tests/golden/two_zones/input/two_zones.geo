* Two unit squares side by side, zones 4 and 9, sharing the border from (1,0) to (1,1).
DEBXYZ
 6 2
 0. 0.
 1. 0.
 2. 0.
 2. 1.
 1. 1.
 0. 1.
FINXYZ
DEBILM
 3
 4  2 1 6 5  100  1  4
 2  2 5  100  2  4 9
 4  2 3 4 5  100  1  9
FINILM
