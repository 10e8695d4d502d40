// File manager, block extraction, prompt reader and small text helpers.
#include "files/es_util.hpp"

#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/es_messages.hpp"

#include <cstdio>
#include <iostream>
#include <memory>
#include <sys/stat.h>

namespace tesmo {

namespace {

/// Bytes a named file being written holds before they go out to its platform file.
constexpr std::size_t kStreamPiece = std::size_t(1) << 20;

struct OpenFile {
    std::string name;
    int32_t unit = 0;
    int32_t form = 0;
    std::unique_ptr<UnitFile> file;
};

/// The open-file table, in the order of opening.
struct OpenFileTable {
    OpenFile entries[kMaxOpenFiles];
    int32_t count = 0;
};

OpenFileTable& table()
{
    static OpenFileTable instance;
    return instance;
}

std::string_view trimmed(std::string_view name) { return cutText(name); }

bool isDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool fileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

/// Reads a whole file into `content`; false when it cannot be opened.
bool readWhole(const std::string& path, std::string& content)
{
    if (isDirectory(path)) {
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    content.clear();
    char buffer[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        content.append(buffer, n);
    }
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

bool writeWhole(const std::string& path, const std::string& content)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool wrote = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    return (std::fclose(f) == 0) && wrote;
}

/// Opens the platform file behind a new unit; false when the system refuses.
bool openPlatformFile(int32_t status, const std::string& path, UnitFile& file)
{
    switch (status) {
    case kOpenNew: {
        if (path.empty() || fileExists(path)) {
            return false;
        }
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            return false;
        }
        std::fclose(f);
        return true;
    }
    case kOpenOld:
        return !path.empty() && readWhole(path, file.content);
    case kOpenUnknown: {
        if (path.empty() || isDirectory(path)) {
            return false;
        }
        if (fileExists(path)) {
            // read when first read: a writer from its start drops the old text unread
            std::FILE* f = std::fopen(path.c_str(), "rb");
            if (f == nullptr) {
                return false;
            }
            std::fclose(f);
            file.unread = true;
            return true;
        }
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            return false;
        }
        std::fclose(f);
        return true;
    }
    default:
        return false;
    }
}

int openFile(std::string_view name, int32_t status, int32_t form, int32_t& unit)
{
    OpenFileTable& t = table();
    if (t.count >= kMaxOpenFiles) {
        unit = kMaxOpenFiles;
        return kTableFull;
    }
    const std::string_view wanted = trimmed(name.substr(0, std::min<std::size_t>(name.size(), kFileNameLength)));
    for (int32_t i = 0; i < t.count; ++i) {
        if (trimmed(t.entries[i].name) == wanted) {
            unit = t.entries[i].unit;
            return t.entries[i].form == 0 ? kAlreadyOpenFormatted : kAlreadyOpenUnformatted;
        }
    }
    int32_t chosen = t.count == 0 ? 1 : t.entries[t.count - 1].unit + 1;
    if (chosen == 5) {
        chosen = 8;
    }
    auto file = std::make_unique<UnitFile>();
    std::string tableName;
    if (status == kOpenScratch) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%04d", chosen);
        tableName = std::string("TEMPORAIRE.SCRATCH.") + digits;
        file->scratch = true;
    } else if (status == kOpenNew || status == kOpenOld || status == kOpenUnknown) {
        file->path = std::string(wanted);
        if (!openPlatformFile(status, file->path, *file)) {
            return -(status + 1);
        }
        tableName = std::string(wanted);
    } else {
        return -(status + 1);
    }
    OpenFile& e = t.entries[t.count];
    e.name = std::move(tableName);
    e.unit = chosen;
    e.form = form;
    e.file = std::move(file);
    ++t.count;
    unit = chosen;
    return 0;
}

