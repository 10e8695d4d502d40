// Reports that point at the fault of a refused run, and the notes on an empty result.
//
// The catalogue's messages stay as they are; what these reports add are lines of their own
// after them: which record of a size file holds which wrong value, and, for a geometry, which
// borders and points are at fault and where, for instance
//
//     DATA ERROR  geometry is not valid
//     borders 1 and 2 cross at 2. 1., points 2 3 6 7
//
// Element numbers become border numbers by reading the border block of the geometry file once
// more, only when a line needs them.
#include "driver/fault_reports.hpp"

#include "driver/border_crossings.hpp"
#include "files/files.hpp"
#include "geometry/cg_predicat.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/mg_messages.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace tesmo {

namespace {

constexpr const char* kRoutine = "MGGMEM";
constexpr int32_t kMessageLength = 256;

/// The heading of a warning, from the program catalogue.
std::string warningHeading()
{
    std::string text(kMessageLength, ' ');
    pgmess(kWarningMessage, pgmsg::kNone, pgmsg::kNone, "", text);
    return std::string(cutText(text));
}

/// A console line built item by item in the free-format forms, then written as one text item,
/// so that it stays one line however long its numbers make it.
class OneLine {
public:
    void text(std::string_view item) { line_ += item; }
    void integer(int32_t value)
    {
        line_ += ' ';
        line_ += std::to_string(value);
    }
    void real(float value)
    {
        line_ += value < 0.0f ? " -" : " ";
        line_ += formatReal(std::fabs(value));
    }
    void print() const
    {
        std::string text;
        FreeFormatWriter writer(text);
        writer.text(line_);
        writer.finish();
        consoleWrite(text);
    }

private:
    std::string line_;
};

/// Writes "border b" for fault border i, or "edge j" when its border is not known; with a
/// blank before it unless it starts the line.
void writeBorder(OneLine& line, const GeometryFault& fault, int32_t i, bool first = false)
{
    const std::size_t at = std::size_t(i);
    const bool known = fault.borders[at] != 0;
    line.text(first ? (known ? "border" : "edge") : (known ? " border" : " edge"));
    line.integer(known ? fault.borders[at] : fault.edges[at]);
}

/// Writes " at x y [z]".
void writePlace(OneLine& line, const GeometryFault& fault)
{
    line.text(" at");
    for (int32_t c = 0; c < fault.dimension; ++c) {
        line.real(fault.place[std::size_t(c)]);
    }
}

/// Writes ", points p ..." for the points of the fault that are geometry points.
void writePoints(OneLine& line, const GeometryFault& fault)
{
    const auto count = std::count_if(fault.points.begin(), fault.points.end(), [](int32_t p) { return p != 0; });
    if (count == 0) {
        return;
    }
    line.text(count == 1 ? ", point" : ", points");
    for (const int32_t p : fault.points) {
        if (p != 0) {
            line.integer(p);
        }
    }
}

/// The fault reported by the zones' check: its borders found, a crossing of one border with
/// itself told apart; printed in verbose mode, and handed to the front end.
void locate(GeometryFault& fault, const GeometryAsRead& geometry, int32_t mode, RunExtensions* extensions)
{
    const int32_t known = fault.edges[1] != 0 ? 2 : 1;
    (void)borderNumbers(geometry.name, geometry.edges, Vec<const int32_t>(fault.edges.data(), known),
                        Vec<int32_t>(fault.borders.data(), known));
    if (fault.kind == FaultKind::crossing && fault.borders[0] != 0 && fault.borders[0] == fault.borders[1]) {
        fault.kind = FaultKind::selfCrossing;
    }
    if (mode >= 1) {
        printGeometryFault(fault);
    }
    if (extensions != nullptr) {
        extensions->fault = fault;
    }
}

/// True when zone `code` is among the codes of row j.
bool listsZone(Rows<const int32_t> codes, int32_t j, int32_t code)
{
    for (int32_t c = 1; c <= codes.width(); ++c) {
        if (codes(j, c) == code) {
            return true;
        }
    }
    return false;
}

/// The root of a node in a union-find forest, halving the path.
int32_t root(Vec<int32_t> parent, int32_t node)
{
    while (parent(node) != node) {
        parent(node) = parent(parent(node));
        node = parent(node);
    }
    return node;
}

/// True when all the nodes listed lie on one line (exact; in space, on each coordinate plane).
bool onOneLine(Vec<const int32_t> nodes, Rows<const float> coordinates)
{
    const int32_t d = coordinates.width();
    int32_t second = 0;
    for (int32_t i = 2; i <= nodes.count() && second == 0; ++i) {
        if (!std::equal(coordinates.row(nodes(1)), coordinates.row(nodes(1)) + d, coordinates.row(nodes(i)))) {
            second = nodes(i);
        }
    }
    if (second == 0) {
        return true;
    }
    const int32_t planes = d == 3 ? 3 : 1;
    for (int32_t i = 1; i <= nodes.count(); ++i) {
        for (int32_t p = 0; p < planes; ++p) {
            const auto flat = [&](int32_t node, float* xy) {
                xy[0] = coordinates(node, p + 1);
                xy[1] = coordinates(node, (p + 1) % d + 1);
            };
            float a[2];
            float b[2];
            float c[2];
            flat(nodes(1), a);
            flat(second, b);
            flat(nodes(i), c);
            if (orientation(a, b, c) != 0) {
                return false;
            }
        }
    }
    return true;
}

/// Two nodes listed at one place (all their coordinates equal): true with them in `first` and
/// `second`. Leaves the distinct nodes at the start of `nodes`, `distinct` of them.
bool samePlace(Vec<int32_t> nodes, Rows<const float> coordinates, int32_t& first, int32_t& second, int32_t& distinct)
{
    const int32_t d = coordinates.width();
    int32_t* begin = nodes.data();
    int32_t* end = begin + nodes.count();
    std::sort(begin, end);
    end = std::unique(begin, end);
    distinct = int32_t(end - begin);
    std::sort(begin, end, [&](int32_t a, int32_t b) {
        const float* pa = coordinates.row(a);
        const float* pb = coordinates.row(b);
        return std::lexicographical_compare(pa, pa + d, pb, pb + d) || (std::equal(pa, pa + d, pb) && a < b);
    });
    for (int32_t* at = begin; at + 1 < end; ++at) {
        if (std::equal(coordinates.row(at[0]), coordinates.row(at[0]) + d, coordinates.row(at[1]))) {
            first = at[0];
            second = at[1];
            return true;
        }
    }
    return false;
}

/// True when the edges listed (node pairs) close no line: each joins two nodes not joined yet.
bool noClosedLine(Vec<const int32_t> pairs, Vec<int32_t> parent)
{
    for (int32_t i = 1; i + 1 <= pairs.count(); i += 2) {
        parent(pairs(i)) = pairs(i);
        parent(pairs(i + 1)) = pairs(i + 1);
    }
    for (int32_t i = 1; i + 1 <= pairs.count(); i += 2) {
        const int32_t a = root(parent, pairs(i));
        const int32_t b = root(parent, pairs(i + 1));
        if (a == b) {
            return false;
        }
        parent(a) = b;
    }
    return true;
}

} // namespace

