#pragma once
// Front door of the boundary area.
#include "boundary/st_0dstruct.hpp"
#include "boundary/st_1dstruct.hpp"
