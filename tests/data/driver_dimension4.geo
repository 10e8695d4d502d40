* Points of four coordinates: no space to mesh in.
DEBXYZ
 3 4
 0. 0. 0. 0.
 1. 0. 0. 0.
 0. 1. 0. 0.
FINXYZ
DEBILM
 1
 4  1 2 3 1  100  1  1
FINILM
