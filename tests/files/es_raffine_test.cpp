#include "files/es_raffine.hpp"

#include "support/files_test_support.hpp"
#include "messages/es_chaine.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace tesmo {
namespace {

using testfiles::dataError;

/// Record and work tables of a size-specification reading.
struct SizeFile {
    SizeRecordCounts shape;
    std::vector<int32_t> integers = std::vector<int32_t>(12, -7);
    std::vector<float> reals = std::vector<float>(12, -7.0f);
    std::vector<int32_t> integerWork = std::vector<int32_t>(50, -7);
    std::vector<float> realWork = std::vector<float>(50, -7.0f);
    int read(int32_t pass, const std::string& name, int32_t verbosity = 0)
    {
        return litraf(pass, name, shape, Vec<int32_t>(integers.data(), int32_t(integers.size())),
                      Vec<float>(reals.data(), int32_t(reals.size())),
                      Vec<int32_t>(integerWork.data(), int32_t(integerWork.size())),
                      Vec<float>(realWork.data(), int32_t(realWork.size())), verbosity);
    }
};

const char* const kDensity = "* a point concentration\n"
                             "DEBGEO\n1 2\n1 0 0\nFINGEO\n"
                             "DEBSUI\n1\n1 1 0.1 1.2\nFINSUI\n"
                             "DEBDEN\n1 1\n1 1 2 1 1\nFINDEN\n";

class Litraf : public testfiles::FileTest {};

TEST_F(Litraf, NoFileGivesTheDefaultSpecification)
{
    SizeFile s;
    ConsoleCapture console;
    ASSERT_EQ(s.read(1, "", 1), kOk);
    EXPECT_EQ(console.text(), " -->DEFAULT MESH SIZE\n");
    EXPECT_EQ(s.shape.refinementMode, kDefaultSize);
    EXPECT_EQ(s.shape.generationMode, 1);
    EXPECT_EQ(s.shape.integersPerRecord, 2);
    EXPECT_EQ(s.shape.realsPerRecord, 6);
    EXPECT_EQ(s.shape.records, 1);
    EXPECT_EQ(s.integers[0], 1);
    EXPECT_EQ(s.reals[1], 1.1f);
    // The counting pass leaves the record tables alone.
    SizeFile counting;
    ASSERT_EQ(counting.read(0, "  "), kOk);
    EXPECT_EQ(counting.integers, std::vector<int32_t>(12, -7));
    EXPECT_EQ(counting.shape.records, 1);
    SizeFile none;
    none.reals.resize(5);
    EXPECT_EQ(none.read(1, ""), kCapacityError);
}

TEST_F(Litraf, DensityFileInBothPasses)
{
    write("a.den", kDensity);
    SizeFile s;
    ConsoleCapture console;
    ASSERT_EQ(s.read(0, "a.den", 1), kOk);
    EXPECT_EQ(s.shape.refinementMode, kDensityConcentrations);
    EXPECT_EQ(s.shape.records, 1);
    EXPECT_EQ(s.shape.reservedRecords, 2);
    EXPECT_EQ(s.integers, std::vector<int32_t>(12, -7));
    ASSERT_EQ(s.read(1, "a.den", 1), kOk);
    EXPECT_EQ(console.text(), " -->READING MESH SIZE\n -->DENSITY FUNCTIONS\n"
                              " -->READING MESH SIZE\n -->DENSITY FUNCTIONS\n"
                              " Number of concentration  : 1\n Mode of generation : 1\n");
    EXPECT_EQ(s.shape.refinementMode, kDensityConcentrations);
    EXPECT_EQ(s.integers[0], 1);
    EXPECT_EQ(s.integers[1], 1);
    EXPECT_EQ(s.reals[0], 1.2f);
    EXPECT_EQ(s.reals[1], 0.1f);
    EXPECT_EQ(s.integers[2], 1);
    EXPECT_EQ(s.reals[6], 1.2f);
}

TEST_F(Litraf, NodalValuesGiveSizesAtThePoints)
{
    write("a.grd", "* GRANDEUR\nDEBGRD\n3 1\n1 0.5\n2 1.5\n3 2.5\nFINGRD\n");
    SizeFile s;
    ConsoleCapture console;
    ASSERT_EQ(s.read(0, "a.grd", 1), kOk);
    EXPECT_EQ(s.shape.refinementMode, kSizesAtPoints);
    EXPECT_EQ(s.shape.generationMode, -1);
    EXPECT_EQ(s.shape.integersPerRecord, 0);
    EXPECT_EQ(s.shape.realsPerRecord, 3);
    EXPECT_EQ(s.shape.records, 1);
    ASSERT_EQ(s.read(1, "a.grd"), kOk);
    EXPECT_EQ(console.text(), " -->READING MESH SIZE\n -->NODAL VALUES\n");
    EXPECT_EQ(std::vector<float>(s.reals.begin(), s.reals.begin() + 4), (std::vector<float>{0.5f, 1.5f, 2.5f, -7}));
    SizeFile small;
    small.reals.resize(2);
    EXPECT_EQ(small.read(1, "a.grd"), kCapacityError);
}

TEST_F(Litraf, SizesAtThePointsMustBePositive)
{
    // the last point's size is 0: found after a positive one, so that the whole list is checked
    write("a.grd", "DEBGRD\n3 1\n1 0.5\n3 0\n2 -1e-30\nFINGRD\n");
    SizeFile s;
    ConsoleCapture console;
    ASSERT_EQ(s.read(0, "a.grd"), kOk);
    EXPECT_EQ(s.read(1, "a.grd"), kDataError);
    EXPECT_EQ(s.shape.fault.kind, SizeFault::nodalSize);
    EXPECT_EQ(s.shape.fault.record, 2);
    EXPECT_EQ(s.shape.fault.real, -1e-30f);
    EXPECT_EQ(console.text(), "");
    reportSizeFault(s.shape.fault);
    EXPECT_EQ(console.text(), " in block GRD, point 2 : size -1.E-30, not positive\n");
}

TEST_F(Litraf, TwoValuesPerNodeAreRefused)
{
    write("a.grd", "DEBGRD\n2 2\n1 0.5 1\n2 1.5 1\nFINGRD\n");
    SizeFile s;
    ConsoleCapture console;
    EXPECT_EQ(s.read(0, "a.grd"), kDataError);
    EXPECT_EQ(console.text(), dataError("dimension of the values must be 1 instead of", 2));
}

TEST_F(Litraf, FileOfNeitherKind)
{
    write("a.txt", "DEBXYZ\n1 2\n0 0\nFINXYZ\n");
    SizeFile s;
    ConsoleCapture console;
    EXPECT_EQ(s.read(0, "a.txt"), kDataError);
    EXPECT_EQ(s.shape.refinementMode, 0);
    // A missing file: the file manager's code, and no message from the reader.
    EXPECT_EQ(s.read(0, "none.den"), -2);
    EXPECT_EQ(console.text(), "");
}

TEST_F(Litraf, FailedFillingReadOfNodalValuesGivesOneMessage)
{
    write("a.grd", "DEBGRD\n2 1\n1 0.5\n2 x\nFINGRD\n");
    SizeFile s;
    ConsoleCapture console;
    ASSERT_EQ(s.read(0, "a.grd"), kOk);
    EXPECT_EQ(s.read(1, "a.grd"), kDataError);
    EXPECT_EQ(console.text(), dataError("at the value :", 2));
}

class Tyfide : public testfiles::FileTest {};

TEST_F(Tyfide, KindFollowsTheBlocks)
{
    write("geo.den", "DEBGRD\n1 1\n1 1\nFINGRD\ndebgeo\n0 2\nfingeo\n");
    write("grd.grd", "DEBGEO\n0 2\nDEBGRD\n1 1\n1 1\nFINGRD\n");
    int32_t kind = 0;
    EXPECT_EQ(tyfide("geo.den", kind), kOk);
    EXPECT_EQ(kind, kDensityFile);
    // A GEO block without its end tag does not count.
    EXPECT_EQ(tyfide("grd.grd", kind), kOk);
    EXPECT_EQ(kind, kNodalValuesFile);
    EXPECT_EQ(tyfide("none", kind), -2);
    EXPECT_EQ(kind, kUnknownSizeFile);
}

TEST(Examples, PlateDensityFileReads)
{
    const auto name = std::filesystem::path(TESMO_TEST_DATA).parent_path().parent_path() / "examples" / "plate.den";
    SizeFile s;
    ASSERT_EQ(s.read(0, name.string()), kOk);
    ASSERT_EQ(s.read(1, name.string()), kOk);
    EXPECT_EQ(s.shape.refinementMode, kDensityConcentrations);
    EXPECT_EQ(s.shape.generationMode, 2);
    EXPECT_EQ(s.shape.records, 1);
    EXPECT_EQ(std::vector<float>(s.reals.begin(), s.reals.begin() + 6),
              (std::vector<float>{1.25f, 0.08f, 6.5f, 2.0f, 0, 0}));
}

} // namespace
} // namespace tesmo
