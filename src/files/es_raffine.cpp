// Size specification reader: tells the kind of file apart and hands it to its reader.
#include "files/es_raffine.hpp"

#include "files/es_bloc.hpp"
#include "files/es_grandeur.hpp"
#include "files/es_lecture.hpp"
#include "messages/es_messages.hpp"
#include "files/es_util.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <algorithm>

namespace tesmo {

namespace {

/// Prints an information line of the package catalogue when the caller is verbose.
void progress(int32_t verbosity, int32_t message)
{
    if (verbosity != 0) {
        esReport(kInfoMessage, message, esmsg::kNone, " ");
    }
}

} // namespace

int defden(SizeRecordCounts& shape, Vec<int32_t> integerRecords, Vec<float> realRecords)
{
    shape.generationMode = 1;
    shape.integersPerRecord = kDensityIntegers;
    shape.realsPerRecord = kDensityReals;
    shape.records = 1;
    shape.reservedRecords = 1;
    if (integerRecords.count() < kDensityIntegers || realRecords.count() < kDensityReals) {
        return kCapacityError;
    }
    std::fill(integerRecords.data(), integerRecords.data() + kDensityIntegers, 0);
    std::fill(realRecords.data(), realRecords.data() + kDensityReals, 0.0f);
    integerRecords(1) = kGeometricProgression;
    realRecords(2) = kDefaultRatio;
    return kOk;
}

int tyfide(std::string_view name, int32_t& kind)
{
    kind = kUnknownSizeFile;
    int32_t unit = 0;
    const int opened = gesfic("O", name, kOpenOld, 0, unit);
    if (opened != kOk) {
        // A positive answer means the name is open elsewhere: nothing was opened here.
        return opened < 0 ? opened : kDataError;
    }
    int32_t comments = 0;
    int code = kOk;
    if (gescom(unit, "DEBGEO", "FINGEO", '*', 0, comments) == kOk) {
        kind = kDensityFile;
    } else {
        unitFile(unit)->rewind();
        if (gescom(unit, "DEBGRD", "FINGRD", '*', 0, comments) == kOk) {
            kind = kNodalValuesFile;
        } else {
            code = kDataError;
        }
    }
    (void)gesfic("F", name, 0, 0, unit);
    return code;
}

int sizeFileRecords(std::string_view name, int32_t& records)
{
    records = 1;
    if (cutText(name).empty()) {
        return kOk;
    }
    int32_t kind = kUnknownSizeFile;
    if (tyfide(name, kind) != kOk) {
        return kDataError;
    }
    if (kind == kNodalValuesFile) {
        return kOk;
    }
    // a density file: the DEN block after the SUI block, and its count of concentrations
    BlockReading files;
    if (files.open(name) != kOk || files.extract("DEBSUI", "FINSUI") != kOk ||
        files.extract("DEBDEN", "FINDEN", false) != kOk) {
        return kDataError;
    }
    FreeRead read(files.block());
    int32_t nd = 0;
    if (read.integer(nd) != kReadOk) {
        return kDataError;
    }
    records = std::max(nd, 0);
    return kOk;
}

int littsn(int32_t pass, std::string_view name, SizeRecordCounts& shape, Vec<float> realRecords)
{
    // 1. the counts of the GRD block.
    int32_t m = 0;
    int32_t n = 0;
    int code = litgrd(0, name, Vec<float>(), m, n);
    if (code != kOk) {
        return code;
    }
    // 2. one value per node.
    if (m != 1) {
        esReportInt(kDataError, esmsg::kValueDimension, esmsg::kNone, m);
        return kDataError;
    }
    // 3. one record of n sizes.
    shape.integersPerRecord = 0;
    shape.generationMode = -1;
    shape.realsPerRecord = n;
    shape.records = 1;
    shape.reservedRecords = 1;
    if (pass == 0) {
        return kOk;
    }
    if (realRecords.count() < n) {
        return kCapacityError;
    }
    code = litgrd(1, name, realRecords, m, n);
    if (code != kOk) {
        return code;
    }
    // 4. every size positive: a size of 0 or less cannot be cut by.
    for (int32_t i = 1; i <= n; ++i) {
        if (!(realRecords(i) > 0.0f)) {
            shape.fault = SizeFileFault{SizeFault::nodalSize, i, 0, realRecords(i)};
            return kDataError;
        }
    }
    return kOk;
}

int litraf(int32_t pass, std::string_view name, SizeRecordCounts& shape, Vec<int32_t> integerRecords,
           Vec<float> realRecords, Vec<int32_t> integerWork, Vec<float> realWork, int32_t verbosity)
{
    // 1. nothing known yet.
    shape.refinementMode = 0;
    shape.generationMode = 0;
    shape.fault = SizeFileFault{};
    // 2. no file: the default size description (the counting pass writes it into the work tables).
    if (cutText(name).empty()) {
        progress(verbosity, esmsg::kInfoDefaultSize);
        shape.refinementMode = kDefaultSize;
        if (pass == 0) {
            (void)defden(shape, integerWork, realWork);
            return kOk;
        }
        return defden(shape, integerRecords, realRecords);
    }
    // 3. the kind of file.
    progress(verbosity, esmsg::kInfoReadingSize);
    int32_t kind = kUnknownSizeFile;
    int code = tyfide(name, kind);
    if (code != kOk) {
        return code;
    }
    // 4. a density file.
    if (kind == kDensityFile) {
        progress(verbosity, esmsg::kInfoDensity);
        code = iniden(0, name, shape, integerRecords, realRecords, integerWork, realWork, verbosity);
        if (code != kOk || pass == 0) {
            return code;
        }
        code = iniden(1, name, shape, integerRecords, realRecords, integerWork, realWork, verbosity);
        return code == kOk ? kOk : estraced(code, "LITRAF", " APPEL INIDEN");
    }
    // 5. a nodal-values file: sizes at the geometry points.
    progress(verbosity, esmsg::kInfoNodalValues);
    code = littsn(0, name, shape, realRecords);
    if (code != kOk) {
        return estraced(code, "LITRAF", "APPEL LITTSN OU INIDEN");
    }
    shape.refinementMode = kSizesAtPoints;
    if (pass == 0) {
        return kOk;
    }
    code = littsn(1, name, shape, realRecords);
    return code == kOk ? kOk : estraced(code, "LITRAF", " APPEL LITTSN");
}

} // namespace tesmo
