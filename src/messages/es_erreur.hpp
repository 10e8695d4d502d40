#pragma once
// Message composition from the two catalogues, the developer traces and the verbosity settings.
//
// Message types: 0 and below are errors or warnings whose heading is chosen by the type
// (0 WARNING, -1 DATA ERROR, -2 COMPUTER ERROR, -3 NOT YET POSSIBLE); 1 is the help text;
// 2 to 99 compose nothing; 100 and above are information lines.
#include "support/codes.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmo {

/// Verbosity of the data-file and command-line routines (0 silent, 1 verbose, 2 debug).
extern int32_t modees;
/// Verbosity of the mesher routines (0 silent, 1 verbose, 2 debug).
extern int32_t modini;

inline constexpr int32_t kConsoleDevice = 1; ///< standard output
inline constexpr int32_t kInfoMessage = 101; ///< message type of information lines
inline constexpr int32_t kWarningMessage = 0; ///< message type of warnings
inline constexpr int32_t kHelpText = 1;      ///< message type of the help text

/// Stores the verbosity level in `modees`.
void esinit(int32_t level);

/// Composes a message of the program catalogue into `text` (its size is the field length).
void pgmess(int32_t type, int32_t first, int32_t second, std::string_view french, std::string& text);
/// Composes a message of the data-file package catalogue into `text`.
void esmess(int32_t type, int32_t first, int32_t second, std::string_view french, std::string& text);

/// The package's developer trace, printed when `modees` is 2 or more.
void eserre(int32_t device, int32_t code, std::string_view routine, std::string_view text);
/// The mesher's developer trace, printed when `modini` is 2 or more.
void mgerre(int32_t device, int32_t code, std::string_view routine, std::string_view text);

/// Prints the mesher's developer trace on the console and hands the code back, so that a
/// failing branch reads `return traced(kDataError, "GTAILL", "UN POLYGONE DANS L ESPACE");`.
[[nodiscard]] inline int traced(int code, std::string_view routine, std::string_view text)
{
    mgerre(kConsoleDevice, code, routine, text);
    return code;
}

/// The package's twin of `traced`.
[[nodiscard]] inline int estraced(int code, std::string_view routine, std::string_view text)
{
    eserre(kConsoleDevice, code, routine, text);
    return code;
}

/// Package message of `type` with entries `first` and `second`, printed followed by a text.
void esReport(int32_t type, int32_t first, int32_t second, std::string_view tail);
/// Package message followed by one integer.
void esReportInt(int32_t type, int32_t first, int32_t second, int32_t value);
/// Package message followed by one real.
void esReportReal(int32_t type, int32_t first, int32_t second, float value);
/// Program message of `type` with entries `first` and `second`, printed followed by a text.
void pgReport(int32_t type, int32_t first, int32_t second, std::string_view tail);
/// Program message followed by one integer.
void pgReportInt(int32_t type, int32_t first, int32_t second, int32_t value);
/// A warning in the form of the program's, followed by one integer, whose text is not in the
/// catalogue (a report of our own, composed as an entry of it would be).
void pgWarningInt(std::string_view text, int32_t value);

} // namespace tesmo
