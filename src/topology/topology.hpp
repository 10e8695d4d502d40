#pragma once
// Front door of the topology area.
#include "topology/st_1struct.hpp"
#include "topology/st_2dstruct.hpp"
#include "topology/st_3dstruct.hpp"
#include "topology/st_ensemble.hpp"
#include "topology/st_generic.hpp"
#include "topology/st_geometrie.hpp"
#include "topology/st_numero.hpp"
#include "topology/st_struct.hpp"
#include "topology/st_tableau.hpp"
#include "topology/st_topologie.hpp"
