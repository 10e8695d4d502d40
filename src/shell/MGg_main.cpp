// The run sequence of the tesmo program.
//
// 1. mode word; 2. banner (verbose runs only); 3. prompts; 4. help, then stop;
// 5. parameters; 6. output checks; 7. shared constants; 8. generation.
// A data error at steps 5, 6 or 8 is followed by the online-help line.
#include "shell/MGg_main.hpp"

#include "geometry/cg_epsi.hpp"
#include "driver/driver.hpp"
#include "messages/catalogue.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/mg_messages.hpp"
#include "shell/output_checks.hpp"
#include "topology/st_generic.hpp"

#include <array>
#include <cstdlib>
#include <vector>

namespace tesmo {

namespace {

constexpr int32_t kMessageLength = 256;

/// Prints "For online help type : tesmo h".
void printOnlineHelp()
{
    std::string text(kMessageLength, ' ');
    pgmess(kInfoMessage, pgmsg::kOnlineHelp, pgmsg::kNone, "Pour l aide en ligne taper : tesmo h", text);
    esecha(kConsoleDevice, text, " ");
}

/// Prints a program error message of `mgtest` followed by a blank.
void reportRunError(int32_t code, int32_t entry, std::string_view french)
{
    std::string text(kMessageLength, ' ');
    pgmess(code, entry, pgmsg::kNone, french, text);
    esecha(kConsoleDevice, text, " ");
}

bool given(int32_t flag) { return flag > 0; }

/// A memory limit that is not a positive whole number of megabytes.
void reportBadMemoryLimit(const char* setting)
{
    std::string value = " ";
    value += setting != nullptr && *setting != '\0' ? setting : "(empty)";
    esecha(kConsoleDevice, "DATA ERROR  TESMO_MEMORY is not a number of megabytes :", value);
}

} // namespace

int mgtest(RunFiles& files, Vec<const int32_t> presence, int32_t mode)
{
    // 1. absent names are blank, an absent maximum is -1
    const bool df2 = given(presence(2));
    const bool rf1 = given(presence(3));
    const bool rf2 = given(presence(4));
    if (!df2) {
        files.df2.assign(std::size_t(kParameterTextLength), ' ');
    }
    if (!rf1) {
        files.rf1.assign(std::size_t(kParameterTextLength), ' ');
    }
    if (!rf2) {
        files.rf2.assign(std::size_t(kParameterTextLength), ' ');
    }
    if (!given(presence(5))) {
        files.nbn = -1;
    }
    // 2. nodal sizes requested
    if (rf2) {
        if (rf1) {
            return kOk;
        }
        if (files.nbn == 0) {
            if (mode >= 1) {
                std::string text(kMessageLength, ' ');
                pgmess(kInfoMessage, pgmsg::kInfoNodalValuesOnly, pgmsg::kNone, "calcul des valeurs nodales seulement", text);
                esecha(kConsoleDevice, text, " ");
            }
            return kOk;
        }
        reportRunError(kDataError, pgmsg::kNoMeshForValues, "pas de maillage, les valeurs nodales ne seront pas localisees");
        return kDataError;
    }
    // 3. no nodal sizes: a mesh file is needed
    if (rf1) {
        return kOk;
    }
    reportRunError(kDataError, pgmsg::kMeshNameMissing, "le nom du maillage resultat manque");
    return kDataError;
}

void mginit2(int32_t mode)
{
    modini = mode;
    icgeps();
    stinit();
}

int runGeneration(const RunFiles& files, const WorkMemory& memory, int32_t mode)
{
    if (memory.grow) {
        return generateGrowing(files.df1, files.df2, files.rf1, files.rf2, files.nbn, memory.sizing, mode);
    }
    return mggmem(files.df1, files.df2, files.rf1, files.rf2, files.nbn, memory.itvl, memory.rtvl, mode);
}

int runTesmo(Arguments arguments, Vec<int32_t> itvl, Vec<float> rtvl)
{
    WorkMemory memory;
    memory.itvl = itvl;
    memory.rtvl = rtvl;
    return runTesmo(arguments, memory);
}

int runTesmo(Arguments arguments, const WorkMemory& given)
{
    // 1. mode word
    int32_t mode = 1;
    int32_t help = 0;
    espmod(arguments, mode, help);
    // 2. banner
    if (mode == 1) {
        eseprg(kConsoleDevice, nomprg, releas, copyri, kReleaseDate, contac);
    }
    // 3. prompts and the parameter description
    constexpr int32_t types[kProgramParameters] = {kInputFile, kInputFile, kOutputFile, kOutputFile, kIntegerValue};
    constexpr int32_t required[kProgramParameters] = {1, 0, 0, 0, 0};
    std::array<ParameterSpec, kProgramParameters> parameters;
    for (int32_t k = 0; k < kProgramParameters; ++k) {
        parameters[std::size_t(k)].itypel = types[k];
        parameters[std::size_t(k)].ioptio = required[k];
        parameters[std::size_t(k)].prompt.assign(std::size_t(kCatalogueField), ' ');
        pgmess(kInfoMessage, pgmsg::kPromptGeometry + k, pgmsg::kNone, "", parameters[std::size_t(k)].prompt);
    }
    const std::array<Keyword, 1> keywords = {Keyword{"-", -1}};
    // 4. help
    if (help == 1) {
        std::string text(std::size_t(kHelpLength), ' ');
        pgmess(kHelpText, pgmsg::kNone, pgmsg::kNone, "", text);
        esecha(kConsoleDevice, text, " ");
        return kOk;
    }
    // the memory limit, before any file is read
    WorkMemory memory = given;
    if (memory.grow && memoryLimit(std::getenv(kMemoryVariable), memory.sizing) != kOk) {
        reportBadMemoryLimit(std::getenv(kMemoryVariable));
        return kDataError;
    }
    // 5. parameters
    std::array<std::string, kProgramParameters> texts;
    std::array<int32_t, kProgramParameters> integers{};
    std::array<float, kProgramParameters> reals{};
    std::array<int32_t, kProgramParameters> index{};
    std::array<int32_t, kProgramParameters> presence{};
    ParameterValues values{Vec<std::string>(texts.data(), kProgramParameters),
                           Vec<int32_t>(integers.data(), kProgramParameters),
                           Vec<float>(reals.data(), kProgramParameters),
                           Vec<int32_t>(index.data(), kProgramParameters),
                           Vec<int32_t>(presence.data(), kProgramParameters)};
    int code = esprog(arguments, Vec<const ParameterSpec>(parameters.data(), kProgramParameters),
                      Vec<const Keyword>(keywords.data(), 1), values);
    if (code != kOk) {
        if (code == kDataError) {
            printOnlineHelp();
        }
        return code;
    }
    RunFiles files;
    files.df1 = values.texts(values.index(1));
    files.df2 = values.texts(values.index(2));
    files.rf1 = values.texts(values.index(3));
    files.rf2 = values.texts(values.index(4));
    files.nbn = values.integers(values.index(5));
    // 6. output checks
    code = mgtest(files, Vec<const int32_t>(presence.data(), kProgramParameters), mode);
    code = code == kOk ? checkOutputs(files) : code;
    if (code != kOk) {
        printOnlineHelp();
        return code;
    }
    // 7. shared constants
    mginit2(mode);
    // 8. generation
    code = runGeneration(files, memory, mode);
    if (code == kDataError) {
        printOnlineHelp();
    }
    return code;
}

int runTesmo(int argc, char** argv, const WorkMemory& memory)
{
    std::vector<std::string_view> words;
    for (int i = 1; i < argc; ++i) {
        words.emplace_back(argv[i]);
    }
    return runTesmo(Arguments(words.data(), int32_t(words.size())), memory);
}

} // namespace tesmo
