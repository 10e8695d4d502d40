#pragma once
// Front door of the geometry area: the tolerance block, vectors and 3x3 matrices, the plane
// fit and frame, distances and lines, line intersections, and the orientation and in-circle
// predicates.
#include "geometry/cg_distance.hpp"
#include "geometry/cg_droite.hpp"
#include "geometry/cg_epsi.hpp"
#include "geometry/cg_inter2d.hpp"
#include "geometry/cg_plan.hpp"
#include "geometry/cg_predicat.hpp"
#include "geometry/cg_repere.hpp"
#include "geometry/cg_vectoriel.hpp"
