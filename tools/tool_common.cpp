// Command line, failure reports, progress line and file output of the subcommands.
#include "tool_common.hpp"

#include <cstdio>
#include <iostream>

namespace tesmo::tools {

namespace {

/// Seconds of work after which the progress line appears, and between two redraws.
inline constexpr double kProgressDelay = 1.0;
inline constexpr double kProgressRedraw = 0.25;
/// The clock is read once every this many updates.
inline constexpr int64_t kProgressStride = 4096;

/// Stores the value of an option that takes one; "" or what is wrong.
std::string takeValue(const std::vector<std::string>& words, std::size_t& i, std::string& value)
{
    const std::string& option = words[i];
    if (i + 1 >= words.size() || words[i + 1].empty()) {
        return "the option " + option + " needs a file name";
    }
    if (!value.empty()) {
        return "the option " + option + " is given twice";
    }
    value = words[++i];
    return "";
}

} // namespace

std::string parseCommandLine(const std::vector<std::string>& words, const OptionSet& accepted, CommandLine& line)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            line.help = true;
        } else if (word == "-o" && accepted.output) {
            if (std::string why = takeValue(words, i, line.output); !why.empty()) {
                return why;
            }
        } else if (word == "--sizes" && accepted.sizes) {
            if (std::string why = takeValue(words, i, line.sizes); !why.empty()) {
                return why;
            }
        } else if (word == "--geometry" && accepted.geometry) {
            if (std::string why = takeValue(words, i, line.geometry); !why.empty()) {
                return why;
            }
        } else if (word == "--json" && accepted.json) {
            line.json = true;
        } else if (word.size() > 1 && word[0] == '-') {
            return "unknown option '" + word + "'";
        } else {
            line.positional.push_back(word);
        }
    }
    return "";
}

int fail(std::string_view command, int status, std::string_view text)
{
    std::cerr << "tesmo-tools " << command << ": " << text << '\n';
    return status;
}

int usageError(std::string_view command, std::string_view text)
{
    std::cerr << "tesmo-tools " << command << ": " << text << "\n"
              << "Try 'tesmo-tools " << command << " --help'.\n";
    return kExitUsage;
}

std::string writeTextFile(const std::string& path, std::string_view text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return "cannot create the file " + path;
    }
    const bool wrote = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !wrote) {
        return "cannot write the file " + path;
    }
    return "";
}

Progress::Progress(std::string what) : what_(std::move(what)), start_(std::chrono::steady_clock::now()) {}

double Progress::elapsed() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void Progress::update(int64_t done, int64_t total)
{
    if (++calls_ % kProgressStride != 0) {
        return;
    }
    const double seconds = elapsed();
    if (seconds < kProgressDelay || (shownAt_ >= 0.0 && seconds - shownAt_ < kProgressRedraw)) {
        return;
    }
    shownAt_ = seconds;
    const int percent = total > 0 ? int(done * 100 / total) : 0;
    std::fprintf(stderr, "\rtesmo-tools: %s: %3d%%", what_.c_str(), percent);
    std::fflush(stderr);
}

void Progress::finish()
{
    const double seconds = elapsed();
    if (shownAt_ < 0.0 && seconds < kProgressDelay) {
        return;
    }
    std::fprintf(stderr, "%stesmo-tools: %s: done in %.1f s\n", shownAt_ >= 0.0 ? "\r" : "", what_.c_str(), seconds);
    shownAt_ = -1.0;
    start_ = std::chrono::steady_clock::now();
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.resize(dot);
    }
    return name;
}

} // namespace tesmo::tools