void reportSizeFile(int code, std::string_view name, const SizeFileFault& fault)
{
    if (code == kDataError && fault.kind != SizeFault::none) {
        pgReport(kDataError, pgmsg::kErrorInFile, pgmsg::kNone, name);
        reportSizeFault(fault);
        return;
    }
    pgReport(reportType(code), pgmsg::kWhileReading, pgmsg::kNone, name);
}

int checkZonesApart(const RunNames& names, RunQuantities& run, const GlobalTables& tables, int32_t mode,
                    RunExtensions* extensions)
{
    // 1. the geometry as read, for this report and the later ones
    run.geometry = GeometryAsRead{names.geometry, run.points, run.elements};
    if (run.elementDimension != 1 || run.zones == 0) {
        return kOk;
    }
    // 2. the check, on the tables as stored
    const BorderLayout layout{
        Rows<const int32_t>(tables.edgeNodes.data(), tables.edgeNodes.width(), run.elements),
        Rows<const int32_t>(tables.edgeCodeRows.data(), tables.edgeCodeRows.width(), run.elements),
        Rows<const float>(tables.coordinates.data(), tables.coordinates.width(), run.points),
        Vec<const int32_t>(tables.zoneCodes.data(), run.zones)};
    GeometryFault fault;
    const int code = checkBorderCrossings(layout, tables.freeIntegers, tables.freeReals, fault);
    if (code == kCapacityError) {
        (void)traced(kOk, kRoutine, " CONTROLE DES BORDS OMIS : TABLEAUX TROP PETITS");
        return kOk;
    }
    if (code == kOk) {
        return kOk;
    }
    // 3. refused
    pgReport(kDataError, pgmsg::kGeometryNotValid, pgmsg::kNone, " ");
    if (fault.kind != FaultKind::none) {
        locate(fault, run.geometry, mode, extensions);
    }
    return traced(kDataError, kRoutine, " BORDS SECANTS OU ZONES SUPERPOSEES");
}

