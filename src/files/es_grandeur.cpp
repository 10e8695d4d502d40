// Nodal-values file writer and reader.
#include "files/es_grandeur.hpp"

#include "files/es_bloc.hpp"
#include "files/es_lecture.hpp"
#include "messages/es_messages.hpp"
#include "files/es_util.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <string>

namespace tesmo {

namespace {

/// Appends the value line of node i: two blanks, i, then each value after one blank.
void appendValueLine(std::string& out, int32_t i, const float* values, int32_t m)
{
    out.append("  ");
    out.append(std::to_string(i));
    for (int32_t j = 0; j < m; ++j) {
        out.push_back(' ');
        if (values[j] < 0.0f) {
            out.push_back('-');
            out.append(formatReal(-values[j]));
        } else {
            out.append(formatReal(values[j]));
        }
    }
    out.push_back('\n');
}

/// The whole nodal-values file as text.
std::string grandeurText(std::string_view title, Rows<const float> values)
{
    std::string out;
    out.append(kGrandeurHeading);
    out.append("\n* ");
    out.append(cutText(title));
    out.append("\nDEBGRD\n");
    FreeFormatWriter writer(out);
    writer.integer(values.count());
    writer.integer(values.width());
    writer.finish();
    for (int32_t i = 1; i <= values.count(); ++i) {
        appendValueLine(out, i, values.row(i), values.width());
    }
    out.append("FINGRD\n");
    return out;
}

/// Reports a failure of the GRD reading with a blank tail.
int grdFailure(int32_t message)
{
    esReport(kDataError, message, esmsg::kNone, " ");
    return kDataError;
}

} // namespace

int ecrgrd(std::string_view name, std::string_view title, Rows<const float> values)
{
    // 1. standard output for a blank name, else a new file.
    if (cutText(name).empty()) {
        consoleWrite(grandeurText(title, values));
        return kOk;
    }
    int32_t unit = 0;
    const int opened = gesfic("O", name, kOpenNew, 0, unit);
    if (opened != kOk) {
        // A positive answer means the name is open elsewhere: nothing was opened here.
        return opened < 0 ? opened : kDataError;
    }
    // 2. the lines.
    UnitFile& file = *unitFile(unit);
    const std::string text = grandeurText(title, values);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        file.writeLine(std::string_view(text).substr(start, end - start));
        start = end + 1;
    }
    // 3. closed: the text reaches the disk here.
    return gesfic("F", name, 0, 0, unit) == kOk ? kOk : kDataError;
}

int litgrd(int32_t pass, std::string_view name, Vec<float> values, int32_t& m, int32_t& n)
{
    m = 0;
    n = 0;
    // 1.-2. files and block.
    BlockReading files;
    int code = files.open(name);
    if (code != kOk) {
        return code;
    }
    if (files.extract("DEBGRD", "FINGRD") != kOk) {
        return grdFailure(esmsg::kGrdTags);
    }
    // 3. the header.
    {
        FreeRead read(files.block());
        int status = read.integer(n);
        if (status == kReadOk) {
            status = read.integer(m);
        }
        if (status != kReadOk || n <= 0 || m <= 0) {
            return grdFailure(esmsg::kGrdHeader);
        }
    }
    // 4. the value lines, each into the row of its node number.
    const int64_t capacity = values.count();
    if (pass == 0 || capacity <= 0) {
        return kOk;
    }
    if (capacity < int64_t(n) * m) {
        return kCapacityError;
    }
    for (int32_t line = 1; line <= n; ++line) {
        FreeRead read(files.block());
        int32_t node = 0;
        const int status = read.integer(node);
        if (status != kReadOk) {
            esReportInt(kDataError, esmsg::kAtValue, esmsg::kNone, line);
            return kDataError;
        }
        if (node < 1) {
            esReportInt(kDataError, esmsg::kIllegalPoint, esmsg::kNone, node);
            esReportInt(kDataError, esmsg::kAtValue, esmsg::kNone, line);
            return kDataError;
        }
        if (int64_t(node) * m > capacity) {
            return kCapacityError;
        }
        float* row = values.data() + int64_t(node - 1) * m;
        for (int32_t j = 0; j < m; ++j) {
            if (read.real(row[j]) != kReadOk) {
                esReportInt(kDataError, esmsg::kAtValue, esmsg::kNone, line);
                return kDataError;
            }
        }
    }
    return kOk;
}

} // namespace tesmo
