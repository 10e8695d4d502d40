#pragma once
// Front door of the boundary area: the node and edge lists, and the cutting of the border
// edges by the wanted size.
#include "boundary/m1_raf1d.hpp"
#include "boundary/rf_raf1d.hpp"
#include "boundary/st_0dstruct.hpp"
#include "boundary/st_1dstruct.hpp"
