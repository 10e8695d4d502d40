#pragma once
// Shared helpers of the data-file tests: a fresh working directory per test, files written
// and read back, and the console lines of the package's reports.
#include "files/es_util.hpp"
#include "support/codes.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace tesmo::testfiles {

/// Runs each test in a fresh directory of its own under the test temporary directory, so that
/// file names stay short; checks at the end that no file was left open.
class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        previous_ = std::filesystem::current_path();
        directory_ = std::filesystem::path(::testing::TempDir()) / "tesmo_files" /
                     (std::string(info->test_suite_name()) + "." + info->name());
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
        std::filesystem::current_path(directory_);
        openBefore_ = openFileCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(openFileCount(), openBefore_) << "a unit was left open";
        std::filesystem::current_path(previous_);
    }
    static void write(const std::string& name, std::string_view text)
    {
        std::ofstream out(name, std::ios::binary);
        out << text;
    }
    static std::string read(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path directory_;
    int32_t openBefore_ = 0;
};

/// The console line of a report: heading, two blanks, message, then the text right after it.
inline std::string report(std::string_view heading, std::string_view message, std::string_view tail = "")
{
    return " " + std::string(heading) + "  " + std::string(message) + std::string(tail) + "\n";
}

/// The console line of a report followed by an integer.
inline std::string report(std::string_view heading, std::string_view message, int32_t value)
{
    return " " + std::string(heading) + "  " + std::string(message) + " " + std::to_string(value) + "\n";
}

inline std::string dataError(std::string_view message, std::string_view tail = "")
{
    return report("DATA ERROR", message, tail);
}
inline std::string dataError(std::string_view message, int32_t value) { return report("DATA ERROR", message, value); }

} // namespace tesmo::testfiles
