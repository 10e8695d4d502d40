* Points and no border.
DEBXYZ
 3 2
 0. 0.
 2. 0.
 0. 2.
FINXYZ
