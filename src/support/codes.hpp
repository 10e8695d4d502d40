#pragma once
// Error codes shared by every routine: 0 success, negative failures, positive statuses.
#include <cstdint>

namespace tesmo {

inline constexpr int kOk = 0;             ///< success
inline constexpr int kDataError = -1;     ///< the input is wrong or incomplete
inline constexpr int kCapacityError = -2; ///< a table or work area is too small
inline constexpr int kNotAvailable = -3;  ///< a case the system does not handle

inline constexpr int kMaxNodesReached = 1;    ///< status: the maximum number of nodes was reached
inline constexpr int kMaxElementsReached = 2; ///< status: the maximum number of elements was reached

/// Which work array ran short when a routine returned kCapacityError, for the report that
/// names it ("for integers" or "for reals").
enum class WorkShortage { none, integers, reals };

} // namespace tesmo
