#pragma once
// The mesh-size specification: none (the default), a density file, or a nodal-values file
// giving one size per geometry point.
#include "files/es_densite.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

/// Kinds of size file found by `tyfide`.
inline constexpr int32_t kDensityFile = 1;
inline constexpr int32_t kNodalValuesFile = 2;
inline constexpr int32_t kUnknownSizeFile = -1;

/// Reads the size specification named (blank: the default). Pass 0 reports its shape in `shape`,
/// pass 1 also builds the records (the integer and real record tables hold
/// `shape.reservedRecords` rows). The work tables are the reader's scratch space.
/// Returns 0; -1 bad data or a file of neither kind (mode 0), or a value refused, told in
/// `shape.fault` and not printed; -2 tables too small; the file manager's code (-2) when the
/// file cannot be opened.
[[nodiscard]] int litraf(int32_t pass, std::string_view name, SizeRecordCounts& shape, Vec<int32_t> integerRecords,
                         Vec<float> realRecords, Vec<int32_t> integerWork, Vec<float> realWork, int32_t verbosity);

/// How many records the size file named gives (blank: the default, one), told quietly from its
/// kind and, for a density file, the concentration count of its DEN header; a density file
/// without concentration gives none. Returns 0, or -1 when that cannot be told (nothing printed).
[[nodiscard]] int sizeFileRecords(std::string_view name, int32_t& records);

/// Kind of a size file: 1 density (a GEO block), 2 nodal values (a GRD block), -1 neither.
/// Returns 0; -1 for neither kind; the file manager's code when the file cannot be opened.
[[nodiscard]] int tyfide(std::string_view name, int32_t& kind);

/// The default size description: generation mode 1, one record of a geometric progression of
/// ratio 1.1. Returns 0, or -2 when the tables cannot hold one record (nothing is written).
[[nodiscard]] int defden(SizeRecordCounts& shape, Vec<int32_t> integerRecords, Vec<float> realRecords);

/// Reads a nodal-values file of one value per node as sizes at the geometry points: one record
/// of n reals. Returns 0; -1 bad data or more than one value per node, or a size that is not
/// positive (pass 1, told in `shape.fault`, not printed); -2 table too small.
[[nodiscard]] int littsn(int32_t pass, std::string_view name, SizeRecordCounts& shape, Vec<float> realRecords);

} // namespace tesmo
