#pragma once
// Front door of the data-file layer: file manager, free-format reading, and the geometry,
// mesh, nodal-values and size specification files.
#include "files/border_numbers.hpp"
#include "files/es_bloc.hpp"
#include "files/es_densite.hpp"
#include "files/es_geometrie.hpp"
#include "files/es_grandeur.hpp"
#include "files/es_lecture.hpp"
#include "files/es_mesh.hpp"
#include "files/es_raffine.hpp"
#include "files/es_util.hpp"
