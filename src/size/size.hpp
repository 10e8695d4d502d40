#pragma once
// Front door of the size area: progressions, and the wanted size by refinement mode (the size
// functions, the sizes at the nodes, the default sizes at the geometry points, the node
// positions of a concentration along an edge).
#include "size/cg_suite.hpp"
#include "size/m1_densdef.hpp"
#include "size/m1_densite1d.hpp"
#include "size/m4_densite2d.hpp"
#include "size/rf_densdef.hpp"
