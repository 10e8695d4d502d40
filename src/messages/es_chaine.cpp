// Free-format output form and the console line routines built on it.
#include "messages/es_chaine.hpp"

#include "messages/es_erreur.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

namespace tesmo {

namespace {

std::string* gCapture = nullptr;

constexpr int32_t kConsole = 1;

bool reservedDevice(int32_t device) { return device == 2 || device == 3; }

} // namespace

void FreeFormatWriter::place(std::string_view item, bool leadingBlank)
{
    const int32_t length = int32_t(item.size()) + (leadingBlank ? 1 : 0);
    if (column_ > 0 && column_ + length >= kRecordColumns) {
        out_.push_back('\n');
        column_ = 0;
    }
    if (leadingBlank) {
        out_.push_back(' ');
    }
    out_.append(item);
    column_ += length;
}

void FreeFormatWriter::text(std::string_view item)
{
    if (item.empty()) {
        return;
    }
    if (column_ == 0) {
        place(item, true);
        return;
    }
    // A text item after other items follows them back to back; it may still start a line.
    if (column_ + int32_t(item.size()) >= kRecordColumns) {
        out_.push_back('\n');
        column_ = 0;
        place(item, true);
        return;
    }
    place(item, false);
}

void FreeFormatWriter::integer(int32_t value)
{
    char buffer[16];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    place(std::string_view(buffer, std::size_t(written.ptr - buffer)), true);
}

void FreeFormatWriter::real(float value)
{
    std::string item;
    if (value < 0.0f) {
        item.push_back('-');
        item += formatReal(-value);
    } else {
        item += formatReal(value);
    }
    place(item, true);
}

void FreeFormatWriter::finish()
{
    out_.push_back('\n');
    column_ = 0;
}

std::string formatReal(float value)
{
    if (value == 0.0f) {
        return "0.";
    }
    // the "%.9G" conversion: to_chars in the general style with 9 digits is printf's "%.9g"
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, double(value), std::chars_format::general, 9);
    std::string text(buffer, std::size_t(written.ptr - buffer));
    for (char& c : text) {
        c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    if (text.find('.') == std::string::npos) {
        const auto exponent = text.find('E');
        if (exponent == std::string::npos) {
            text.push_back('.');
        } else {
            text.insert(exponent, 1, '.');
        }
    }
    return text;
}

int32_t eslgch(std::string_view text)
{
    for (std::size_t i = text.size(); i > 0; --i) {
        if (text[i - 1] != ' ') {
            return int32_t(i);
        }
    }
    return 0;
}

int32_t imglen(std::string_view text) { return eslgch(text); }

std::string_view cutText(std::string_view text) { return text.substr(0, std::size_t(eslgch(text))); }

namespace {

/// Text to the capture buffer or to standard output.
void emit(std::string_view text)
{
    if (gCapture != nullptr) {
        gCapture->append(text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
}

ConsoleRecord* gRecord = nullptr;

} // namespace

void consoleWrite(std::string_view text)
{
    if (gRecord != nullptr) {
        gRecord->write(text);
        return;
    }
    emit(text);
}

ConsoleRecord::ConsoleRecord(std::string printed) : printed_(std::move(printed)), previous_(gRecord)
{
    gRecord = this;
}

ConsoleRecord::~ConsoleRecord() { gRecord = previous_; }

void ConsoleRecord::write(std::string_view text)
{
    text_.append(text);
    if (!differs_) {
        const std::string_view before = std::string_view(printed_).substr(std::min(matched_, printed_.size()));
        if (before.substr(0, text.size()) == text) {
            matched_ += text.size();
            return;
        }
        // from here on the text is new; the whole piece goes out, so lines stay whole
        differs_ = true;
    }
    emit(text);
}

void consoleFlush()
{
    if (gCapture == nullptr) {
        std::fflush(stdout);
    }
}

ConsoleCapture::ConsoleCapture() : previous_(gCapture) { gCapture = &text_; }

ConsoleCapture::~ConsoleCapture() { gCapture = previous_; }

namespace {

/// Writes one console record built by `fill`, on device 1 only; devices 2 and 3 are
/// reserved and raise the package trace.
template <class Fill>
void printRecord(int32_t device, Fill fill)
{
    if (reservedDevice(device)) {
        eserre(kConsole, kNotAvailable, " ", "NON ENCORE IMPLEMENTE");
        return;
    }
    if (device != kConsole) {
        return;
    }
    std::string line;
    FreeFormatWriter writer(line);
    fill(writer);
    if (line.empty()) {
        line.push_back(' ');
    }
    writer.finish();
    consoleWrite(line);
}

} // namespace

void esecha(int32_t device, std::string_view first, std::string_view second)
{
    printRecord(device, [&](FreeFormatWriter& writer) {
        writer.text(cutText(first));
        writer.text(cutText(second));
    });
}

void eseint(int32_t device, std::string_view text, const int32_t* values, int32_t count)
{
    printRecord(device, [&](FreeFormatWriter& writer) {
        writer.text(cutText(text));
        for (int32_t i = 0; i < count; ++i) {
            writer.integer(values[i]);
        }
    });
}

void eserea(int32_t device, std::string_view text, const float* values, int32_t count)
{
    printRecord(device, [&](FreeFormatWriter& writer) {
        writer.text(cutText(text));
        for (int32_t i = 0; i < count; ++i) {
            writer.real(values[i]);
        }
    });
}

void mgchai(int32_t device, std::string_view first, std::string_view second)
{
    if (reservedDevice(device)) {
        printRecord(kConsole, [](FreeFormatWriter& writer) { writer.text("NON ENCORE IMPLEMENTE"); });
        return;
    }
    esecha(device, first, second);
}

} // namespace tesmo