void locateBorderRefusal(const RunQuantities& run, const GlobalTables& tables, int32_t mode,
                         RunExtensions* extensions)
{
    // The border stage keeps the first point of every edge read, and cuts no edge of length zero.
    const Rows<const int32_t> edges = tables.edgeNodes;
    const Rows<const float> coordinates = tables.coordinates;
    const int32_t d = coordinates.width();
    if (edges.width() < 2) {
        return;
    }
    for (int32_t j = 1; j <= std::min(run.geometry.edges, edges.count()); ++j) {
        const int32_t a = edges(j, 1);
        const int32_t b = edges(j, 2);
        if (a < 1 || b < 1 || a > run.geometry.points || b > run.geometry.points) {
            continue;
        }
        if (std::equal(coordinates.row(a), coordinates.row(a) + d, coordinates.row(b))) {
            GeometryFault fault;
            fault.kind = FaultKind::zeroLength;
            fault.edges[0] = j;
            fault.points = {a, b, 0, 0};
            fault.dimension = std::min(d, 3);
            std::copy(coordinates.row(a), coordinates.row(a) + fault.dimension, fault.place.begin());
            locate(fault, run.geometry, mode, extensions);
            return;
        }
    }
}

void locateZoneRefusal(const BorderDescription& border, int32_t zoneCode, const RunQuantities& run,
                       Rows<const float> coordinates, Vec<int32_t> work, int32_t mode, RunExtensions* extensions)
{
    GeometryFault fault;
    fault.kind = FaultKind::zone;
    fault.zones[0] = zoneCode;
    const Rows<const int32_t> edges = border.edgeNodes;
    const int32_t d = std::min(coordinates.width(), 3);
    // 1. the zone's first edge read (its first point is a point read), for the border and the place
    for (int32_t j = 1; j <= std::min(run.geometry.edges, border.edges) && fault.edges[0] == 0; ++j) {
        if (listsZone(border.edgeCodes, j, zoneCode)) {
            fault.edges[0] = j;
            fault.points[0] = edges(j, 1);
        }
    }
    if (fault.edges[0] == 0) {
        return;
    }
    fault.dimension = d;
    std::copy(coordinates.row(fault.points[0]), coordinates.row(fault.points[0]) + d, fault.place.begin());
    // 2. the zone's edges as node pairs, then its nodes
    int64_t count = 0;
    for (int32_t j = 1; j <= border.edges; ++j) {
        count += listsZone(border.edgeCodes, j, zoneCode) ? 2 : 0;
    }
    bool inRange = true;
    for (int32_t j = 1; j <= border.edges; ++j) {
        for (int32_t c = 1; c <= std::min(2, edges.width()); ++c) {
            inRange = inRange && edges(j, c) >= 0 && edges(j, c) <= std::min(border.nodes, coordinates.count());
        }
    }
    if (inRange && 2 * count + border.nodes <= work.count()) {
        const Vec<int32_t> pairs = work.slice(1, int32_t(count));
        const Vec<int32_t> nodes = work.slice(int32_t(count) + 1, int32_t(count));
        const Vec<int32_t> parent = work.slice(2 * int32_t(count) + 1, border.nodes);
        int32_t n = 0;
        int32_t lines = 0;
        for (int32_t j = 1; j <= border.edges; ++j) {
            if (listsZone(border.edgeCodes, j, zoneCode)) {
                const int32_t b = edges.width() >= 2 ? edges(j, 2) : 0;
                nodes(++n) = edges(j, 1);
                nodes(++n) = b != 0 ? b : edges(j, 1);
                if (b != 0) {
                    pairs(++lines) = edges(j, 1);
                    pairs(++lines) = b;
                }
            }
        }
        int32_t first = 0;
        int32_t second = 0;
        int32_t distinct = 0;
        if (samePlace(nodes.slice(1, n), coordinates, first, second, distinct)) {
            // 3. two points of the zone at one place
            fault.kind = FaultKind::samePlace;
            fault.points = {first <= run.geometry.points ? first : 0, second <= run.geometry.points ? second : 0, 0, 0};
            std::copy(coordinates.row(first), coordinates.row(first) + d, fault.place.begin());
        } else if (noClosedLine(pairs.slice(1, lines), parent) || onOneLine(nodes.slice(1, distinct), coordinates)) {
            // 4. borders that bound no region
            fault.kind = FaultKind::noRegion;
        }
    }
    locate(fault, run.geometry, mode, extensions);
}

