// Circles of the refinement's elements: the plane ones come from the Delaunay insertion's own
// circle routine, so that the circle table can be handed to the insertion as its sphere table.
#include "refinement/sp_sph.hpp"

#include "messages/es_erreur.hpp"
#include "triangulation/d2_sph2d.hpp"

namespace tesmo {

int spcree(int32_t ndim, int32_t e, Rows<const int32_t> ITRNOE, Rows<const float> COORD, Rows<float> circles)
{
    if (ndim == 2) {
        if (circles.width() < ndim || COORD.width() < ndim) {
            return kDataError;
        }
        return spcerc(ITRNOE, e, COORD, circles);
    }
    if (ndim == 3) {
        return spsphe(e, ITRNOE, COORD, circles);
    }
    return traced(kDataError, "SPCREE", " DIMENSION INCORRECTE");
}

int spsphe(int32_t /*e*/, Rows<const int32_t> /*ITRNOE*/, Rows<const float> /*COORD*/, Rows<float> /*circles*/)
{
    return traced(kNotAvailable, "SPSPHE", " SPHERE CIRCONSCRITE EN 3D");
}

} // namespace tesmo
