#pragma once
// The file manager, block extraction and the small text and table helpers shared by every
// reader and writer of data files.
//
// Files are known by unit numbers handed out by `gesfic`: a new file gets the unit of the
// last open file plus one (1 for the first), skipping 5, 6 and 7. At most 25 files are open.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tesmo {

inline constexpr int32_t kMaxOpenFiles = 25;   ///< open-file table capacity
inline constexpr int32_t kFileNameLength = 256; ///< width of a name in the open-file table

/// Open request statuses of `gesfic`.
inline constexpr int32_t kOpenNew = 0;     ///< the file must not exist
inline constexpr int32_t kOpenOld = 1;     ///< the file must exist
inline constexpr int32_t kOpenScratch = 2; ///< a temporary file, deleted when closed
inline constexpr int32_t kOpenUnknown = 3; ///< created if missing, else opened with its content kept

/// Answers of `gesfic` besides 0 (done).
inline constexpr int kAlreadyOpenFormatted = 1;   ///< open: the file is open already, formatted
inline constexpr int kAlreadyOpenUnformatted = 2; ///< open: the file is open already, unformatted
inline constexpr int kRefusedNew = -1;            ///< open as new refused (the file exists)
inline constexpr int kRefusedOld = -2;            ///< open as old refused (no such file)
inline constexpr int kTableFull = -3;             ///< open: 25 files are open already
inline constexpr int kNotOpen = -4;               ///< close: no file is open under the unit
inline constexpr int kNotSaved = -5;              ///< close: the file could not be written back
inline constexpr int kUnknownAction = -6;         ///< the action is neither "O" nor "F"

/// An open unit: a text held in memory with a line position. Named files are read whole
/// when opened and written back when closed; writing after a rewind ends the file there.
class UnitFile {
public:
    /// The next line (without its line break); false at the end of the file.
    bool readLine(std::string_view& line);
    /// Writes one line at the current position; whatever followed it is dropped.
    void writeLine(std::string_view line);
    /// Back to the first line.
    void rewind();
    /// Writes what is held to the platform file (named files); false when it cannot be saved.
    bool save();

    std::string content;
    std::size_t position_ = 0;
    bool written = false;
    bool scratch = false;
    std::string path;
    /// An existing file opened to be read or written: its text is read when first needed.
    bool unread = false;

private:
    /// Reads the file's text when it has not been read yet.
    void load();
    /// A named file written line after line from its start goes out to its platform file in
    /// pieces, so that a large mesh is not held whole in memory; `content` then holds only
    /// what follows the `streamed` bytes already out.
    void streamOut();
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> stream_;
    std::size_t streamed_ = 0;
    bool streamFailed_ = false;
};

/// Opens ("O") or closes ("F") a file. Open: unit out; codes 0, kAlreadyOpenFormatted or
/// kAlreadyOpenUnformatted, kTableFull (unit 25), or -(status + 1) when the request is refused
/// (kRefusedNew, kRefusedOld, -3 scratch, -4 unknown). Close: unit in; kNotOpen, kNotSaved.
/// Other action: kUnknownAction.
[[nodiscard]] int gesfic(std::string_view action, std::string_view name, int32_t status, int32_t form,
                         int32_t& unit);
/// The open unit, or nullptr when no such unit is open.
UnitFile* unitFile(int32_t unit);
/// Number of files open now.
int32_t openFileCount();
/// The name of the file open under `unit` in the open-file table (blank when none).
std::string openFileName(int32_t unit);

/// Copies the content of the first block between `beginTag` and `endTag` of the input unit,
/// without comment lines, to the copy unit (0: no copy). Gives the number of comment lines.
/// Returns 0, or -1 when the copy unit is outside 0..25 or a tag is missing.
[[nodiscard]] int gescom(int32_t inputUnit, std::string_view beginTag, std::string_view endTag, char comment,
                         int32_t copyUnit, int32_t& comments);

/// 0 when the file is as wanted (wanted 1: it exists and can be opened; 0: it does not
/// exist), -1 otherwise.
int fitest(std::string_view name, int32_t wanted, int32_t form);

/// Prints the prompt (when not blank) and reads one line of standard input into `answer`,
/// cut to `length` characters. At end of input "not a string :" is printed and the answer
/// keeps its previous content. Returns false when nothing could be read.
bool eslcha(int32_t device, std::string_view prompt, std::string& answer, int32_t length);

/// Upper-cases the first `count` characters of the text (letters a to z only).
void majusc(int32_t count, std::string& text);
/// Position of the last non-blank character; 1 for an all-blank text; 0 when length <= 0.
int32_t lenchr(std::string_view text, int32_t length);
/// Copies `count` texts; direction -1 copies from the last entry down to the first.
void vdchar(int32_t direction, int32_t count, const std::string* source, std::string* destination);
/// Copies `count` integers; direction -1 copies from the last entry down to the first.
void vdenti(int32_t direction, int32_t count, const int32_t* source, int32_t* destination);

} // namespace tesmo
