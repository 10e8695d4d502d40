#pragma once
// Console line output in the free-format output form, shared with the data-file writers.
//
// A record is a sequence of items: text items are written unchanged (the first item of a
// line gets one leading blank), integers and reals are each preceded by one blank, reals
// take the "%.9G" form with a decimal point always present. An item that would reach
// column 80 starts a new line.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tesmo {

inline constexpr int32_t kRecordColumns = 80; ///< an item reaching this column starts a new line

/// Builds free-format records into a text buffer; `finish` ends the current record.
class FreeFormatWriter {
public:
    explicit FreeFormatWriter(std::string& out) : out_(out) {}
    /// A text item, written as given (callers cut trailing blanks themselves).
    void text(std::string_view item);
    /// An integer item: a blank, a minus sign if negative, the digits.
    void integer(int32_t value);
    /// A real item: a blank, a minus sign if negative, "%.9G" of the magnitude with a point.
    void real(float value);
    /// Ends the record with a line break.
    void finish();

private:
    void place(std::string_view item, bool leadingBlank);
    std::string& out_;
    int32_t column_ = 0;
};

/// The magnitude of a real as written in free format: "%.9G", a decimal point always present.
std::string formatReal(float value);

/// Position of the last non-blank character of a text, 0 when it is all blank.
int32_t eslgch(std::string_view text);
/// Same as eslgch (the mesher's twin).
int32_t imglen(std::string_view text);
/// The text cut after its last non-blank character.
std::string_view cutText(std::string_view text);

/// Sends finished console text to standard output, or to a capture buffer in tests.
void consoleWrite(std::string_view text);
/// Flushes the console.
void consoleFlush();

/// While alive, console output is collected into a string instead of standard output.
class ConsoleCapture {
public:
    ConsoleCapture();
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;
    const std::string& text() const { return text_; }

private:
    std::string text_;
    std::string* previous_;
};

/// While alive, the console text is recorded as it goes out. A run made again after an
/// abandoned one hands the abandoned run's record to its own: its text is then swallowed as
/// long as it repeats what was already printed, and goes out from where it first differs.
class ConsoleRecord {
public:
    explicit ConsoleRecord(std::string printed);
    ~ConsoleRecord();
    ConsoleRecord(const ConsoleRecord&) = delete;
    ConsoleRecord& operator=(const ConsoleRecord&) = delete;
    /// The whole console text of this run, the swallowed part included.
    const std::string& text() const { return text_; }
    /// Sends `text` out unless it repeats the former run's text at this point.
    void write(std::string_view text);

private:
    std::string printed_;
    std::size_t matched_ = 0;
    bool differs_ = false;
    std::string text_;
    ConsoleRecord* previous_;
};

/// Prints one line made of two texts, each cut after its last non-blank character.
void esecha(int32_t device, std::string_view first, std::string_view second);
/// Prints one line made of a text followed by `count` integers.
void eseint(int32_t device, std::string_view text, const int32_t* values, int32_t count);
/// Prints one line made of a text followed by `count` reals.
void eserea(int32_t device, std::string_view text, const float* values, int32_t count);
/// The mesher's twin of esecha.
void mgchai(int32_t device, std::string_view first, std::string_view second);

} // namespace tesmo
