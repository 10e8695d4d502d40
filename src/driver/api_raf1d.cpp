// The border stage.
#include "driver/api_raf1d.hpp"

#include "files/es_densite.hpp"
#include "messages/es_erreur.hpp"
#include "size/size.hpp"

namespace tesmo {

namespace {

constexpr const char* kRoutine = "MG1FCT";

/// The density records as the size routines read them.
DensityRecords densityOf(const SizeSpecification& sizes)
{
    return DensityRecords{sizes.integers, sizes.integersPerRecord, sizes.reals, sizes.realsPerRecord, sizes.records};
}

/// Step 1: the borders cut by the refinement mode. The default progression is the first integer
/// (its type) and the second real (its ratio) of the first record. The direct method uses the
/// free reals for the positions of one edge, the iterative ones for the ratios of the edges.
int cutBorders(BorderMesh& border, const SizeSpecification& sizes, Vec<int32_t> freeIntegers, Vec<float> freeReals)
{
    int code = kOk;
    switch (sizes.refinementMode) {
    case kDefaultSize: {
        const int32_t type = sizes.integers.count() >= 1 ? sizes.integers(1) : kGeometricProgression;
        const float ratio = sizes.reals.count() >= 2 ? sizes.reals(2) : kDefaultRatio;
        code = r1raf(type, ratio, border, freeReals, freeIntegers);
        return code < kOk ? traced(code, kRoutine, " APPEL R1RAF") : code;
    }
    case kDensityConcentrations:
        code = r1raff(kDensityConcentrations, sizes.generationMode, border, d1isui, densityOf(sizes), freeReals,
                      freeReals, freeIntegers);
        return code < kOk ? traced(code, kRoutine, " APPEL R1RAFF (D1ISUI)") : code;
    case kSizesAtPoints:
        code = r1raff(kSizesAtPoints, sizes.generationMode, border, dnchpo, densityOf(sizes), freeReals, freeReals,
                      freeIntegers);
        return code < kOk ? traced(code, kRoutine, " APPEL R1RAFF (DNCHPO)") : code;
    default:
        return traced(kDataError, kRoutine, "DEFINITION DENSITE INCORRECTE");
    }
}

} // namespace

int mg1fct(BorderMesh& border, const SizeSpecification& sizes, int32_t room, Vec<float> GRDNOE,
           Vec<int32_t> freeIntegers, Vec<float> freeReals)
{
    // 1. the borders
    int status = kOk;
    if (room != 0) {
        status = cutBorders(border, sizes, freeIntegers, freeReals);
        if (status < kOk) {
            return status;
        }
    }
    // 2. no nodal-size file
    if (GRDNOE.count() == 0) {
        return status;
    }
    // 3.-4. the size at every node
    if (GRDNOE.count() < border.nodeCount) {
        return traced(kCapacityError, kRoutine, "PLUS DE PLACE ");
    }
    const Rows<const int32_t> edges =
        border.edges.width() >= 2 ? border.edgeRows() : Rows<const int32_t>(border.edges.data(), 2, 0);
    const int code = dncctb(sizes.refinementMode, 1, edges, densityOf(sizes), border.nodeRows(), GRDNOE);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL DNCCTB ");
    }
    return status;
}

} // namespace tesmo
