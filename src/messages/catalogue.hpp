#pragma once
// The two read-only message catalogues: the program's and the data-file package's.
#include <cstdint>
#include <string_view>

namespace tesmo {

inline constexpr int32_t kCatalogueField = 63; ///< width of one catalogue entry
inline constexpr int32_t kHelpLength = 512;    ///< width of the help text

/// One catalogue: the help text, the error entries, the four headings and the messages.
struct Catalogue {
    std::string_view helponline;
    const std::string_view* errmess;
    int32_t errmessCount;
    const std::string_view* messtype;
    const std::string_view* messages;
    int32_t messagesCount;
};

/// The program catalogue (used by the main program and the mesher).
const Catalogue& programCatalogue();
/// The data-file package catalogue (used by the command-line and data-file routines).
const Catalogue& packageCatalogue();

} // namespace tesmo
