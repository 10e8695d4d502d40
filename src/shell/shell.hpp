#pragma once
// Front door of the program shell: the main program and run sequence, the command line and
// the prompts.
#include "shell/MGg_main.hpp"
#include "shell/es_prog.hpp"
#include "shell/output_checks.hpp"
