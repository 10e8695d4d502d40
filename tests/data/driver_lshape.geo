* An L-shaped zone: a square of side 2 without its upper right quarter.
DEBXYZ
 6 2
 0. 0.
 2. 0.
 2. 1.
 1. 1.
 1. 2.
 0. 2.
FINXYZ
DEBILM
 1
 7  1 2 3 4 5 6 1  100  1  1
FINILM
