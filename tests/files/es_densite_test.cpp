#include "files/es_densite.hpp"

#include "support/files_test_support.hpp"
#include "messages/es_chaine.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

using testfiles::dataError;

std::string density(std::string_view geo, std::string_view sui, std::string_view den)
{
    return "DEBGEO\n" + std::string(geo) + "FINGEO\nDEBSUI\n" + std::string(sui) + "FINSUI\nDEBDEN\n" +
           std::string(den) + "FINDEN\n";
}

/// Record tables and work tables of a density reading.
struct Records {
    SizeRecordCounts shape;
    std::vector<int32_t> integers = std::vector<int32_t>(40, -7);
    std::vector<float> reals = std::vector<float>(120, -7.0f);
    std::vector<int32_t> integerWork = std::vector<int32_t>(200, -7);
    std::vector<float> realWork = std::vector<float>(200, -7.0f);
    int read(int32_t pass, const std::string& name, int32_t verbosity = 0)
    {
        return iniden(pass, name, shape, Vec<int32_t>(integers.data(), int32_t(integers.size())),
                      Vec<float>(reals.data(), int32_t(reals.size())),
                      Vec<int32_t>(integerWork.data(), int32_t(integerWork.size())),
                      Vec<float>(realWork.data(), int32_t(realWork.size())), verbosity);
    }
    std::vector<int32_t> integerRow(int32_t k) const
    {
        return {integers.begin() + (k - 1) * 2, integers.begin() + k * 2};
    }
    std::vector<float> realRow(int32_t k) const { return {reals.begin() + (k - 1) * 6, reals.begin() + k * 6}; }
};

class Iniden : public testfiles::FileTest {};

