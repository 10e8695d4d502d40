* An L-shaped plate: a 4 x 4 square less its upper right quarter, one zone.
DEBXYZ
 6 2
 0. 0.
 4. 0.
 4. 2.
 2. 2.
 2. 4.
 0. 4.
FINXYZ
DEBILM
 1
 7  1 2 3 4 5 6 1  100  1  1
FINILM
