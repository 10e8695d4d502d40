#pragma once
// Front door of the generation driver: the driver and its storing read, the zone pipeline and
// the zone stages, work-memory sizing, the plane frame and the small linear algebra.
#include "driver/MGg_lecture.hpp"
#include "driver/MGg_noeud.hpp"
#include "driver/api_mesh.hpp"
#include "driver/api_triangulation.hpp"
#include "driver/cg_epsi.hpp"
#include "driver/cg_plan.hpp"
#include "driver/cg_repere.hpp"
#include "driver/cg_vectoriel.hpp"
#include "driver/st_memoire.hpp"
