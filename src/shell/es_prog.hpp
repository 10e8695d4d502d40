#pragma once
// Command-line processing: the mode word, the banner, and the gathering, conversion and
// checking of the program's parameters, from the command line or asked on the console.
//
// A parameter is described by a type (`itypel`), a required flag (`ioptio`) and a prompt.
// Its text is first gathered into one buffer of 256 characters, then converted to its kind
// (text, integer or real) and stored in the table of that kind, in parameter order.
#include "support/tables.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmo {

inline constexpr int32_t kMaxParameters = 50;      ///< most parameters an application may declare
inline constexpr int32_t kParameterBuffer = 256;   ///< characters of the raw parameter buffer
inline constexpr int32_t kParameterReserve = 32;   ///< room a parameter needs left in the buffer
inline constexpr int32_t kParameterTextLength = 80; ///< width of a text value (a file name)

/// Parameter types (`itypel`).
inline constexpr int32_t kInputFile = 1;      ///< name of an input file that must exist
inline constexpr int32_t kNewOutputFile = 2;  ///< name of an output file that must not exist yet
inline constexpr int32_t kIntegerValue = 3;   ///< an integer
inline constexpr int32_t kRealValue = 4;      ///< a real
inline constexpr int32_t kKeyword = 5;        ///< a keyword of the keyword list
inline constexpr int32_t kOutputFile = 6;     ///< name of an output file, not checked
inline constexpr int32_t kInputFileToo = 7;   ///< as kInputFile

/// Kinds of values, as given by `esform`.
inline constexpr int32_t kTextKind = 1;
inline constexpr int32_t kIntegerKind = 2;
inline constexpr int32_t kRealKind = 3;

/// Presence flags of a parameter.
inline constexpr int32_t kGiven = 1;          ///< given and converted
inline constexpr int32_t kNotConverted = 0;   ///< given but not convertible
inline constexpr int32_t kAbsent = -1;        ///< absent (empty, or "-" on the command line)

/// One declared parameter.
struct ParameterSpec {
    int32_t itypel = 0;   ///< type of the parameter (kInputFile...)
    int32_t ioptio = 0;   ///< 1 the parameter must be given, 0 optional
    std::string prompt;   ///< shown when it is asked for on the console
};

/// One keyword of the keyword list (`mots`) with its code (`icodes`).
struct Keyword {
    std::string_view mot;
    int32_t icode = -1;
};

/// The tables `esprog` fills. Each table's count is its capacity; the *Count members tell
/// how many entries were filled. `index(k)` is the entry of parameter k within the table of
/// its kind (keywords: the integer table), `presence(k)` its presence flag.
struct ParameterValues {
    Vec<std::string> texts;
    Vec<int32_t> integers;
    Vec<float> reals;
    Vec<int32_t> index;
    Vec<int32_t> presence;
    int32_t textCount = 0;
    int32_t integerCount = 0;
    int32_t realCount = 0;
};

/// The raw parameter texts, one after another in one buffer, each followed by a blank.
struct ParameterBuffer {
    std::string text = std::string(std::size_t(kParameterBuffer), ' ');
    int32_t start[kMaxParameters] = {};  ///< 1-based start of each parameter in `text`
    int32_t length[kMaxParameters] = {}; ///< its length without trailing blanks (0: absent)
    int32_t position = 1;                ///< next free position
    /// The text of parameter k (0-based), `length[k]` characters.
    std::string_view parameter(int32_t k) const;
};

/// The command-line arguments after the program name; argument 1 is the mode word.
using Arguments = Vec<const std::string_view>;

/// Reads the mode word: `mode` 0 silent, 1 verbose, 2 debug; `help` 1 when help is asked
/// for. Stores the mode in `modees` unless there is no argument or help is asked for.
void espmod(Arguments arguments, int32_t& mode, int32_t& help);

/// Prints the banner: the name and the release, the date line when the date (yyyymmdd) is
/// positive, the contact line when the contact text does not start with a blank.
void eseprg(int32_t device, std::string_view name, float release, std::string_view owner, int32_t date,
            std::string_view contact);

/// Gathers the parameters from the command line, or asks for all of them on the console
/// when none is given, converts them and checks the files. Returns 0; -1 (too many
/// parameters given, a text too long for its field, a required parameter missing, a file
/// check failed, an unknown type); -2 (more than 50 declared, the 256-character buffer or a
/// result table full).
[[nodiscard]] int esprog(Arguments arguments, Vec<const ParameterSpec> parameters, Vec<const Keyword> keywords,
                         ParameterValues& values);

/// Copies the parameters of the command line into the buffer; `found` is how many were
/// given. Returns 0; -1 more given than declared; -2 the buffer is full.
[[nodiscard]] int esgarg(Arguments arguments, int32_t declared, ParameterBuffer& buffer, int32_t& found);

/// Asks for every parameter on the console, in order, and reads the answers into the buffer.
/// End of input prints "not a string :" and the prompt and leaves the parameter empty.
/// Returns 0, or -2 when the buffer is full.
[[nodiscard]] int eslarg(Vec<const ParameterSpec> parameters, ParameterBuffer& buffer);

/// Converts every parameter to its kind and checks that required ones are present.
/// Returns 0; -1 unknown type, a text longer than its field, a required parameter missing;
/// -2 a result table is full.
[[nodiscard]] int esplex(Vec<const ParameterSpec> parameters, Vec<const Keyword> keywords,
                         const ParameterBuffer& buffer, ParameterValues& values);

/// The kind of a parameter type (kTextKind, kIntegerKind, kRealKind). Returns 0, or -1 for
/// an unknown type.
[[nodiscard]] int esform(int32_t type, int32_t& kind);

/// Converts one parameter text of the given kind into the next entry of its table and sets
/// its index and presence flag. Returns 0; -1 a text longer than its 80-character field
/// (reported with the prompt); -2 the table of its kind is full.
[[nodiscard]] int esconv(int32_t kind, std::string_view text, std::string_view prompt, ParameterValues& values,
                         int32_t& index, int32_t& presence);

/// The code of the first keyword the text starts with (compared upper-cased, each keyword
/// up to its first blank), or -1 when none matches.
int32_t esamot(std::string_view text, Vec<const Keyword> keywords);

/// Checks the file of a parameter of the given type: types 1 and 7 must exist and open,
/// type 2 must not exist. Returns 0, or -1 after printing the message with the name.
[[nodiscard]] int espexf(int32_t type, std::string_view name);

} // namespace tesmo
