// Mesh file writer and reader, and the element type codes.
//
// The reader groups the elements by reference while it reads: a first read counts the
// elements of each reference (references numbered in order of first appearance), the counts
// become starting offsets, and a second read places each element after the earlier elements
// of its reference:
//
//     file order   e1 ref 5 | e2 ref 2 | e3 ref 5 | e4 ref 2
//     stored       e1  e3  e2  e4        zone codes (5, 2), zone ends (2, 4)
#include "files/es_mesh.hpp"

#include "files/es_bloc.hpp"
#include "files/es_lecture.hpp"
#include "messages/es_messages.hpp"
#include "files/es_util.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <unordered_map>

namespace tesmo {

namespace {

/// Type codes 22 to 42 stand for the codes 21 below them.
inline constexpr int32_t kCodeShift = 21;

/// The message heading for a failure code: the codes without a heading are reported as data errors.
int32_t headingOf(int code) { return code <= kDataError && code >= kNotAvailable ? code : kDataError; }

/// Writes a text of lines, each ended by a line break, to a unit.
void writeLines(UnitFile& file, std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        file.writeLine(text.substr(start, end - start));
        start = end + 1;
    }
}

/// Appends one integer field of an element record; a value filling the whole field gets a
/// blank before it, so that two fields never run together.
void appendField(std::string& line, int32_t value)
{
    char buffer[16];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    const std::size_t n = std::size_t(written.ptr - buffer);
    // right-aligned in its field ("%*d"), with a blank before a value that fills it
    line.append(n < std::size_t(kElementFieldWidth) ? std::size_t(kElementFieldWidth) - n : 1, ' ');
    line.append(buffer, n);
}

/// Writes an element record: nn, its nodes, its code, its reference, 11 fields per line.
void writeElement(UnitFile& file, std::string& line, const int32_t* nodes, int32_t nn, int32_t code,
                  int32_t reference)
{
    line.clear();
    int32_t fields = 0;
    auto put = [&](int32_t value) {
        if (fields == kElementFieldsPerLine) {
            file.writeLine(line);
            line.clear();
            fields = 0;
        }
        appendField(line, value);
        ++fields;
    };
    put(nn);
    for (int32_t i = 0; i < nn; ++i) {
        put(nodes[i]);
    }
    put(code);
    put(reference);
    file.writeLine(line);
}

/// One element record as read.
struct ElementRecord {
    int32_t nn = 0;
    std::array<int32_t, kMaxElementNodes> nodes{};
    int32_t code = 0;
    int32_t reference = 0;
    int32_t elementDimension = 0;
};

/// Reports a failure inside element record e: the message with its value, then the element.
int elementFailure(int32_t message, int32_t value, int32_t e)
{
    esReportInt(kDataError, message, esmsg::kNone, value);
    esReportInt(kDataError, esmsg::kAtElement, esmsg::kNone, e);
    return kDataError;
}

/// Reads element record e and checks its node count, node numbers, type code and dimension.
int readElement(UnitFile* block, int32_t e, int32_t npts, int32_t dimension, ElementRecord& record)
{
    FreeRead read(block);
    int status = read.integer(record.nn);
    if (status == kReadOk && record.nn > kMaxElementNodes) {
        esReportInt(kCapacityError, esmsg::kTooManyElementNodes, esmsg::kNone, kMaxElementNodes);
        return kCapacityError;
    }
    if (status == kReadOk && record.nn < 1) {
        // An element without nodes: its record is refused as unreadable.
        esReportInt(kDataError, esmsg::kAtElement, esmsg::kNone, e);
        return kDataError;
    }
    for (int32_t i = 0; i < record.nn; ++i) {
        status = read.integer(record.nodes[std::size_t(i)]);
    }
    status = read.integer(record.code);
    status = read.integer(record.reference);
    if (status != kReadOk) {
        esReportInt(kDataError, esmsg::kAtElement, esmsg::kNone, e);
        return kDataError;
    }
    for (int32_t i = 0; i < record.nn; ++i) {
        const int32_t node = record.nodes[std::size_t(i)];
        if (node < 0 || node > npts) {
            return elementFailure(esmsg::kIllegalPoint, node, e);
        }
    }
    int32_t nodes = 0;
    const int32_t written = record.code;
    if (vipcod(record.code, record.elementDimension, nodes) != kOk) {
        return elementFailure(esmsg::kUnknownElement, written, e);
    }
    if (record.elementDimension > dimension) {
        esReportInt(kDataError, esmsg::kElementDimension, esmsg::kNone, e);
        return kDataError;
    }
    return kOk;
}

/// The references met so far, each with its group number (order of first appearance).
class ReferenceGroups {
public:
    /// The group of a reference; 0 when the reference has not been met.
    int32_t find(int32_t reference)
    {
        if (count_ > 0 && reference == lastReference_) {
            return lastGroup_;
        }
        const auto found = groups_.find(reference);
        if (found == groups_.end()) {
            return 0;
        }
        lastReference_ = reference;
        lastGroup_ = found->second;
        return lastGroup_;
    }
    /// Gives the reference the next group number and answers it.
    int32_t add(int32_t reference)
    {
        groups_.emplace(reference, ++count_);
        lastReference_ = reference;
        lastGroup_ = count_;
        return count_;
    }
    int32_t count() const { return count_; }

private:
    std::unordered_map<int32_t, int32_t> groups_;
    int32_t count_ = 0;
    int32_t lastReference_ = 0;
    int32_t lastGroup_ = 0;
};

/// Step 2-3: the XYZ header, and in the filling pass the nodes.
int readNodes(int32_t pass, UnitFile* block, const MeshTables& tables, MeshSizes& sizes)
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
            esReport(kDataError, esmsg::kXyzHeader, esmsg::kNone, " ");
            return kDataError;
        }
    }
    if (ndim > kMaxMeshDimension) {
        esReportInt(kCapacityError, esmsg::kDimensionTooHigh, esmsg::kNone, kMaxMeshDimension);
        return kCapacityError;
    }
    sizes.npts = npts;
    if (pass == 0) {
        sizes.dimension = ndim;
        return kOk;
    }
    const int32_t capacity = tables.coordinates.count();
    if (capacity < 1) {
        return kOk;
    }
    if (sizes.dimension < ndim) {
        return kDataError;
    }
    if (int64_t(npts) * sizes.dimension > capacity) {
        return kCapacityError;
    }
    for (int32_t k = 1; k <= npts; ++k) {
        FreeRead read(block);
        float* row = tables.coordinates.data() + int64_t(k - 1) * sizes.dimension;
        for (int32_t j = 0; j < ndim; ++j) {
            if (read.real(row[j]) != kReadOk) {
                esReportInt(kDataError, esmsg::kAtPoint, esmsg::kNone, k);
                return kDataError;
            }
        }
    }
    return kOk;
}

