#pragma once
// Front door of the program shell: run sequence, command line, messages and console output.
#include "shell/MGg_main.hpp"
#include "shell/catalogue.hpp"
#include "shell/es_chaine.hpp"
#include "shell/es_erreur.hpp"
#include "shell/es_prog.hpp"
