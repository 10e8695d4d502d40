#pragma once
// Triangulation: Delaunay point insertion, border recovery and exterior removal.
#include "triangulation/d2_delaunay.hpp"
#include "triangulation/d2_sph2d.hpp"
#include "triangulation/m2_point.hpp"
#include "triangulation/m2_recherche.hpp"
#include "triangulation/m2_sculpture.hpp"
#include "triangulation/m2_triangule.hpp"
#include "triangulation/m3_diagonale.hpp"
#include "triangulation/m3_inter2d.hpp"
#include "triangulation/m3_respect.hpp"
#include "triangulation/m3_tripo.hpp"
#include "triangulation/st_polygon.hpp"
#include "triangulation/st_sph.hpp"
