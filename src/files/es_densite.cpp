// Density file reader and the density records built from it.
//
// The file is read by record number: a first read finds the largest point, progression and
// concentration numbers, the work tables are carved to those sizes and cleared, a second read
// stores each record under its number, and each concentration then becomes one density record.
// A number that no record defined reads as zero, which the checks of `strden` refuse (a
// progression of type 0 has no positive ratio; concentration 0 names progression 0).
//
// The values of every progression and concentration, and the generation mode, are checked as
// soon as the counting read meets them: a value refused there is handed back in the fault of
// the counts, without a message, so that the caller names the file and the record.
#include "files/es_densite.hpp"

#include "files/es_bloc.hpp"
#include "files/es_lecture.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_messages.hpp"
#include "messages/es_erreur.hpp"

#include <algorithm>
#include <array>
#include <limits>

namespace tesmo {

namespace {

/// Reports a failure followed by an integer.
int failure(int32_t message, int32_t value)
{
    esReportInt(kDataError, message, esmsg::kNone, value);
    return kDataError;
}

/// Reports a wrong record number, then the record's position in its block.
int wrongNumber(int32_t message, int32_t number, int32_t atMessage, int32_t position)
{
    esReportInt(kDataError, message, esmsg::kNone, number);
    return failure(atMessage, position);
}

/// Hands a refused value back in `fault`; -1, without a message.
int refused(SizeFileFault& fault, SizeFault kind, int32_t record, int32_t integer, float real)
{
    fault = SizeFileFault{kind, record, integer, real};
    return kDataError;
}

/// Progression k: geometric (1) with a positive ratio or arithmetic (2) with a difference of
/// at least 0, and a positive size at its object. Returns 0, or -1 with the fault.
int checkProgression(int32_t k, int32_t type, float size, float ratio, SizeFileFault& fault)
{
    if (type != kGeometricProgression && type != kArithmeticProgression) {
        return refused(fault, SizeFault::progressionType, k, type, 0.0f);
    }
    if (!(size > 0.0f)) {
        return refused(fault, SizeFault::progressionSize, k, 0, size);
    }
    if (type == kGeometricProgression && !(ratio > 0.0f)) {
        return refused(fault, SizeFault::progressionRatio, k, 0, ratio);
    }
    if (type == kArithmeticProgression && !(ratio >= 0.0f)) {
        return refused(fault, SizeFault::progressionDifference, k, 0, ratio);
    }
    return kOk;
}

/// Concentration k: a point, an axis or a segment, whose points fit a density record (two
/// points of dimension 3 do not). Returns 0, or -1 with the fault.
int checkConcentration(int32_t k, int32_t object, int32_t dimension, SizeFileFault& fault)
{
    if (object != kPointObject && object != kAxisObject && object != kSegmentObject) {
        return refused(fault, SizeFault::concentrationType, k, object, 0.0f);
    }
    if (object != kPointObject && 2 + 2 * dimension > kDensityReals) {
        return refused(fault, SizeFault::concentrationDimension, k, object, 0.0f);
    }
    return kOk;
}

/// Block GEO: header, then `number x1 .. xndim` per record.
int readGeo(int32_t pass, std::string_view name, BlockReading& files, DensityFileCounts& counts,
            const DensityWork& work)
{
    if (files.extract("DEBGEO", "FINGEO") != kOk) {
        esReport(kDataError, esmsg::kGeoTags, esmsg::kNone, name);
        return kDataError;
    }
    int32_t np = 0;
    int32_t ndim = 0;
    {
        FreeRead read(files.block());
        int status = read.integer(np);
        if (status == kReadOk) {
            status = read.integer(ndim);
        }
        if (status != kReadOk || ndim < 1 || ndim > kMaxDensityDimension) {
            esReport(kDataError, esmsg::kGeoHeader, esmsg::kNone, name);
            return kDataError;
        }
    }
    if (pass != 0 && ndim > work.points.width()) {
        return kCapacityError;
    }
    counts.dimension = ndim;
    int32_t largest = 0;
    std::array<float, kMaxDensityDimension> ignored{};
    for (int32_t l = 1; l <= np; ++l) {
        FreeRead read(files.block());
        int32_t k = 0;
        if (read.integer(k) != kReadOk) {
            return failure(esmsg::kAtGeoPoint, l);
        }
        if (k < 1) {
            return wrongNumber(esmsg::kIllegalPoint, k, esmsg::kAtGeoPoint, l);
        }
        if (pass != 0 && k > work.points.count()) {
            return kCapacityError;
        }
        float* row = pass != 0 ? work.points.row(k) : ignored.data();
        for (int32_t j = 0; j < ndim; ++j) {
            if (read.real(row[j]) != kReadOk) {
                return failure(esmsg::kAtGeoPoint, l);
            }
        }
        largest = std::max(largest, k);
    }
    if (pass == 0) {
        counts.points = largest;
    }
    return kOk;
}

/// Block SUI: header, then `number type size ratio` per record.
int readSui(int32_t pass, BlockReading& files, DensityFileCounts& counts, const DensityWork& work)
{
    if (files.extract("DEBSUI", "FINSUI") != kOk) {
        esReport(kDataError, esmsg::kSuiTags, esmsg::kNone, " ");
        return kDataError;
    }
    int32_t ns = 0;
    {
        FreeRead read(files.block());
        if (read.integer(ns) != kReadOk) {
            return failure(esmsg::kSuiHeader, ns);
        }
    }
    int32_t largest = 0;
    for (int32_t l = 1; l <= ns; ++l) {
        FreeRead read(files.block());
        int32_t k = 0;
        if (read.integer(k) != kReadOk) {
            return failure(esmsg::kAtProgression, l);
        }
        if (k < 1) {
            return wrongNumber(esmsg::kProgressionRef, k, esmsg::kAtProgression, l);
        }
        if (pass != 0 && k > work.progressionTypes.count()) {
            return kCapacityError;
        }
        int32_t type = 0;
        float size = 0.0f;
        float ratio = 0.0f;
        if (read.integer(type) != kReadOk || read.real(size) != kReadOk || read.real(ratio) != kReadOk) {
            return failure(esmsg::kAtProgression, l);
        }
        if (checkProgression(k, type, size, ratio, counts.fault) != kOk) {
            return kDataError;
        }
        if (pass != 0) {
            work.progressionTypes(k) = type;
            work.progressions(k, 1) = size;
            work.progressions(k, 2) = ratio;
        }
        largest = std::max(largest, k);
    }
    if (pass == 0) {
        counts.progressions = largest;
    }
    return kOk;
}

/// Block DEN, searched after the end of SUI: header, then `number object nv v1 .. vnv`.
int readDen(int32_t pass, BlockReading& files, DensityFileCounts& counts, const DensityWork& work)
{
    if (files.extract("DEBDEN", "FINDEN", false) != kOk) {
        esReport(kDataError, esmsg::kDenTags, esmsg::kNone, " ");
        return kDataError;
    }
    int32_t nd = 0;
    int32_t generationMode = 0;
    {
        FreeRead read(files.block());
        int status = read.integer(nd);
        if (status == kReadOk) {
            status = read.integer(generationMode);
        }
        if (status != kReadOk) {
            return failure(esmsg::kDenHeader, nd);
        }
    }
    counts.generationMode = generationMode;
    int32_t largest = 0;
    for (int32_t l = 1; l <= nd; ++l) {
        FreeRead read(files.block());
        int32_t k = 0;
        int32_t object = 0;
        int32_t nv = 0;
        if (read.integer(k) != kReadOk) {
            return failure(esmsg::kAtConcentration, l);
        }
        if (k < 1) {
            return wrongNumber(esmsg::kConcentrationRef, k, esmsg::kAtConcentration, l);
        }
        if (read.integer(object) != kReadOk || read.integer(nv) != kReadOk) {
            return failure(esmsg::kAtConcentration, l);
        }
        if (checkConcentration(k, object, counts.dimension, counts.fault) != kOk) {
            return kDataError;
        }
        if (nv < 0 || nv > kMaxConcentrationValues) {
            // A record row holds the progression and two points: more values have no place.
            return wrongNumber(esmsg::kDenHeader, nv, esmsg::kAtConcentration, l);
        }
        std::array<int32_t, kMaxConcentrationValues> values{};
        for (int32_t i = 0; i < nv; ++i) {
            if (read.integer(values[std::size_t(i)]) != kReadOk) {
                return failure(esmsg::kAtConcentration, l);
            }
        }
        if (pass != 0) {
            if (k > work.concentrations.count()) {
                return kCapacityError;
            }
            work.concentrations(k, 1) = object;
            for (int32_t i = 0; i < nv; ++i) {
                work.concentrations(k, 2 + i) = values[std::size_t(i)];
            }
        }
        largest = std::max(largest, k);
    }
    if (pass == 0) {
        counts.concentrations = largest;
    }
    return kOk;
}

/// Writes record `row` as the default: a geometric progression of ratio 1.1.
void defaultRecord(Rows<int32_t> integers, Rows<float> reals, int32_t type, float ratio)
{
    std::fill(integers.row(1), integers.row(1) + kDensityIntegers, 0);
    std::fill(reals.row(1), reals.row(1) + kDensityReals, 0.0f);
    integers(1, 1) = type;
    reals(1, 2) = ratio;
}

/// The closing record, row nd + 1: the largest geometric ratio (type 1) or, without any
/// geometric progression, the largest difference (type 2); 0.05 in entry 2 for generation mode 3.
void closingRecord(int32_t nd, int32_t generationMode, Rows<int32_t> integers, Rows<float> reals)
{
    float largestRatio = 0.0f;
    float largestDifference = 0.0f;
    bool geometric = false;
    for (int32_t k = 1; k <= nd; ++k) {
        const float value = reals(k, 1);
        if (integers(k, 1) == kGeometricProgression && value != 0.0f) {
            geometric = true;
            largestRatio = std::max(largestRatio, value);
        } else {
            largestDifference = std::max(largestDifference, value);
        }
    }
    const int32_t last = nd + 1;
    std::fill(integers.row(last), integers.row(last) + kDensityIntegers, 0);
    std::fill(reals.row(last), reals.row(last) + kDensityReals, 0.0f);
    integers(last, 1) = geometric ? kGeometricProgression : kArithmeticProgression;
    reals(last, 1) = geometric ? largestRatio : largestDifference;
    if (generationMode == 3) {
        reals(last, 2) = kSmoothingStep;
    }
}

/// Carves the work tables for the counted file and clears them. False when they are too small.
bool carveWork(const DensityFileCounts& counts, Vec<int32_t> integerWork, Vec<float> realWork, DensityWork& work)
{
    const int64_t integersNeeded = int64_t(counts.progressions) + int64_t(kConcentrationWidth) * counts.concentrations;
    const int64_t pointReals = int64_t(counts.points) * counts.dimension;
    const int64_t realsNeeded = pointReals + 2 * int64_t(counts.progressions);
    if (integerWork.count() < integersNeeded || realWork.count() < realsNeeded) {
        return false;
    }
    std::fill(integerWork.data(), integerWork.data() + integersNeeded, 0);
    std::fill(realWork.data(), realWork.data() + realsNeeded, 0.0f);
    work.progressionTypes = Vec<int32_t>(integerWork.data(), counts.progressions);
    work.concentrations = Rows<int32_t>(integerWork.data() + counts.progressions, kConcentrationWidth,
                                        counts.concentrations);
    work.points = Rows<float>(realWork.data(), counts.dimension, counts.points);
    work.progressions = Rows<float>(realWork.data() + pointReals, 2, counts.progressions);
    return true;
}

} // namespace

void reportSizeFault(const SizeFileFault& fault)
{
    // how each fault is told, one wording per kind in the order of SizeFault: its block, what
    // its record is (none for the header), the value named, whether that value is the real
    // one, and what is wrong with it
    struct Wording {
        const char* block;
        const char* record;
        const char* value;
        bool real;
        const char* wrong;
    };
    static constexpr Wording kWordings[] = {
        {"", "", "", false, ""},
        {"DEN", nullptr, " : generation mode", false, ", not 1, 2 or 3"},
        {"SUI", ", progression", " : type", false, ", not 1 geometric or 2 arithmetic"},
        {"SUI", ", progression", " : size", true, ", not positive"},
        {"SUI", ", progression", " : ratio", true, ", not positive"},
        {"SUI", ", progression", " : difference", true, ", negative"},
        {"DEN", ", concentration", " : type", false, ", not 1 point, 2 axis or 3 segment"},
        {"DEN", ", concentration", " : type", false, " needs points of dimension 1 or 2 in block GEO"},
        {"GRD", ", point", " : size", true, ", not positive"},
    };
    if (fault.kind == SizeFault::none) {
        return;
    }
    const Wording& wording = kWordings[std::size_t(fault.kind)];
    std::string text;
    FreeFormatWriter line(text);
    line.text("in block ");
    line.text(wording.block);
    if (wording.record != nullptr) {
        line.text(wording.record);
        line.integer(fault.record);
    }
    line.text(wording.value);
    if (wording.real) {
        line.real(fault.real);
    } else {
        line.integer(fault.integer);
    }
    line.text(wording.wrong);
    line.finish();
    consoleWrite(text);
}

int litden(int32_t pass, std::string_view name, DensityFileCounts& counts, const DensityWork& work)
{
    // 1. files.
    BlockReading files;
    int code = files.open(name);
    if (code != kOk) {
        return code;
    }
    // 2. GEO, 3. SUI (both from the start of the file), 4. DEN (after the end of SUI).
    code = readGeo(pass, name, files, counts, work);
    if (code == kOk) {
        code = readSui(pass, files, counts, work);
    }
    if (code == kOk) {
        code = readDen(pass, files, counts, work);
    }
    // 5. both files are closed by `files`, on every path.
    return code;
}

int strden(int32_t k, const DensityWork& work, Vec<int32_t> integerRecord, Vec<float> realRecord)
{
    // 1.-2. the concentration and its progression.
    if (k < 1 || k > work.concentrations.count()) {
        return failure(esmsg::kConcentrationRef, k);
    }
    const int32_t s = work.concentrations(k, 2);
    if (s < 1 || s > work.progressionTypes.count()) {
        return failure(esmsg::kProgressionRef, s);
    }
    // 3. the progression's type, ratio (or difference) and size.
    const int32_t type = work.progressionTypes(s);
    const float size = work.progressions(s, 1);
    const float ratio = work.progressions(s, 2);
    std::fill(integerRecord.data(), integerRecord.data() + integerRecord.count(), 0);
    std::fill(realRecord.data(), realRecord.data() + realRecord.count(), 0.0f);
    integerRecord(1) = type;
    realRecord(1) = ratio;
    realRecord(2) = size;
    // 4. its values.
    if (type == kArithmeticProgression) {
        if (ratio <= 0.0f && size <= 0.0f) {
            esReportReal(kDataError, esmsg::kDifferenceNotPositive, esmsg::kNone, ratio);
            return kDataError;
        }
    } else if (ratio <= 0.0f) {
        esReportReal(kDataError, esmsg::kRatioNotPositive, esmsg::kNone, ratio);
        return kDataError;
    } else if (size <= 0.0f) {
        esReportReal(kDataError, esmsg::kSizeNotPositive, esmsg::kNone, size);
        return kDataError;
    }
    // 5. the object and the number of its points.
    const int32_t object = work.concentrations(k, 1);
    integerRecord(2) = object;
    int32_t points = 0;
    if (object == kPointObject) {
        points = 1;
    } else if (object == kAxisObject || object == kSegmentObject) {
        points = 2;
    } else {
        return failure(esmsg::kUnknownConcentration, object);
    }
    const int32_t ndim = work.points.width();
    if (2 + points * ndim > realRecord.count()) {
        // Two points in space do not fit the record: such objects need a plane geometry.
        return failure(esmsg::kGeoHeader, ndim);
    }
    // 6. the coordinates of its points.
    for (int32_t p = 1; p <= points; ++p) {
        const int32_t number = work.concentrations(k, 2 + p);
        if (number < 1 || number > work.points.count()) {
            return failure(esmsg::kIllegalPoint, number);
        }
        for (int32_t j = 1; j <= ndim; ++j) {
            realRecord(2 + (p - 1) * ndim + j) = work.points(number, j);
        }
    }
    return kOk;
}

int iniden(int32_t pass, std::string_view name, SizeRecordCounts& shape, Vec<int32_t> integerRecords,
           Vec<float> realRecords, Vec<int32_t> integerWork, Vec<float> realWork, int32_t verbosity)
{
    // 1. the shape of density records.
    shape = SizeRecordCounts{};
    shape.integersPerRecord = kDensityIntegers;
    shape.realsPerRecord = kDensityReals;
    // 2. counting read.
    DensityFileCounts counts;
    int code = litden(0, name, counts, DensityWork{});
    shape.fault = counts.fault;
    if (code != kOk) {
        return code;
    }
    // The generation mode of the header counts when there are concentrations, or progressions
    // enough to build the closing record from; otherwise generation mode 1 replaces it.
    const bool modeUsed = counts.concentrations > 0 || counts.progressions >= 2;
    if (modeUsed && (counts.generationMode < kFirstGenerationMode || counts.generationMode > kLastGenerationMode)) {
        return refused(shape.fault, SizeFault::generationMode, 0, counts.generationMode, 0.0f);
    }
    if (counts.concentrations == std::numeric_limits<int32_t>::max()) {
        return kCapacityError;
    }
    shape.generationMode = counts.generationMode;
    shape.refinementMode = counts.concentrations > 0 ? kDensityConcentrations : kDefaultSize;
    shape.records = counts.concentrations;
    // Records 1..nd and the closing record; without concentration, record 1 alone.
    shape.reservedRecords = counts.concentrations + 1;
    if (pass == 0) {
        return kOk;
    }
    const int64_t rows = shape.reservedRecords;
    if (integerRecords.count() < rows * kDensityIntegers || realRecords.count() < rows * kDensityReals) {
        return kCapacityError;
    }
    const Rows<int32_t> integers(integerRecords.data(), kDensityIntegers, shape.reservedRecords);
    const Rows<float> reals(realRecords.data(), kDensityReals, shape.reservedRecords);
    // 3. no progression and no concentration: the default.
    if (counts.concentrations == 0 && counts.progressions == 0) {
        shape.generationMode = 1;
        defaultRecord(integers, reals, kGeometricProgression, kDefaultRatio);
        if (verbosity != 0) {
            esReport(0, esmsg::kNoConcentration, esmsg::kNone, " ");
        }
        return kOk;
    }
    // 4. filling read into the work tables.
    DensityWork work;
    if (!carveWork(counts, integerWork, realWork, work)) {
        return kCapacityError;
    }
    code = litden(1, name, counts, work);
    if (code != kOk) {
        return code;
    }
    // 5. one progression and no concentration: that progression alone.
    if (counts.concentrations == 0 && counts.progressions == 1) {
        shape.generationMode = 1;
        defaultRecord(integers, reals, work.progressionTypes(1), work.progressions(1, 2));
        if (verbosity != 0) {
            esReport(0, esmsg::kNoConcentration, esmsg::kNone, " ");
        }
        return kOk;
    }
    // 6. one record per concentration, then the closing record.
    if (verbosity != 0) {
        esReportInt(kInfoMessage, esmsg::kInfoConcentrations, esmsg::kNone, counts.concentrations);
        esReportInt(kInfoMessage, esmsg::kInfoGeneration, esmsg::kNone, shape.generationMode);
    }
    for (int32_t k = 1; k <= counts.concentrations; ++k) {
        code = strden(k, work, Vec<int32_t>(integers.row(k), kDensityIntegers), Vec<float>(reals.row(k), kDensityReals));
        if (code != kOk) {
            return failure(esmsg::kAtConcentration, k);
        }
    }
    closingRecord(counts.concentrations, shape.generationMode, integers, reals);
    return kOk;
}

} // namespace tesmo
