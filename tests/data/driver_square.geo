* Unit square: one closed border around zone 1.
DEBXYZ
 4 2
 0. 0.
 1. 0.
 1. 1.
 0. 1.
FINXYZ
DEBILM
 1
 5  1 2 3 4 1  100  1  1
FINILM
