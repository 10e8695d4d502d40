// Geometry file reader.
//
// The driver reads the file twice. The counting pass reads every point and every border and
// reports the sizes of everything (and the zone code list), so that the tables can be carved;
// the filling pass reads the same again, checks that the caller's tables hold the whole
// geometry, then reads the borders once more and cuts each into elements:
//
//     border  4  1 2 3 4  100  2  1 2   ->  edges (1,2) (2,3) (3,4), each with codes (1, 2)
//     border  3  5 6 7    99   1  3     ->  point elements (5,0) (6,0) (7,0), codes (3)
#include "files/es_geometrie.hpp"

#include "files/es_bloc.hpp"
#include "files/es_lecture.hpp"
#include "messages/es_messages.hpp"
#include "files/es_util.hpp"
#include "messages/es_erreur.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_set>

namespace tesmo {

namespace {

constexpr int64_t kLargestCount = std::numeric_limits<int32_t>::max();

/// Reports a border-record failure and hands its code back.
int borderFailure(int code, int32_t message, int32_t value)
{
    esReportInt(code, message, esmsg::kNone, value);
    return code;
}

/// Reports a failure of the geometry reading with a blank tail.
int geometryFailure(int code, int32_t message)
{
    esReport(code, message, esmsg::kNone, " ");
    return code;
}

/// Expands the interval `first last step` into `points`; `n` becomes its point count.
int expandInterval(int32_t first, int32_t last, int32_t step, Vec<int32_t> points, int32_t& n)
{
    if (step == 0) {
        // No point follows from a zero step: the interval is refused as empty.
        return borderFailure(kDataError, esmsg::kEmptyInterval, 0);
    }
    const int64_t count = (int64_t(last) + step - first) / step;
    if (count > points.count()) {
        return borderFailure(kDataError, esmsg::kTooManyNodes, points.count());
    }
    if (count < 1) {
        return borderFailure(kDataError, esmsg::kEmptyInterval, 0);
    }
    for (int32_t i = 1; i <= int32_t(count); ++i) {
        points(i) = int32_t(first + int64_t(i - 1) * step);
    }
    n = int32_t(count);
    return kOk;
}

/// What the borders of the file need, gathered while they are read the first time.
struct BorderCounts {
    int64_t elements = 0;
    int32_t elementDimension = 0;
    int32_t nodesPerElement = 0;  ///< as reported by the counting pass (101 raises it to 3)
    int32_t writtenNodes = 0;     ///< row length the stored elements need (2 edges, 1 points)
    int32_t codesPerEdge = 0;
};

/// One border read: its points and zones, with room for the largest record.
struct Border {
    std::array<int32_t, kMaxBorderPoints> points{};
    std::array<int32_t, kMaxBorderZones> zones{};
    int32_t n = 0;
    int32_t nz = 0;
    int32_t code = 0;
    int32_t elementDimension = 0;

