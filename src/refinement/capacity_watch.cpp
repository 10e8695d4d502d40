// The estimate of the nodes a zone needs, and the checkpoints of a watched refinement.
#include "refinement/capacity_watch.hpp"

#include "files/es_densite.hpp"

#include <algorithm>
#include <cmath>

namespace tesmo {

namespace {

/// Fractions of the cap at which a watched refinement looks ahead, with the factor its estimate
/// must pass the cap by there.
constexpr Checkpoint kCheckpoints[] = {{32, 2.0}, {8, 1.4}, {4, 1.2}, {2, 1.1}};

/// Twice the area of triangle e, in double: the quadrature adds millions of them.
double twiceArea(Rows<const int32_t> elements, int32_t e, Rows<const float> coordinates)
{
    const float* a = coordinates.row(elements(e, 1));
    const float* b = coordinates.row(elements(e, 2));
    const float* c = coordinates.row(elements(e, 3));
    const double abx = double(b[0]) - double(a[0]);
    const double aby = double(b[1]) - double(a[1]);
    const double acx = double(c[0]) - double(a[0]);
    const double acy = double(c[1]) - double(a[1]);
    return std::abs(abx * acy - aby * acx);
}

} // namespace

Checkpoint nextCheckpoint(int64_t nodes, int64_t start, int64_t cap)
{
    for (const Checkpoint& point : kCheckpoints) {
        const int64_t at = start + (cap - start) / point.nodes;
        if (nodes < at) {
            return {at, point.factor};
        }
    }
    return {};
}

int estimateNodes(int32_t mode, SizeFunction sizeFunction, const DensityRecords& density, Vec<const float> nodeSizes,
                  Rows<const int32_t> elements, int32_t NBE, Rows<const float> coordinates, Rows<float> circles,
                  int64_t& nodes)
{
    nodes = 0;
    if (mode == kDefaultSize || sizeFunction == nullptr || coordinates.width() != 2) {
        return kOk;
    }
    const int32_t records = mode == kDensityConcentrations ? density.records : 1;
    double sum = 0.0;
    for (int32_t e = 1; e <= NBE; ++e) {
        float smallest = 0.0f;
        for (int32_t k = 1; k <= records; ++k) {
            const Vec<const int32_t> integers = mode == kDensityConcentrations ? density.integerRecord(k)
                                                                               : Vec<const int32_t>();
            const Vec<const float> reals = mode == kDensityConcentrations ? density.realRecord(k) : nodeSizes;
            float ratio = 0.0f;
            float wanted = 0.0f;
            const int code =
                sizeFunction(e, elements, Rows<const int32_t>(), coordinates, circles, integers, reals, ratio, wanted);
            if (code != kOk) {
                return code;
            }
            smallest = k == 1 ? wanted : std::min(smallest, wanted);
        }
        if (smallest > 0.0f) {
            const double h = smallest;
            sum += 0.5 * twiceArea(elements, e, coordinates) / (h * h);
        }
    }
    const double perUnit =
        mode == kDensityConcentrations ? kNodesPerUnitDensityConcentrations : kNodesPerUnitDensityAtPoints;
    nodes = int64_t(std::min(perUnit * sum, 4.0e18));
    return kOk;
}

} // namespace tesmo
