#pragma once
// Front door of the generation driver: the driver and its storing read, the zone pipeline and
// the zone stages, the border and refinement stages, and work-memory sizing.
#include "driver/MGg_lecture.hpp"
#include "driver/MGg_noeud.hpp"
#include "driver/api_mesh.hpp"
#include "driver/api_raf1d.hpp"
#include "driver/api_raffine.hpp"
#include "driver/api_triangulation.hpp"
#include "driver/run_extensions.hpp"
#include "driver/st_memoire.hpp"