    int read(int32_t unit)
    {
        return litgeo(unit, elementDimension, Vec<int32_t>(points.data(), kMaxBorderPoints), n,
                      Vec<int32_t>(zones.data(), kMaxBorderZones), nz, code);
    }
};

/// Reads the header of the border block: the number of borders (0 when there is none).
int readBorderCount(UnitFile* block, int32_t& nb)
{
    nb = 0;
    FreeRead read(block);
    if (read.integer(nb) != kReadOk) {
        return geometryFailure(kDataError, esmsg::kBorderHeader);
    }
    return kOk;
}

/// Extracts the border block: ILM, or ARE when there is no ILM. False when neither exists.
bool extractBorders(BlockReading& files)
{
    return files.extract("DEBILM", "FINILM") == kOk || files.extract("DEBARE", "FINARE") == kOk;
}

/// Steps 2 to 4: the XYZ header and the points, stored when the caller gave room for them.
int readPoints(int32_t pass, UnitFile* block, const GeometryTables& tables, GeometrySizes& sizes)
{
    int32_t npts = 0;
    int32_t ndim = 0;
    {
        FreeRead read(block);
        int status = read.integer(npts);
        if (status == kReadOk) {
            status = read.integer(ndim);
        }
        if (status != kReadOk || npts < 1 || ndim < 1) {
            return geometryFailure(kDataError, esmsg::kXyzHeader);
        }
    }
    if (ndim > kMaxGeometryDimension) {
        return borderFailure(kCapacityError, esmsg::kDimensionTooHigh, kMaxGeometryDimension);
    }
    sizes.npts = npts;
    const int32_t capacity = tables.coordinates.count();
    if (pass == 0) {
        sizes.dimension = ndim;
    } else if (capacity > 0) {
        if (sizes.dimension < ndim) {
            return geometryFailure(kDataError, esmsg::kXyzWrongDimension);
        }
        if (int64_t(npts) * sizes.dimension > capacity) {
            return geometryFailure(kCapacityError, esmsg::kMemory);
        }
    }
    // A point is stored only when its whole row lies in the table.
    const int64_t storedPoints = sizes.dimension > 0 ? capacity / sizes.dimension : 0;
    float ignored = 0.0f;
    for (int32_t k = 1; k <= npts; ++k) {
        FreeRead read(block);
        const bool store = k <= storedPoints;
        float* row = store ? tables.coordinates.data() + int64_t(k - 1) * sizes.dimension : nullptr;
        for (int32_t j = 0; j < ndim; ++j) {
            if (read.real(store ? row[j] : ignored) != kReadOk) {
                return borderFailure(kDataError, esmsg::kAtPoint, k);
            }
        }
    }
    return kOk;
}

/// Step 7 for one border: point numbers, element count, element dimension, row lengths and
/// the zone code list (`seen` holds every zone number met so far).
int countBorder(int32_t k, const Border& border, const GeometryTables& tables, GeometrySizes& sizes,
                BorderCounts& counts, std::unordered_set<int32_t>& seen)
{
    for (int32_t i = 0; i < border.n; ++i) {
        if (border.points[std::size_t(i)] < 1 || border.points[std::size_t(i)] > sizes.npts) {
            return borderFailure(kDataError, esmsg::kWrongBorderPoint, k);
        }
    }
    counts.elements += borderElements(border.code, border.n);
    if (counts.elements > kLargestCount) {
        return geometryFailure(kCapacityError, esmsg::kMemory);
    }
    if (border.elementDimension > sizes.dimension) {
        return geometryFailure(kDataError, esmsg::kBorderDimension);
    }
    counts.elementDimension = std::max(counts.elementDimension, border.elementDimension);
    if (border.code == kBorderPolyline) {
        counts.nodesPerElement = std::max(counts.nodesPerElement, 2);
        counts.writtenNodes = std::max(counts.writtenNodes, 2);
    } else if (border.code == kBorderPoints) {
        counts.nodesPerElement = std::max(counts.nodesPerElement, 1);
        counts.writtenNodes = std::max(counts.writtenNodes, 1);
    } else {
        counts.nodesPerElement = std::max(counts.nodesPerElement, border.n);
    }
    counts.codesPerEdge = std::max(counts.codesPerEdge, border.nz);
    for (int32_t i = 0; i < border.nz; ++i) {
        const int32_t zone = border.zones[std::size_t(i)];
        if (zone == 0 || !seen.insert(zone).second) {
            continue;
        }
        if (sizes.zones == kLargestCount) {
            return geometryFailure(kCapacityError, esmsg::kMemory);
        }
        ++sizes.zones;
        if (sizes.zones <= tables.zoneCodes.count()) {
            tables.zoneCodes(sizes.zones) = zone;
        }
    }
    return kOk;
}

/// Step 9: the caller's tables and row lengths must hold every element of the file.
bool tablesHoldGeometry(const GeometryTables& tables, const GeometrySizes& sizes, const BorderCounts& counts)
{
    const int64_t ne = counts.elements;
    const int32_t zoneCapacity = tables.zoneCodes.count();
    const int32_t codeCapacity = tables.edgeCodes.count();
    const int32_t nodeCapacity = tables.edgeNodes.count();
    if (zoneCapacity > 0 && zoneCapacity < sizes.zones) {
        return false;
    }
    if (codeCapacity > 0 && (codeCapacity < 2 * ne || sizes.codesPerEdge < counts.codesPerEdge ||
                             codeCapacity < ne * sizes.codesPerEdge)) {
        return false;
    }
    return !(nodeCapacity > 0 &&
             (sizes.nodesPerElement < counts.writtenNodes || nodeCapacity < ne * sizes.nodesPerElement));
}

/// Appends elements to the two edge tables; a row is written only when it fits.
class ElementWriter {
public:
    ElementWriter(const GeometryTables& tables, const GeometrySizes& sizes)
        : tables_(tables), nodeWidth_(sizes.nodesPerElement), codeWidth_(sizes.codesPerEdge)
    {
    }

