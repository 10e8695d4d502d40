#pragma once
// Size specification: distances to geometric objects and lines of the plane.
#include "size/cg_distance.hpp"
#include "size/cg_droite.hpp"