TEST_F(Iniden, OnePointConcentrationAndItsClosingRecord)
{
    write("a.den", density("1 2\n1 0 0\n", "1\n1 1 0.1 1.2\n", "1 1\n1 1 2 1 1\n"));
    Records r;
    ASSERT_EQ(r.read(0, "a.den"), kOk);
    EXPECT_EQ(r.shape.refinementMode, kDensityConcentrations);
    EXPECT_EQ(r.shape.generationMode, 1);
    EXPECT_EQ(r.shape.integersPerRecord, 2);
    EXPECT_EQ(r.shape.realsPerRecord, 6);
    EXPECT_EQ(r.shape.records, 1);
    EXPECT_EQ(r.shape.reservedRecords, 2);
    EXPECT_EQ(r.integers, std::vector<int32_t>(40, -7)); // the counting pass writes no record
    ConsoleCapture console;
    ASSERT_EQ(r.read(1, "a.den", 1), kOk);
    EXPECT_EQ(console.text(), " Number of concentration  : 1\n Mode of generation : 1\n");
    EXPECT_EQ(r.integerRow(1), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(r.realRow(1), (std::vector<float>{1.2f, 0.1f, 0, 0, 0, 0}));
    EXPECT_EQ(r.integerRow(2), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(r.realRow(2), (std::vector<float>{1.2f, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.integers[4], -7); // nothing beyond the reserved rows
    EXPECT_EQ(r.reals[12], -7.0f);
}

TEST_F(Iniden, SmoothedGenerationMarksTheClosingRecord)
{
    write("a.den", density("1 2\n1 0 0\n", "1\n1 1 0.1 1.2\n", "1 3\n1 1 2 1 1\n"));
    Records r;
    ASSERT_EQ(r.read(1, "a.den"), kOk);
    EXPECT_EQ(r.shape.generationMode, 3);
    EXPECT_EQ(r.realRow(2), (std::vector<float>{1.2f, 0.05f, 0, 0, 0, 0}));
}

TEST_F(Iniden, ClosingRecordTakesTheLargestRatioOrDifference)
{
    const std::string geo = "3 2\n1 0 0\n2 4 0\n3 0 5\n";
    // Progression 1 geometric 1.3, 2 arithmetic (difference 0.4), 3 geometric 1.1.
    const std::string sui = "3\n1 1 0.1 1.3\n2 2 0.2 0.4\n3 1 0.3 1.1\n";
    write("mixed.den", density(geo, sui, "3 2\n1 1 2 3 1\n2 3 3 2 2 3\n3 2 3 1 1 2\n"));
    write("arith.den", density(geo, sui, "1 2\n1 1 2 2 3\n"));
    Records r;
    ASSERT_EQ(r.read(1, "mixed.den"), kOk);
    EXPECT_EQ(r.integerRow(2), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(r.realRow(2), (std::vector<float>{0.4f, 0.2f, 4, 0, 0, 5}));
    EXPECT_EQ(r.realRow(3), (std::vector<float>{1.3f, 0.1f, 0, 0, 4, 0}));
    EXPECT_EQ(r.integerRow(4), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(r.realRow(4)[0], 1.3f);
    ASSERT_EQ(r.read(1, "arith.den"), kOk);
    EXPECT_EQ(r.integerRow(2), (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(r.realRow(2)[0], 0.4f);
}

TEST_F(Iniden, WithoutConcentration)
{
    write("none.den", density("0 2\n", "0\n", "0 2\n"));
    // one progression: generation mode 1 replaces that of the header, whatever it is
    write("one.den", density("0 2\n", "1\n1 2 0.5 0.25\n", "0 7\n"));
    write("two.den", density("0 2\n", "2\n1 1 0.5 1.2\n2 1 0.5 1.4\n", "0 3\n"));
    Records r;
    ConsoleCapture console;
    ASSERT_EQ(r.read(1, "none.den", 1), kOk);
    EXPECT_EQ(r.shape.refinementMode, kDefaultSize);
    EXPECT_EQ(r.shape.generationMode, 1);
    EXPECT_EQ(r.shape.records, 0);
    EXPECT_EQ(r.integerRow(1), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(r.realRow(1), (std::vector<float>{0, 1.1f, 0, 0, 0, 0}));
    ASSERT_EQ(r.read(1, "one.den", 1), kOk);
    EXPECT_EQ(r.shape.generationMode, 1);
    EXPECT_EQ(r.integerRow(1), (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(r.realRow(1), (std::vector<float>{0, 0.25f, 0, 0, 0, 0}));
    EXPECT_EQ(console.text(), " WARNING  no concentration defined !\n WARNING  no concentration defined !\n");
    ASSERT_EQ(r.read(1, "two.den"), kOk);
    EXPECT_EQ(r.shape.generationMode, 3);
    EXPECT_EQ(r.shape.records, 0);
    EXPECT_EQ(r.shape.reservedRecords, 1);
    EXPECT_EQ(r.integerRow(1), (std::vector<int32_t>{2, 0})); // the closing record of no concentration
    EXPECT_EQ(r.realRow(1), (std::vector<float>{0, 0.05f, 0, 0, 0, 0}));
}

TEST_F(Iniden, RecordsAreStoredUnderTheirNumbers)
{
    write("a.den", density("3 2\n3 30 31\n1 10 11\n2 20 21\n", "2\n2 1 0.2 1.2\n1 1 0.1 1.1\n",
                           "2 1\n2 1 2 2 3\n1 1 2 1 2\n"));
    Records r;
    ASSERT_EQ(r.read(1, "a.den"), kOk);
    EXPECT_EQ(r.realRow(1), (std::vector<float>{1.1f, 0.1f, 20, 21, 0, 0}));
    EXPECT_EQ(r.realRow(2), (std::vector<float>{1.2f, 0.2f, 30, 31, 0, 0}));
}

TEST_F(Iniden, TablesTooSmallGiveCapacityErrorsQuietly)
{
    write("a.den", density("1 2\n1 0 0\n", "1\n1 1 0.1 1.2\n", "1 1\n1 1 2 1 1\n"));
    ConsoleCapture console;
    Records r;
    r.reals.resize(11); // two records need 12 reals
    EXPECT_EQ(r.read(1, "a.den"), kCapacityError);
    Records w;
    w.integerWork.resize(4); // ns + 4 nd = 5
    EXPECT_EQ(w.read(1, "a.den"), kCapacityError);
    Records v;
    v.realWork.resize(3); // np·ndim + 2 ns = 4
    EXPECT_EQ(v.read(1, "a.den"), kCapacityError);
    EXPECT_EQ(console.text(), "");
}

class Litden : public testfiles::FileTest {};

TEST_F(Litden, CountsTheLargestNumbers)
{
    write("a.den", density("2 3\n5 0 0 0\n1 0 0 0\n", "1\n4 1 0.1 1.2\n", "1 2\n7 1 2 4 5\n"));
    DensityFileCounts counts;
    ASSERT_EQ(litden(0, "a.den", counts, DensityWork{}), kOk);
    EXPECT_EQ(counts.points, 5);
    EXPECT_EQ(counts.dimension, 3);
    EXPECT_EQ(counts.progressions, 4);
    EXPECT_EQ(counts.concentrations, 7);
    EXPECT_EQ(counts.generationMode, 2);
}

TEST_F(Litden, DenMustFollowSui)
{
    write("a.den", "DEBGEO\n1 2\n1 0 0\nFINGEO\nDEBDEN\n1 1\n1 1 2 1 1\nFINDEN\nDEBSUI\n1\n1 1 0.1 1.2\nFINSUI\n");
    DensityFileCounts counts;
    ConsoleCapture console;
    EXPECT_EQ(litden(0, "a.den", counts, DensityWork{}), kDataError);
    EXPECT_EQ(console.text(), dataError("in Block DEN : starting or ending tag is missing"));
}

struct Malformed {
    const char* what;
    std::string file;
    std::string console;
    SizeFileFault fault{}; ///< a value refused: handed back quietly, for the caller to name
};

class InidenMalformed : public testfiles::FileTest, public ::testing::WithParamInterface<Malformed> {};

TEST_P(InidenMalformed, ReportsItsMessages)
{
    const Malformed& c = GetParam();
    write("bad.den", c.file);
    Records r;
    ConsoleCapture console;
    EXPECT_EQ(r.read(1, "bad.den"), kDataError) << c.what;
    EXPECT_EQ(console.text(), c.console) << c.what;
    EXPECT_EQ(r.shape.fault.kind, c.fault.kind) << c.what;
    EXPECT_EQ(r.shape.fault.record, c.fault.record) << c.what;
    EXPECT_EQ(r.shape.fault.integer, c.fault.integer) << c.what;
    EXPECT_EQ(r.shape.fault.real, c.fault.real) << c.what;
    // the counting pass refuses the same value, so that the driver refuses it before carving
    if (c.fault.kind != SizeFault::none) {
        Records counting;
        EXPECT_EQ(counting.read(0, "bad.den"), kDataError) << c.what;
        EXPECT_EQ(counting.shape.fault.kind, c.fault.kind) << c.what;
    }
}

const std::string kGeo = "5 2\n1 0 0\n2 1 0\n3 1 1\n4 0 1\n5 2 2\n";
const std::string kSui = "1\n1 1 0.1 1.2\n";
const std::string kAt1 = dataError("at the concentration :", 1);

INSTANTIATE_TEST_SUITE_P(
    Density, InidenMalformed,
    ::testing::Values(
        Malformed{"no GEO", "DEBSUI\n0\nFINSUI\n", dataError("in Block GEO : starting or ending tag missing", "bad.den")},
        Malformed{"GEO dimension 4", density("1 4\n1 0 0 0 0\n", kSui, "0 1\n"),
                  dataError("in Block GEO : number of values or dimension is wrong", "bad.den")},
        Malformed{"truncated GEO record", density("2 2\n1 0 0\n2 0\n", kSui, "0 1\n"), dataError("at the point :", 2)},
        Malformed{"GEO number 0", density("1 2\n0 0 0\n", kSui, "0 1\n"),
                  dataError("illegal point reference number :", 0) + dataError("at the point :", 1)},
        Malformed{"no SUI", "DEBGEO\n1 2\n1 0 0\nFINGEO\nDEBDEN\n0 1\nFINDEN\n",
                  dataError("in Block SUI : starting or ending tag is missing")},
        Malformed{"letters for ns", density(kGeo, "x\n", "0 1\n"),
                  dataError("in Block SUI : number of progressions is not valid", 0)},
        Malformed{"letters in SUI", density(kGeo, "1\n1 geometric 0.1 1.2\n", "0 1\n"),
                  dataError("at the progression :", 1)},
        Malformed{"SUI number -1", density(kGeo, "1\n-1 1 0.1 1.2\n", "0 1\n"),
                  dataError("the progression reference is not correct :", -1) + dataError("at the progression :", 1)},
        Malformed{"no DEN", density(kGeo, kSui, "").substr(0, density(kGeo, kSui, "").find("DEBDEN")),
                  dataError("in Block DEN : starting or ending tag is missing")},
        Malformed{"letters for nd", density(kGeo, kSui, "one 1\n"),
                  dataError("in Block DEN : number of concentrations or dimension is wrong", 0)},
        Malformed{"truncated DEN record", density(kGeo, kSui, "1 1\n1 1 2 1\n"), kAt1},
        Malformed{"DEN number 0", density(kGeo, kSui, "1 1\n0 1 2 1 1\n"),
                  dataError("the concentration reference is not correct :", 0) + kAt1},
        Malformed{"four values", density(kGeo, kSui, "1 1\n1 2 4 1 1 2 3\n"),
                  dataError("in Block DEN : number of concentrations or dimension is wrong", 4) + kAt1},
        Malformed{"ratio 0", density(kGeo, "1\n1 1 0.1 0\n", "1 1\n1 1 2 1 1\n"), "",
                  {SizeFault::progressionRatio, 1, 0, 0.0f}},
        Malformed{"size 0", density(kGeo, "1\n1 1 0 1.2\n", "1 1\n1 1 2 1 1\n"), "",
                  {SizeFault::progressionSize, 1, 0, 0.0f}},
        Malformed{"difference and size 0", density(kGeo, "1\n1 2 0 -0.5\n", "1 1\n1 1 2 1 1\n"), "",
                  {SizeFault::progressionSize, 1, 0, 0.0f}},
        Malformed{"object type 4", density(kGeo, kSui, "1 1\n1 4 2 1 1\n"), "",
                  {SizeFault::concentrationType, 1, 4, 0.0f}},
        Malformed{"point 7 of 5", density(kGeo, kSui, "1 1\n1 3 3 1 1 7\n"),
                  dataError("illegal point reference number :", 7) + kAt1},
        Malformed{"progression 2 of 1", density(kGeo, kSui, "2 1\n2 1 2 1 1\n1 1 2 2 1\n"),
                  dataError("the progression reference is not correct :", 2) + kAt1},
        Malformed{"undefined progression", density(kGeo, "1\n2 1 0.1 1.2\n", "1 1\n1 1 2 1 1\n"),
                  dataError("the progression ratio is <= 0 :", " 0.") + kAt1},
        Malformed{"undefined concentration", density(kGeo, kSui, "1 1\n2 1 2 1 1\n"),
                  dataError("the progression reference is not correct :", 0) + kAt1},
        Malformed{"segment in space", density("2 3\n1 0 0 0\n2 1 1 1\n", kSui, "1 1\n1 3 3 1 1 2\n"), "",
                  {SizeFault::concentrationDimension, 1, 3, 0.0f}},
        // values refused where they are read, whether a concentration uses them or not
        Malformed{"generation mode 5", density(kGeo, kSui, "1 5\n1 1 2 1 1\n"), "",
                  {SizeFault::generationMode, 0, 5, 0.0f}},
        Malformed{"generation mode 0, progressions only", density(kGeo, "2\n1 1 0.1 1.2\n2 1 0.2 1.1\n", "0 0\n"),
                  "", {SizeFault::generationMode, 0, 0, 0.0f}},
        Malformed{"progression type 3", density(kGeo, "2\n1 1 0.1 1.2\n2 3 0.1 1.2\n", "1 1\n1 1 2 1 1\n"), "",
                  {SizeFault::progressionType, 2, 3, 0.0f}},
        Malformed{"arithmetic size -1", density(kGeo, "1\n4 2 -1 0.5\n", "1 1\n1 1 2 4 1\n"), "",
                  {SizeFault::progressionSize, 4, 0, -1.0f}},
        Malformed{"negative difference", density(kGeo, "1\n1 2 0.2 -0.05\n", "1 1\n1 1 2 1 1\n"), "",
                  {SizeFault::progressionDifference, 1, 0, -0.05f}},
        Malformed{"single progression of ratio -1", density(kGeo, "1\n1 1 0.2 -1\n", "0 1\n"), "",
                  {SizeFault::progressionRatio, 1, 0, -1.0f}}),
    [](const ::testing::TestParamInfo<Malformed>& param) { return "case" + std::to_string(param.index); });

TEST_F(Iniden, ArithmeticProgressionNeedsOnlyOnePositiveValue)
{
    write("a.den", density(kGeo, "1\n1 2 0.1 0\n", "1 2\n1 1 2 1 5\n"));
    Records r;
    ASSERT_EQ(r.read(1, "a.den"), kOk);
    EXPECT_EQ(r.integerRow(1), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(r.realRow(1), (std::vector<float>{0, 0.1f, 2, 2, 0, 0}));
}

} // namespace
} // namespace tesmo
