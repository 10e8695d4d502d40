* A square of side 1.41421356 in the plane x + y + z = 1.
DEBXYZ
 4 3
 1.          0.           0.
 2.         -1.           0.
 2.57735027 -0.42264973  -1.15470054
 1.57735027  0.57735027  -1.15470054
FINXYZ
DEBILM
 1
 5  1 2 3 4 1  100  1  1
FINILM
