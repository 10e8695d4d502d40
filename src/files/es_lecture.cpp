// Free-format (list-directed) reading of numbers from block contents.
#include "files/es_lecture.hpp"

#include "files/es_util.hpp"

#include <charconv>
#include <cmath>
#include <string>

namespace tesmo {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// True when the text is a decimal integer with an optional sign and nothing else.
bool integerShape(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i])) {
            return false;
        }
    }
    return true;
}

/// Normalises a real item into `out` (exponent letter E); false when it is not a real.
bool realShape(std::string_view text, std::string& out)
{
    out.clear();
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            out.push_back('-');
        }
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        out.push_back(text[i++]);
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        out.push_back('.');
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            out.push_back(text[i++]);
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size()) {
        const char e = text[i];
        if (e == 'e' || e == 'E' || e == 'd' || e == 'D' || e == 'q' || e == 'Q') {
            ++i;
        } else if (e != '+' && e != '-') {
            return false;
        }
        out.push_back('E');
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            out.push_back(text[i++]);
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && isDigit(text[i])) {
            out.push_back(text[i++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return i == text.size();
}

/// True when a normalised real text out of the single-precision range is below its smallest
/// value rather than above its largest (the magnitude is below one).
bool belowSmallestReal(const std::string& normal)
{
    double magnitude = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), magnitude);
    return result.ec == std::errc() && std::fabs(magnitude) < 1.0;
}

int convertInteger(std::string_view text, int32_t& value)
{
    if (!integerShape(text)) {
        return kReadError;
    }
    std::size_t start = text[0] == '+' ? 1 : 0;
    int32_t parsed = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return kReadError;
    }
    value = parsed;
    return kReadOk;
}

int convertReal(std::string_view text, float& value)
{
    std::string normal;
    if (!realShape(text, normal)) {
        return kReadError;
    }
    float parsed = 0.0f;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), parsed);
    if (result.ec == std::errc::result_out_of_range && belowSmallestReal(normal)) {
        // Too small for a single-precision real: it reads as zero, as a denormal would round.
        value = normal[0] == '-' ? -0.0f : 0.0f;
        return kReadOk;
    }
    if (result.ec != std::errc() || result.ptr != normal.data() + normal.size()) {
        return kReadError;
    }
    value = parsed;
    return kReadOk;
}

} // namespace

FreeRead::FreeRead(int32_t unit) : file_(unitFile(unit))
{
    if (file_ == nullptr) {
        failed_ = kReadError;
    }
}

FreeRead::FreeRead(UnitFile* file) : file_(file)
{
    if (file_ == nullptr) {
        failed_ = kReadError;
    }
}

int FreeRead::next(std::string_view& item, bool& null)
{
    null = false;
    if (repeat_ > 0) {
        --repeat_;
        item = repeated_;
        null = repeated_.empty();
        return kReadOk;
    }
    for (;;) {
        if (!started_) {
            if (!file_->readLine(line_)) {
                return kReadEnd;
            }
            started_ = true;
            at_ = 0;
        }
        while (at_ < line_.size() && isBlank(line_[at_])) {
            ++at_;
        }
        if (at_ >= line_.size()) {
            // A line end separates like a blank: go on with the next line.
            if (!file_->readLine(line_)) {
                return kReadEnd;
            }
            at_ = 0;
            continue;
        }
        const char c = line_[at_];
        if (c == '/') {
            slash_ = true;
            null = true;
            return kReadOk;
        }
        if (c == ',') {
            ++at_;
            if (!afterValue_) {
                null = true;
                return kReadOk;
            }
            afterValue_ = false;
            continue;
        }
        std::size_t end = at_;
        while (end < line_.size() && !isBlank(line_[end]) && line_[end] != ',' && line_[end] != '/') {
            ++end;
        }
        std::string_view token = line_.substr(at_, end - at_);
        at_ = end;
        afterValue_ = true;
        const std::size_t star = token.find('*');
        if (star != std::string_view::npos) {
            int32_t count = 0;
            const std::string_view countText = token.substr(0, star);
            if (convertInteger(countText, count) != kReadOk || count < 1 || countText[0] == '+' ||
                countText[0] == '-') {
                return kReadError;
            }
            repeated_ = token.substr(star + 1);
            repeat_ = count - 1;
            item = repeated_;
            null = repeated_.empty();
            return kReadOk;
        }
        item = token;
        return kReadOk;
    }
}

template <class T, class Convert>
int FreeRead::take(T& value, Convert convert)
{
    if (failed_ != kReadOk) {
        return failed_;
    }
    if (slash_) {
        return kReadOk;
    }
    std::string_view item;
    bool null = false;
    const int status = next(item, null);
    if (status != kReadOk) {
        failed_ = status;
        return status;
    }
    if (null) {
        return kReadOk;
    }
    failed_ = convert(item, value);
    return failed_;
}

int FreeRead::integer(int32_t& value) { return take(value, convertInteger); }

int FreeRead::real(float& value) { return take(value, convertReal); }

int parseInteger(std::string_view text, int32_t& value)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    return convertInteger(text.substr(first, last - first), value);
}

int parseReal(std::string_view text, float& value)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    return convertReal(text.substr(first, last - first), value);
}

} // namespace tesmo
