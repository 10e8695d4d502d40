#pragma once
// Invariant checker of the element-face structure, shared by the tests of every area that
// changes ITRNOE, ITRTRI or NOETRI.
#include "support/tables.hpp"

#include <cstdint>
#include <string>

namespace tesmo::testing {

/// Checks elements 1..NBE of a structure of dimension d (1 edges, 2 polygons, 3
/// tetrahedra and hexahedra) and answers an empty text when it is valid, else a readable
/// description of the first faults found, so that `EXPECT_EQ(checkStructure(...), "")` shows
/// them. Checked:
/// - every neighbour entry names an element 1..NBE that is not deleted, and that element
///   holds the back reference, with the same sign, at exactly one face, whose nodes are those
///   of the face in the opposite order;
/// - entries past an element's faces, and every entry of a deleted element, are 0;
/// - when NOETRI has entries: NOETRI(v) names an element containing v, or is 0 when no
///   element does; every node of an element has an entry.
std::string checkStructure(int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE,
                           Vec<const int32_t> NOETRI = Vec<const int32_t>());

} // namespace tesmo::testing
