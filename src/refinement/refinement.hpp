#pragma once
// Refinement: interior nodes inserted until the size specification is met.
#include "refinement/capacity_watch.hpp"
#include "refinement/rf_raf3d.hpp"
#include "refinement/rf_worst.hpp"
#include "refinement/quality.hpp"
#include "refinement/sp_sph.hpp"
