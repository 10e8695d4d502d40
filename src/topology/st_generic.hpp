#pragma once
// The fixed element-type tables of the tetrahedron and the hexahedron, filled at start-up.
#include <cstdint>

namespace tesmo {

/// Tetrahedron block: a first copy of the 16 edge-to-face values, the 16 values read by the
/// face succession (row b, column a: the face through which a walk about the edge a -> b
/// leaves the element), then the 4 face rows of 3 nodes (face i opposite node i).
extern int32_t strtet[44];
/// Hexahedron block: the 6 face rows of 4 nodes, then the 8 node rows of 3 faces.
extern int32_t strhex[48];

/// Fills the element-type tables (calls st3ini).
void stinit();
/// Fills the tables of the solid elements.
void st3ini();

/// Tetrahedron: the face through which a walk about the edge from local node a to local
/// node b leaves the element (0 when a = b or either is not a local node).
int32_t tetEdgeFace(int32_t a, int32_t b);
/// Tetrahedron: local node j (1..3) of face i (1..4).
int32_t tetFaceNode(int32_t face, int32_t j);
/// Hexahedron: local node j (1..4) of face i (1..6).
int32_t hexFaceNode(int32_t face, int32_t j);
/// Hexahedron: face j (1..3) through local node i (1..8).
/// Each accessor answers 0 for arguments outside its table.
int32_t hexNodeFace(int32_t node, int32_t j);

} // namespace tesmo
