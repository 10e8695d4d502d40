#pragma once
// Front door of the messages area: the two catalogues, message composition, the error and
// trace routines and the console line output.
#include "messages/catalogue.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/es_messages.hpp"
