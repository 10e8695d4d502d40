#pragma once
// The node list: coordinates of the nodes and, optionally, their element in NOETRI.
//
// The coordinate table has one row of ndim reals per node; its row count is the capacity
// NMAX. A NOETRI of no entry is absent.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Appends a node with the ndim coordinates of `point` as node n + 1 (`node`), free in
/// NOETRI. Returns 0, -2 when the list is full ("DANS S0AJNO : TROP DE POINTS", nothing
/// changes) or NOETRI is too short ("DANS S0AJNO : NOETRI TROP PETIT", the node stays
/// appended), -1 for a count outside the table.
[[nodiscard]] int s0ajno(const float* point, Rows<float> COORD, int32_t& n, Vec<int32_t> NOETRI, int32_t& node);

/// Removes node k, which must be the last one and free: its row becomes zeros and n
/// decreases. Returns 0, -1 otherwise ("DANS S0DTNO : POINT ENCORE CONNECTE"), -2 when
/// NOETRI is present but shorter than k.
[[nodiscard]] int s0dtno(int32_t k, Rows<float> COORD, int32_t& n, Vec<const int32_t> NOETRI);

} // namespace tesmo