/// Step 4: a file without ILM block holds no elements (0), or borders in an ARE block (-4).
int withoutElements(BlockReading& files, MeshSizes& sizes)
{
    sizes.rowLength = 0;
    sizes.zones = 0;
    if (files.extract("DEBARE", "FINARE") != kOk) {
        return kOk;
    }
    int32_t count = 0;
    FreeRead read(files.block());
    if (read.integer(count) != kReadOk) {
        esReport(kDataError, esmsg::kIlmHeader, esmsg::kNone, " ");
        return kDataError;
    }
    return count != 0 ? kGeometryNotMesh : kOk;
}

/// Reads the element count of the ILM block.
int readElementCount(UnitFile* block, int32_t& ne)
{
    ne = 0;
    FreeRead read(block);
    if (read.integer(ne) != kReadOk) {
        esReport(kDataError, esmsg::kIlmHeader, esmsg::kNone, " ");
        return kDataError;
    }
    return kOk;
}

/// Step 6: every element read and checked; the groups counted in the zone tables.
int countElements(UnitFile* block, int32_t ne, const MeshTables& tables, MeshSizes& sizes, ReferenceGroups& groups,
                  ElementRecord& record, int32_t& largestNodes)
{
    for (int32_t e = 1; e <= ne; ++e) {
        const int code = readElement(block, e, sizes.npts, sizes.dimension, record);
        if (code != kOk) {
            return code;
        }
        sizes.elementDimension = std::max(sizes.elementDimension, record.elementDimension);
        largestNodes = std::max(largestNodes, record.nn);
        int32_t g = groups.find(record.reference);
        if (g > 0) {
            if (g <= tables.zoneEnds.count()) {
                ++tables.zoneEnds(g);
            }
            continue;
        }
        g = groups.add(record.reference);
        if (g <= tables.zoneCodes.count()) {
            tables.zoneCodes(g) = record.reference;
        }
        if (g <= tables.zoneEnds.count()) {
            tables.zoneEnds(g) = 1;
        }
    }
    sizes.zones = groups.count();
    return kOk;
}