    void append(int32_t first, int32_t second, const Border& border)
    {
        ++count_;
        if (nodeWidth_ > 0 && count_ * nodeWidth_ <= tables_.edgeNodes.count()) {
            int32_t* row = tables_.edgeNodes.data() + (count_ - 1) * nodeWidth_;
            std::fill(row, row + nodeWidth_, 0);
            row[0] = first;
            if (nodeWidth_ >= 2) {
                row[1] = second;
            }
        }
        if (codeWidth_ > 0 && count_ * codeWidth_ <= tables_.edgeCodes.count()) {
            int32_t* row = tables_.edgeCodes.data() + (count_ - 1) * codeWidth_;
            std::fill(row, row + codeWidth_, 0);
            std::copy(border.zones.begin(), border.zones.begin() + std::min<int64_t>(border.nz, codeWidth_), row);
        }
    }

private:
    const GeometryTables& tables_;
    int64_t nodeWidth_;
    int64_t codeWidth_;
    int64_t count_ = 0;
};

/// Step 10: reads the borders again and cuts each into elements.
int storeBorders(BlockReading& files, const GeometryTables& tables, const GeometrySizes& sizes, Border& border)
{
    files.rewindBlock();
    int32_t nb = 0;
    int code = readBorderCount(files.block(), nb);
    if (code != kOk) {
        return code;
    }
    ElementWriter writer(tables, sizes);
    for (int32_t k = 1; k <= nb; ++k) {
        code = border.read(files.blockUnit());
        if (code != kOk) {
            return borderFailure(kDataError, esmsg::kAtBorder, k);
        }
        if (border.code == kBorderTriple) {
            return estraced(kNotAvailable, "LITFRT", " NON IMPLEMENTE");
        }
        if (border.code == kBorderPolyline) {
            for (int32_t i = 0; i + 1 < border.n; ++i) {
                writer.append(border.points[std::size_t(i)], border.points[std::size_t(i + 1)], border);
            }
        } else {
            for (int32_t i = 0; i < border.n; ++i) {
                writer.append(border.points[std::size_t(i)], 0, border);
            }
        }
    }
    return kOk;
}

} // namespace

int32_t borderElements(int32_t code, int32_t n)
{
    if (code == kBorderPoints) {
        return n;
    }
    if (code == kBorderPolyline) {
        return n - 1;
    }
    return 0;
}

int litgeo(int32_t unit, int32_t& elementDimension, Vec<int32_t> points, int32_t& n, Vec<int32_t> zones, int32_t& nz,
           int32_t& code)
{
    elementDimension = 0;
    n = 0;
    nz = 0;
    code = 0;
    // 1. the record, in one read: n, its point numbers (or the interval), code, nz, the zones.
    //    Counts are checked as soon as they are read, so that a wrong count never makes the
    //    read run into the next record.
    FreeRead read(unit);
    int status = read.integer(n);
    if (status == kReadOk && n > points.count()) {
        return borderFailure(kDataError, esmsg::kTooManyNodes, points.count());
    }
    if (status == kReadOk && n < 0 && n != kIntervalMark) {
        return borderFailure(kDataError, esmsg::kIntervalMarkWrong, n);
    }
    std::array<int32_t, 3> interval{};
    if (n == kIntervalMark) {
        for (int32_t& value : interval) {
            status = read.integer(value);
        }
    } else {
        for (int32_t i = 1; i <= n; ++i) {
            status = read.integer(points(i));
        }
    }
    status = read.integer(code);
    status = read.integer(nz);
    if (status == kReadOk && nz > zones.count()) {
        return borderFailure(kCapacityError, esmsg::kTooManyZones, zones.count());
    }
    if (status == kReadOk && nz < 0) {
        return borderFailure(kDataError, esmsg::kBorderZoneCount, nz);
    }
    for (int32_t i = 1; i <= nz; ++i) {
        status = read.integer(zones(i));
    }
    if (status == kReadEnd) {
        return geometryFailure(kDataError, esmsg::kBorderIncomplete);
    }
    if (status != kReadOk) {
        return geometryFailure(kDataError, esmsg::kBorderRead);
    }
    // 2. the interval becomes its list of points.
    if (n == kIntervalMark) {
        const int expanded = expandInterval(interval[0], interval[1], interval[2], points, n);
        if (expanded != kOk) {
            return expanded;
        }
    }
    // 3. the point and zone counts that the code requires.
    switch (code) {
    case kBorderPoints:
        if (n < 1 || nz > 1) {
            return borderFailure(kDataError, esmsg::kBorderNodeCount, n);
        }
        break;
    case kBorderPolyline:
        if (n < 2) {
            return borderFailure(kDataError, esmsg::kBorderNodeCount, n);
        }
        elementDimension = 1;
        break;
    case kBorderTriple:
        if (n != 3) {
            return borderFailure(kDataError, esmsg::kBorderNodeCount, n);
        }
        break;
    default:
        return borderFailure(kDataError, esmsg::kUnknownBorderCode, code);
    }
    return kOk;
}

int litfrt(int32_t pass, std::string_view name, const GeometryTables& tables, GeometrySizes& sizes)
{
    // 1. outputs cleared, files opened, block XYZ extracted.
    sizes.npts = 0;
    sizes.elementDimension = 0;
    sizes.ne = 0;
    sizes.zones = 0;
    if (pass == 0) {
        sizes.dimension = 0;
        sizes.nodesPerElement = 0;
        sizes.codesPerEdge = 0;
    }
    BlockReading files;
    int code = files.open(name);
    if (code != kOk) {
        return code;
    }
    if (files.extract("DEBXYZ", "FINXYZ") != kOk) {
        return geometryFailure(kDataError, esmsg::kXyzTags);
    }
    // 2.-4. the points.
    code = readPoints(pass, files.block(), tables, sizes);
    if (code != kOk) {
        return code;
    }
    // 5.-6. the border block, when there is one.
    int32_t nb = 0;
    if (!extractBorders(files)) {
        return kOk;
    }
    code = readBorderCount(files.block(), nb);
    if (code != kOk || nb < 1) {
        return code;
    }
    // 7. every border read and counted.
    Border border;
    BorderCounts counts;
    std::unordered_set<int32_t> seen;
    for (int32_t k = 1; k <= nb; ++k) {
        code = border.read(files.blockUnit());
        if (code != kOk) {
            return borderFailure(kDataError, esmsg::kAtBorder, k);
        }
        code = countBorder(k, border, tables, sizes, counts, seen);
        if (code != kOk) {
            return code;
        }
    }
    sizes.ne = int32_t(counts.elements);
    sizes.elementDimension = counts.elementDimension;
    // 8. the counting pass ends with the row lengths.
    if (pass == 0) {
        sizes.nodesPerElement = counts.nodesPerElement;
        sizes.codesPerEdge = counts.codesPerEdge;
        return kOk;
    }
    // 9. the caller's tables must hold the whole geometry.
    if (!tablesHoldGeometry(tables, sizes, counts)) {
        return geometryFailure(kCapacityError, esmsg::kMemory);
    }
    // 10. the borders cut into elements.
    return storeBorders(files, tables, sizes, border);
}

} // namespace tesmo
