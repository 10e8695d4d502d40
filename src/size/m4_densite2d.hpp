#pragma once
// Size concentrations over triangles (refinement mode 2, 2D): the size function of a triangle.
#include "size/rf_densdef.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// 1/sqrt(3): the circumradius of an equilateral triangle of unit side.
inline constexpr float kEquilateralRadius = 0.57735026f;

/// Size function of concentrations for triangles: the progression size h at the distance from
/// the circumcentre (the last node plus half the circle vector of `perElement`) to the object;
/// ratio = (h / sqrt(3)) / circumradius, so that an equilateral triangle of side h gets 1.
/// Returns 0; -1 for a triangle or node out of range, a record too short or no circle vector, a
/// failing distance ("APPEL DIPOOB"), a size at or below zero ("TAILLE SOUHAITEE NEGATIVE") or
/// a null circumradius ("DIAMETRE NUL").
[[nodiscard]] int d2isui(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> neighbours,
                         Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> densityIntegers,
                         Vec<const float> densityReals, float& ratio, float& wanted);

} // namespace tesmo