void noteZoneTriangles(int32_t mode, int32_t k, int32_t zones, int32_t zoneCode, int32_t made, int32_t total)
{
    if (mode >= 1 && made == 0) {
        eseint(kConsoleDevice, warningHeading() + "  no triangle in the zone :", &zoneCode, 1);
    }
    if (k == zones && total == 0) {
        esecha(kConsoleDevice, warningHeading() + "  no triangle in the mesh", " ");
    }
}

void printGeometryFault(const GeometryFault& fault)
{
    OneLine line;
    switch (fault.kind) {
    case FaultKind::none:
        return;
    case FaultKind::crossing:
        writeBorder(line, fault, 0, true);
        line.text(" crosses");
        writeBorder(line, fault, 1);
        break;
    case FaultKind::selfCrossing:
        writeBorder(line, fault, 0, true);
        line.text(" crosses itself");
        break;
    case FaultKind::touching:
        writeBorder(line, fault, 0, true);
        if (fault.borders[0] != 0 && fault.borders[0] == fault.borders[1]) {
            line.text(" touches itself off its points");
        } else {
            line.text(" touches");
            writeBorder(line, fault, 1);
            line.text(" off their points");
        }
        break;
    case FaultKind::zeroLength:
        writeBorder(line, fault, 0, true);
        line.text(" has an edge of length zero");
        break;
    case FaultKind::overlap:
        line.text("zones");
        line.integer(fault.zones[0]);
        line.text(" and");
        line.integer(fault.zones[1]);
        line.text(" overlap along");
        writeBorder(line, fault, 0);
        break;
    case FaultKind::noRegion:
        line.text("the borders of zone");
        line.integer(fault.zones[0]);
        line.text(" bound no region,");
        writeBorder(line, fault, 0);
        break;
    case FaultKind::samePlace:
        line.text("zone");
        line.integer(fault.zones[0]);
        line.text(" has two points at one place,");
        writeBorder(line, fault, 0);
        break;
    case FaultKind::zone:
        line.text("zone");
        line.integer(fault.zones[0]);
        line.text(" could not be meshed,");
        writeBorder(line, fault, 0);
        break;
    }
    writePlace(line, fault);
    writePoints(line, fault);
    line.print();
}

} // namespace tesmo
