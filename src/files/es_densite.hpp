#pragma once
// The density file: block GEO (the points that concentrations refer to), block SUI (the
// progressions) and block DEN (the concentrations), turned into density records.
//
// Density record k: integers (progression type, object type); reals (ratio or difference,
// size, then the coordinates of the object's points). Record nd + 1 is the closing record.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

inline constexpr int32_t kDensityIntegers = 2;      ///< integers per density record
inline constexpr int32_t kDensityReals = 6;         ///< reals per density record
inline constexpr int32_t kConcentrationWidth = 4;   ///< object type, progression, first and second point
inline constexpr int32_t kMaxDensityDimension = 3;  ///< largest dimension of block GEO
inline constexpr int32_t kMaxConcentrationValues = 3; ///< progression number and at most two points
inline constexpr float kDefaultRatio = 1.1f;        ///< ratio of the default geometric progression
inline constexpr float kSmoothingStep = 0.05f;      ///< closing-record value asking for smoothing (generation mode 3)

/// Progression types and concentration objects.
inline constexpr int32_t kGeometricProgression = 1;
inline constexpr int32_t kArithmeticProgression = 2;
inline constexpr int32_t kPointObject = 1;
inline constexpr int32_t kAxisObject = 2;
inline constexpr int32_t kSegmentObject = 3;

/// Refinement modes.
inline constexpr int32_t kDefaultSize = 1;       ///< default size (or progressions without concentration)
inline constexpr int32_t kDensityConcentrations = 2; ///< size concentrations
inline constexpr int32_t kSizesAtPoints = 3;     ///< one size per geometry point

/// Generation modes a density file may ask for: 1 direct, 2 iterative, 3 smoothed.
inline constexpr int32_t kFirstGenerationMode = 1;
inline constexpr int32_t kLastGenerationMode = 3;

/// Values of a size file refused where they are read, so that no run meshes with them.
enum class SizeFault : int32_t {
    none,
    generationMode,      ///< the DEN header asks for a generation mode outside 1..3
    progressionType,     ///< a progression neither geometric (1) nor arithmetic (2)
    progressionSize,     ///< a progression's size at its object is not positive
    progressionRatio,    ///< a geometric progression's ratio is not positive
    progressionDifference, ///< an arithmetic progression's difference is negative
    concentrationType,   ///< an object type other than 1 point, 2 axis, 3 segment
    concentrationDimension, ///< an axis or a segment given by points of dimension 3
    nodalSize,           ///< a size at a geometry point (GRD block) is not positive
};

/// Where a size file is wrong: the kind, the number of the record (the header's is 0), and
/// the value refused.
struct SizeFileFault {
    SizeFault kind = SizeFault::none;
    int32_t record = 0;  ///< progression, concentration or point number
    int32_t integer = 0; ///< the integer refused (generation mode, type)
    float real = 0.0f;   ///< the real refused (size, ratio, difference)
};

/// Prints the line that names a size-file fault: its block, its record and the value refused.
void reportSizeFault(const SizeFileFault& fault);

/// Shape and mode of the size specification, as reported by both passes.
struct SizeRecordCounts {
    int32_t refinementMode = 0;    ///< 1 default, 2 concentrations, 3 sizes at the points; 0 unknown
    int32_t generationMode = 0;    ///< how borders are cut: 1 direct, 2 iterative, 3 smoothed; -1 sizes at points
    int32_t integersPerRecord = 0; ///< integer row length
    int32_t realsPerRecord = 0;    ///< real row length
    int32_t records = 0;           ///< records the size evaluation reads
    int32_t reservedRecords = 0;   ///< rows the filling pass writes (the closing record included)
    SizeFileFault fault;           ///< the value refused when a reading fails on one (-1, no message)
};

/// Largest numbers used in each block of a density file, and the generation mode.
struct DensityFileCounts {
    int32_t points = 0;         ///< np: largest point number of GEO
    int32_t dimension = 0;      ///< ndim of GEO
    int32_t progressions = 0;   ///< ns: largest progression number of SUI
    int32_t concentrations = 0; ///< nd: largest concentration number of DEN
    int32_t generationMode = 0; ///< from the DEN header
    SizeFileFault fault;        ///< the value refused when the reading fails on one
};

/// The density file as stored by the filling read, each table indexed by record number.
struct DensityWork {
    Rows<float> points;             ///< ndim coordinates per point number
    Vec<int32_t> progressionTypes;  ///< type per progression number
    Rows<float> progressions;       ///< (size, ratio) per progression number
    Rows<int32_t> concentrations;   ///< (object type, progression, first point, second point)
};

/// Reads a density file into density records. Pass 0 counts: mode, generation mode, row
/// lengths, record count and rows to reserve; pass 1 also builds the records (the work tables
/// hold the file meanwhile). Returns 0; -1 bad data (with its message, or, for a value refused
/// in `shape.fault`, without); -2 (no message) when the record or work tables are too small.
[[nodiscard]] int iniden(int32_t pass, std::string_view name, SizeRecordCounts& shape, Vec<int32_t> integerRecords,
                         Vec<float> realRecords, Vec<int32_t> integerWork, Vec<float> realWork, int32_t verbosity);

/// One read of the density file. Pass 0 gives the largest numbers of each block in `counts`;
/// pass 1 stores every record under its number in `work`. DEN is searched after the end of SUI.
/// Every progression and concentration is checked as it is read (`counts.fault`).
/// Returns 0; -1 bad data (with its message, or, for a value refused in `counts.fault`,
/// without); -2 (no message) for a number beyond `work`.
[[nodiscard]] int litden(int32_t pass, std::string_view name, DensityFileCounts& counts, const DensityWork& work);

/// Builds density record k (an integer row of 2, a real row of 6) from concentration k.
/// Returns 0, or -1 with the message of the wrong reference, value, object type or point.
[[nodiscard]] int strden(int32_t k, const DensityWork& work, Vec<int32_t> integerRecord, Vec<float> realRecord);

} // namespace tesmo