int closeFile(int32_t unit)
{
    OpenFileTable& t = table();
    int32_t at = -1;
    for (int32_t i = 0; i < t.count; ++i) {
        if (t.entries[i].unit == unit) {
            at = i;
            break;
        }
    }
    if (at < 0) {
        return kNotOpen;
    }
    UnitFile& file = *t.entries[at].file;
    if (!file.save()) {
        return kNotSaved;
    }
    for (int32_t i = at; i + 1 < t.count; ++i) {
        t.entries[i] = std::move(t.entries[i + 1]);
    }
    --t.count;
    t.entries[t.count] = OpenFile{};
    return 0;
}

/// True when the line's first non-blank characters, upper-cased, are the tag.
bool startsWithTag(std::string_view line, std::string_view tag)
{
    std::size_t first = 0;
    while (first < line.size() && line[first] == ' ') {
        ++first;
    }
    if (first >= line.size() || tag.empty() || line.size() - first < tag.size()) {
        return false;
    }
    for (std::size_t i = 0; i < tag.size(); ++i) {
        char c = line[first + i];
        if (c >= 'a' && c <= 'z') {
            c = char(c - 'a' + 'A');
        }
        if (c != tag[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

void UnitFile::load()
{
    if (unread) {
        unread = false;
        if (!readWhole(path, content)) {
            content.clear();
        }
    }
}

bool UnitFile::readLine(std::string_view& line)
{
    load();
    if (position_ >= content.size()) {
        return false;
    }
    const std::size_t end = content.find('\n', position_);
    const std::size_t stop = end == std::string::npos ? content.size() : end;
    std::size_t length = stop - position_;
    if (length > 0 && content[position_ + length - 1] == '\r') {
        --length;
    }
    line = std::string_view(content.data() + position_, length);
    position_ = end == std::string::npos ? content.size() : end + 1;
    return true;
}

void UnitFile::writeLine(std::string_view line)
{
    if (position_ == 0) {
        unread = false; // the old text, were it read, would go from here
    }
    load();
    content.resize(position_);
    content.append(line);
    content.push_back('\n');
    position_ = content.size();
    written = true;
    if (!scratch && content.size() >= kStreamPiece) {
        streamOut();
    }
}

void UnitFile::streamOut()
{
    if (stream_ == nullptr) {
        if (!streamFailed_ && !path.empty()) {
            stream_.reset(std::fopen(path.c_str(), "wb"));
        }
        if (stream_ == nullptr) {
            streamFailed_ = true;
            return; // held whole instead; the close tells whether it can be saved
        }
    }
    if (std::fwrite(content.data(), 1, content.size(), stream_.get()) != content.size()) {
        streamFailed_ = true;
    }
    streamed_ += content.size();
    content.clear();
    position_ = 0;
}

void UnitFile::rewind()
{
    load();
    if (stream_ != nullptr) {
        // the file is held whole again before it is read or written from its start
        std::string tail = std::move(content);
        streamFailed_ = std::fclose(stream_.release()) != 0 || streamFailed_;
        if (!readWhole(path, content) || content.size() != streamed_) {
            streamFailed_ = true;
        }
        content.append(tail);
        streamed_ = 0;
    }
    position_ = 0;
}

bool UnitFile::save()
{
    if (scratch || !written) {
        return true;
    }
    if (stream_ == nullptr) {
        return !streamFailed_ && writeWhole(path, content);
    }
    streamOut();
    const bool closed = std::fclose(stream_.release()) == 0;
    return closed && !streamFailed_;
}

int gesfic(std::string_view action, std::string_view name, int32_t status, int32_t form, int32_t& unit)
{
    const char letter = action.empty() ? ' ' : action[0];
    if (letter == 'O') {
        return openFile(name, status, form, unit);
    }
    if (letter == 'F') {
        return closeFile(unit);
    }
    return kUnknownAction;
}

UnitFile* unitFile(int32_t unit)
{
    OpenFileTable& t = table();
    for (int32_t i = 0; i < t.count; ++i) {
        if (t.entries[i].unit == unit) {
            return t.entries[i].file.get();
        }
    }
    return nullptr;
}

int32_t openFileCount() { return table().count; }

std::string openFileName(int32_t unit)
{
    OpenFileTable& t = table();
    for (int32_t i = 0; i < t.count; ++i) {
        if (t.entries[i].unit == unit) {
            return t.entries[i].name;
        }
    }
    return std::string();
}

int gescom(int32_t inputUnit, std::string_view beginTag, std::string_view endTag, char comment, int32_t copyUnit,
           int32_t& comments)
{
    comments = 0;
    if (copyUnit < 0 || copyUnit > kMaxOpenFiles) {
        return -1;
    }
    UnitFile* input = unitFile(inputUnit);
    UnitFile* copy = copyUnit > 0 ? unitFile(copyUnit) : nullptr;
    if (input == nullptr || (copyUnit > 0 && copy == nullptr)) {
        return -1;
    }
    std::string_view line;
    bool found = false;
    while (input->readLine(line)) {
        if (startsWithTag(line, beginTag)) {
            found = true;
            break;
        }
    }
    if (!found) {
        return -1;
    }
    while (input->readLine(line)) {
        if (!line.empty() && line[0] == comment) {
            ++comments;
            continue;
        }
        if (startsWithTag(line, endTag)) {
            return 0;
        }
        if (copy != nullptr) {
            const std::string_view cut = cutText(line);
            copy->writeLine(cut.empty() ? std::string_view(" ") : cut);
        }
    }
    return -1;
}

int fitest(std::string_view name, int32_t wanted, int32_t form)
{
    int32_t unit = 0;
    const int code = gesfic("O", name, kOpenOld, form, unit);
    if (wanted == 1) {
        if (code != 0) {
            return -1;
        }
        (void)gesfic("F", name, 0, form, unit);
        return 0;
    }
    const int answer = code == kRefusedOld ? 0 : -1;
    if (code == 0) {
        (void)gesfic("F", name, 0, form, unit);
    }
    return answer;
}

bool eslcha(int32_t device, std::string_view prompt, std::string& answer, int32_t length)
{
    if (device == 2 || device == 3) {
        eserre(kConsoleDevice, kNotAvailable, " ", "NON ENCORE IMPLEMENTE");
        return false;
    }
    if (device != kConsoleDevice) {
        return false;
    }
    if (eslgch(prompt) > 0) {
        esecha(device, prompt, " ");
    }
    consoleFlush();
    std::string line;
    if (!std::getline(std::cin, line)) {
        esReport(kDataError, esmsg::kNotString, esmsg::kNone, prompt);
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (length >= 0 && int32_t(line.size()) > length) {
        line.resize(std::size_t(length));
    }
    answer = line;
    return true;
}

void majusc(int32_t count, std::string& text)
{
    const std::size_t n = std::min<std::size_t>(count > 0 ? std::size_t(count) : 0, text.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z') {
            text[i] = char(text[i] - 'a' + 'A');
        }
    }
}

int32_t lenchr(std::string_view text, int32_t length)
{
    if (length <= 0) {
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(std::size_t(length), text.size());
    for (std::size_t i = n; i > 0; --i) {
        if (text[i - 1] != ' ') {
            return int32_t(i);
        }
    }
    return 1;
}

void vdchar(int32_t direction, int32_t count, const std::string* source, std::string* destination)
{
    if (count <= 0) {
        return;
    }
    if (direction == -1) {
        for (int32_t i = count - 1; i >= 0; --i) {
            const std::size_t width = destination[i].size();
            destination[i] = source[i];
            if (width > 0) {
                destination[i].resize(width, ' ');
            }
        }
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        const std::size_t width = destination[i].size();
        destination[i] = source[i];
        if (width > 0) {
            destination[i].resize(width, ' ');
        }
    }
}

void vdenti(int32_t direction, int32_t count, const int32_t* source, int32_t* destination)
{
    if (count <= 0) {
        return;
    }
    if (direction == -1) {
        for (int32_t i = count - 1; i >= 0; --i) {
            destination[i] = source[i];
        }
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        destination[i] = source[i];
    }
}

} // namespace tesmo
