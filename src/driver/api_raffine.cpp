// The refinement stage: the size function of the refinement mode handed to the refinement, and
// the sizes at the zone's nodes for the nodal-size file.
#include "driver/api_raffine.hpp"

#include "files/es_densite.hpp"
#include "messages/es_erreur.hpp"
#include "refinement/refinement.hpp"
#include "size/size.hpp"

#include <algorithm>

namespace tesmo {

namespace {

constexpr const char* kRoutine = "MGRAFT";

/// The size specification as the size routines read it; with sizes at the nodes, the first
/// `given` of them.
DensityRecords densityRecords(const SizeSpecification& sizes, int32_t given)
{
    DensityRecords density;
    density.integers = sizes.integers;
    density.integersPerRecord = sizes.integersPerRecord;
    density.reals = sizes.reals;
    density.realsPerRecord = sizes.realsPerRecord;
    density.records = sizes.records;
    if (sizes.refinementMode == kSizesAtPoints) {
        density.reals = sizes.reals.slice(1, std::clamp(given, 0, sizes.reals.count()));
    }
    return density;
}

/// Step 1: the interior nodes, at most `room` of them, by the size specification alone or,
/// when `extensions` asks for well-shaped triangles, with the shape refinement. Returns the
/// refinement's status or its error after the trace of its size function.
int refine(ZoneElements& zone, int32_t room, Rows<float> coordinates, SizeSpecification& sizes,
           Vec<int32_t> freeIntegers, Vec<float> freeReals, RunExtensions* extensions)
{
    const int32_t mode = sizes.refinementMode;
    SizeFunction function = nullptr;
    const char* failure = " APPEL RFRAFF";
    if (mode == kDensityConcentrations) {
        function = d2isui;
        failure = " APPEL RFRAFF (D2ISUI)";
    } else if (mode == kSizesAtPoints) {
        function = dnchpo;
        failure = " APPEL RFRAFF (DNCHPO)";
    } else if (mode != kDefaultSize) {
        return traced(kDataError, kRoutine, "DEFINITION DENSITE INCORRECTE");
    }
    // the node cap: the room, within the zone's maximum and every table that holds the nodes
    int64_t cap = std::min<int64_t>(int64_t(zone.nodes) + room, zone.noemax);
    cap = std::min<int64_t>({cap, coordinates.count(), zone.NOETRI.count()});
    if (mode == kSizesAtPoints) {
        cap = std::min<int64_t>(cap, sizes.reals.count());
    }
    cap = std::max<int64_t>(cap, zone.nodes); // no room left: the refinement answers +1 at once
    // the elements: the zone's tables, within the zone's element maximum
    const int32_t rows = std::max(zone.NBE, std::min({zone.ITRNOE.count(), zone.ITRTRI.count(), zone.nbemax}));
    RefinementMesh mesh{Rows<int32_t>(zone.ITRNOE.data(), zone.ITRNOE.width(), rows),
                        Rows<int32_t>(zone.ITRTRI.data(), zone.ITRTRI.width(), rows),
                        zone.NOETRI,
                        zone.NBE,
                        coordinates,
                        zone.nodes,
                        int32_t(cap)};
    const DensityRecords density = densityRecords(sizes, sizes.reals.count());
    // a caller that can lengthen the work arrays has the size refinement watch its cap
    const bool shaped = extensions != nullptr && extensions->quality.wanted();
    CapacityWatch* watch = nullptr;
    if (!shaped && extensions != nullptr && extensions->capacity.stopAtCapacity) {
        watch = &extensions->watch;
        *watch = CapacityWatch{};
        watch->active = true;
        watch->density = density;
        watch->allowed = int64_t(zone.nodes) + room;
    }
    const int code = shaped ? rfqual(mode, mesh, function, density, extensions->quality, extensions->zoneBorders,
                                     freeIntegers, freeReals, extensions->progress)
                            : rfraff(mode, mesh, function, density, freeIntegers, freeReals, WorstSearch::indexed,
                                     watch);
    zone.nodes = mesh.nodes;
    zone.NBE = mesh.NBE;
    if (mode == kSizesAtPoints) {
        sizes.realsPerRecord = zone.nodes;
    }
    if (code < kOk) {
        return traced(code, kRoutine, shaped ? " APPEL RFQUAL" : failure);
    }
    return code;
}

} // namespace

int mgraft(ZoneElements& zone, int32_t room, Rows<float> coordinates, Vec<float> IGRDMX, SizeSpecification& sizes,
           Vec<int32_t> freeIntegers, Vec<float> freeReals, RunExtensions* extensions)
{
    // 1. the interior nodes, when there is room for any
    int status = kOk;
    if (room > 0) {
        status = refine(zone, room, coordinates, sizes, freeIntegers, freeReals, extensions);
        if (status < kOk) {
            return status;
        }
    }
    if (extensions != nullptr) {
        // a zone left without room, or whose refinement a maximum stopped, is told back
        extensions->stoppedEarly = std::max(extensions->stoppedEarly, room > 0 ? status : kMaxNodesReached);
        extensions->progress(zone.nodes);
    }
    // 2. the size at every node of the zone, when a nodal-size file is asked for
    if (IGRDMX.count() > 0) {
        if (IGRDMX.count() < zone.nodes || zone.nodes > coordinates.count() ||
            (sizes.refinementMode == kSizesAtPoints && sizes.reals.count() < zone.nodes)) {
            return traced(kCapacityError, kRoutine, "PLUS DE PLACE ");
        }
        const Rows<const int32_t> elements(zone.ITRNOE.data(), zone.ITRNOE.width(), zone.NBE);
        const Rows<const float> nodes(coordinates.data(), coordinates.width(), zone.nodes);
        const int code = dncctb(sizes.refinementMode, zone.elementDimension, elements,
                                densityRecords(sizes, zone.nodes), nodes, IGRDMX);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL DNCCTB ");
        }
    }
    // 3. the refinement's status
    return status;
}

} // namespace tesmo