/// Step 8: reads the elements again and stores each at its place in its group.
int storeElements(BlockReading& files, const MeshTables& tables, MeshSizes& sizes, ReferenceGroups& groups,
                  ElementRecord& record)
{
    const bool grouped = tables.zoneCodes.count() > 0 && tables.zoneEnds.count() > 0;
    if (grouped) {
        int32_t offset = 0;
        for (int32_t g = 1; g <= sizes.zones; ++g) {
            const int32_t count = tables.zoneEnds(g);
            tables.zoneEnds(g) = offset;
            offset += count;
        }
    }
    files.rewindBlock();
    int32_t ne = 0;
    int code = readElementCount(files.block(), ne);
    if (code != kOk) {
        return code;
    }
    const int64_t width = sizes.rowLength;
    for (int32_t e = 1; e <= ne; ++e) {
        code = readElement(files.block(), e, sizes.npts, sizes.dimension, record);
        if (code != kOk) {
            return code;
        }
        int32_t place = e;
        if (grouped) {
            const int32_t g = groups.find(record.reference);
            place = ++tables.zoneEnds(g);
        }
        if (width > 0 && int64_t(place) * width <= tables.elements.count()) {
            std::copy(record.nodes.begin(), record.nodes.begin() + record.nn,
                      tables.elements.data() + (place - 1) * width);
        }
    }
    return kOk;
}

} // namespace

int vipcod(int32_t& code, int32_t& elementDimension, int32_t& nodes)
{
    if (code >= 22 && code <= 42) {
        code -= kCodeShift;
    }
    elementDimension = 0;
    nodes = 0;
    if (code >= 1 && code <= 2) {
        elementDimension = 1;
        nodes = 2;
    } else if (code >= 3 && code <= 4) {
        elementDimension = 2;
        nodes = 3;
    } else if (code >= 5 && code <= 8) {
        elementDimension = 2;
        nodes = 4;
    } else if (code >= 9 && code <= 10) {
        elementDimension = 3;
        nodes = 4;
    } else if (code >= 11 && code <= 15) {
        elementDimension = 3;
        nodes = 6;
    } else if (code >= 16 && code <= 21) {
        elementDimension = 3;
        nodes = 8;
    } else if (code == 100) {
        elementDimension = 1;
        nodes = 2;
    } else if (code == 101) {
        elementDimension = 0;
        nodes = 1;
    } else if (code == 102) {
        elementDimension = 2;
        nodes = -1;
    } else if (code == 103) {
        elementDimension = 1;
        nodes = -1;
    } else {
        return kDataError;
    }
    return kOk;
}

int codvip(int32_t elementDimension, Vec<const int32_t> row, int32_t& code, int32_t& nodes)
{
    code = -1;
    nodes = 0;
    int32_t last = 0;
    for (int32_t i = 1; i <= row.count(); ++i) {
        if (row(i) != 0) {
            last = i;
        }
    }
    if (elementDimension < 0 || elementDimension > 3 || last == 0) {
        return kDataError;
    }
    nodes = elementDimension <= 1 ? last : row.count();
    switch (elementDimension) {
    case 1:
        // Three or more nodes beyond a quadratic edge: a line of any node count, which the
        // reader decodes back as a line.
        code = nodes == 2 ? 1 : nodes == 3 ? 2 : nodes >= 4 ? 103 : -1;
        break;
    case 2:
        code = nodes == 3 ? 3 : nodes == 4 ? 5 : -1;
        break;
    case 3:
        code = nodes == 4 ? 9 : nodes == 6 ? 11 : nodes == 8 ? 16 : -1;
        break;
    default:
        break;
    }
    return kOk;
}

