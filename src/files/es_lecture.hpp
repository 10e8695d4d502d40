#pragma once
// Free-format reading of block contents.
//
// A read request starts on a new line and takes as many lines as it needs; the rest of the
// last line used is dropped when the next request starts. Items are separated by blanks,
// commas or line ends. `r*v` stands for r copies of v; an empty item between two commas, or
// `r*` alone, leaves its targets unchanged; a `/` leaves every remaining item of the request
// unchanged. Integers must be written without a point or an exponent.
#include <cstdint>
#include <string_view>

namespace tesmo {

class UnitFile;

inline constexpr int kReadOk = 0;    ///< the item was read (or left unchanged by a null value)
inline constexpr int kReadEnd = 1;   ///< the data ran out before the request was satisfied
inline constexpr int kReadError = 2; ///< the item is not a number of the wanted kind

/// One free-format read request on an open unit. Pull items in order with `integer` and
/// `real`; the first non-zero answer ends the request (later pulls repeat it).
class FreeRead {
public:
    /// A request on the unit; a unit that is not open answers kReadError.
    explicit FreeRead(int32_t unit);
    /// A request on a text held in memory (one line per line break).
    explicit FreeRead(UnitFile* file);
    [[nodiscard]] int integer(int32_t& value);
    [[nodiscard]] int real(float& value);

private:
    /// Takes the next item and converts it into `value` unless it is a null value.
    template <class T, class Convert>
    int take(T& value, Convert convert);
    /// Finds the next item; answers kReadOk with `item` set, or a status.
    int next(std::string_view& item, bool& null);
    UnitFile* file_;
    std::string_view line_;
    std::size_t at_ = 0;
    bool started_ = false;
    bool slash_ = false;
    int failed_ = kReadOk;
    int32_t repeat_ = 0;          // copies still to hand out of the current r*v item
    std::string_view repeated_;   // the v of the current r*v item (empty: null value)
    bool afterValue_ = false;     // a value was taken since the last comma
};

/// Reads a whole text as one integer item (the command line's integer parameter).
/// Answers kReadOk, or kReadError when the text is not exactly one integer.
int parseInteger(std::string_view text, int32_t& value);
/// Reads a whole text as one real item.
int parseReal(std::string_view text, float& value);

} // namespace tesmo