int ecrvip(int32_t mode, std::string_view name, Rows<const float> coordinates, int32_t elementDimension,
           Rows<const int32_t> elements, int32_t ng, Vec<const int32_t> zoneCodes, Vec<const int32_t> zoneEnds)
{
    // 1. not yet possible.
    if (mode == kWriteNotAvailable) {
        esReport(kNotAvailable, esmsg::kNone, esmsg::kNone, " ");
        return kNotAvailable;
    }
    if (ng > zoneCodes.count() || ng > zoneEnds.count()) {
        return estraced(kDataError, "ECRVIP", "TABLES DES ZONES TROP PETITES");
    }
    // 2. the file.
    int32_t unit = 0;
    const int32_t status = mode == kWriteReplace ? kOpenUnknown : kOpenNew;
    const int opened = gesfic("O", name, status, 0, unit);
    if (opened != kOk) {
        // A name already open belongs to another reading: nothing was opened here.
        const int code = opened < 0 ? opened : kDataError;
        esReport(headingOf(code), mode == kWriteReplace ? esmsg::kCantOpenForWriting : esmsg::kFileExists,
                 esmsg::kNone, name);
        return code;
    }
    UnitFile& file = *unitFile(unit);
    // 3. the nodes.
    std::string text;
    file.writeLine("DEBXYZ");
    {
        FreeFormatWriter writer(text);
        writer.integer(coordinates.count());
        writer.integer(coordinates.width());
        writer.finish();
        writeLines(file, text);
    }
    for (int32_t k = 1; k <= coordinates.count(); ++k) {
        text.clear();
        FreeFormatWriter writer(text);
        for (int32_t j = 1; j <= coordinates.width(); ++j) {
            writer.real(coordinates(k, j));
        }
        writer.finish();
        writeLines(file, text);
    }
    file.writeLine("FINXYZ");
    // 4. the elements, each with its code and the zone code of its group.
    int code = kOk;
    if (elements.count() > 0) {
        file.writeLine("DEBILM");
        text.clear();
        FreeFormatWriter writer(text);
        writer.integer(elements.count());
        writer.finish();
        writeLines(file, text);
        int32_t g = 1;
        for (int32_t e = 1; e <= elements.count() && code == kOk; ++e) {
            const Vec<const int32_t> row(elements.row(e), elements.width());
            int32_t type = 0;
            int32_t nodes = 0;
            int32_t reference = 1;
            if (ng >= 1) {
                while (g <= ng && zoneEnds(g) < e) {
                    ++g;
                }
                reference = g <= ng ? zoneCodes(g) : 0;
            }
            if (codvip(elementDimension, row, type, nodes) != kOk || (ng >= 1 && g > ng)) {
                esReportInt(kDataError, esmsg::kWritingElement, esmsg::kNone, e);
                code = kDataError;
                break;
            }
            writeElement(file, text, row.data(), nodes, type, reference);
        }
        if (code == kOk) {
            file.writeLine("FINILM");
        }
    }
    // 5. closed: the text reaches the disk here.
    if (gesfic("F", name, 0, 0, unit) != kOk && code == kOk) {
        esReport(kDataError, esmsg::kCantOpenForWriting, esmsg::kNone, name);
        code = kDataError;
    }
    return code;
}

int litvip(int32_t pass, std::string_view name, const MeshTables& tables, MeshSizes& sizes)
{
    // 1. outputs cleared, files opened, block XYZ extracted.
    sizes.ne = 0;
    sizes.npts = 0;
    sizes.elementDimension = 0;
    sizes.zones = 0;
    BlockReading files;
    int code = files.open(name);
    if (code != kOk) {
        return code;
    }
    if (files.extract("DEBXYZ", "FINXYZ") != kOk) {
        esReport(kDataError, esmsg::kXyzTags, esmsg::kNone, " ");
        return kDataError;
    }
    // 2.-3. the header and the nodes.
    code = readNodes(pass, files.block(), tables, sizes);
    if (code != kOk) {
        return code;
    }
    // 4.-5. the element block.
    if (files.extract("DEBILM", "FINILM") != kOk) {
        return withoutElements(files, sizes);
    }
    int32_t ne = 0;
    code = readElementCount(files.block(), ne);
    if (code != kOk) {
        return code;
    }
    if (ne < 1) {
        sizes.rowLength = 0;
        return kOk;
    }
    sizes.ne = ne;
    // 6. every element checked, the groups counted.
    ReferenceGroups groups;
    ElementRecord record;
    int32_t largestNodes = 0;
    code = countElements(files.block(), ne, tables, sizes, groups, record, largestNodes);
    if (code != kOk) {
        return code;
    }
    // 7. the counting pass ends with the row length.
    if (pass == 0) {
        sizes.rowLength = largestNodes;
        return kOk;
    }
    // 8. the tables must hold every group and every element.
    const int32_t zoneCapacity = tables.zoneCodes.count();
    const int32_t endCapacity = tables.zoneEnds.count();
    const int32_t elementCapacity = tables.elements.count();
    if ((zoneCapacity > 0 && zoneCapacity < sizes.zones) || (endCapacity > 0 && endCapacity < sizes.zones) ||
        (elementCapacity > 0 &&
         (sizes.rowLength < largestNodes || elementCapacity < int64_t(sizes.rowLength) * ne))) {
        return kCapacityError;
    }
    return storeElements(files, tables, sizes, groups, record);
}

} // namespace tesmo
