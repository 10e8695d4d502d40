// The fuzz harness (see harness.hpp). Every entry writes the bytes to a file of the current
// directory, runs the reader with its console captured, and checks that no file stays open.
#include "harness.hpp"

#include "driver/MGg_noeud.hpp"
#include "files/es_grandeur.hpp"
#include "files/es_mesh.hpp"
#include "files/es_util.hpp"
#include "geometry/cg_epsi.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "shell/MGg_main.hpp"
#include "topology/st_generic.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tesmo::fuzzing {

namespace {

/// Work arrays of the generations: enough for the few hundred points a fuzz input holds.
constexpr int32_t kWork = 1 << 18;
/// Largest table a storing read may be given (entries); larger counts are left unread.
constexpr int64_t kLargestTable = 1 << 22;

void setUp()
{
    static bool done = false;
    if (!done) {
        icgeps();
        stinit();
        modini = 0;
        modees = 0;
        done = true;
    }
}

void writeFile(const char* name, const uint8_t* data, std::size_t size)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

/// A file left open by a reader fills the open-file table of the run: a finding.
void expectNoFileOpen(const char* what)
{
    if (openFileCount() != 0) {
        std::fprintf(stderr, "%s left %d file(s) open\n", what, int(openFileCount()));
        std::abort();
    }
}

/// A whole generation on work arrays cleared as the program's are at start.
void generate(std::string_view geometry, std::string_view sizes, std::string_view nodalSizes)
{
    static std::vector<int32_t> itvl(std::size_t(kWork), 0);
    static std::vector<float> rtvl(std::size_t(kWork), 0.0f);
    std::fill(itvl.begin(), itvl.end(), 0);
    std::fill(rtvl.begin(), rtvl.end(), 0.0f);
    std::remove("out.msh");
    std::remove("out.grd");
    ConsoleCapture console;
    (void)mggmem(geometry, sizes, "out.msh", nodalSizes, -1, Vec<int32_t>(itvl.data(), kWork),
                 Vec<float>(rtvl.data(), kWork), 0);
    consoleFlush();
}

/// A table of `count` entries (one fewer when `short` asks for a capacity error), or none.
template <class T>
bool tableOf(int64_t count, bool oneShort, std::vector<T>& table)
{
    if (count < 0 || count > kLargestTable) {
        return false;
    }
    table.assign(std::size_t(std::max<int64_t>(count - (oneShort ? 1 : 0), 0)), T{});
    return true;
}

template <class T>
Vec<T> view(std::vector<T>& table)
{
    return Vec<T>(table.data(), int32_t(table.size()));
}

} // namespace

void geometryFile(const uint8_t* data, std::size_t size)
{
    setUp();
    writeFile("input.geo", data, size);
    generate("input.geo", "", "");
    expectNoFileOpen("the geometry reading");
}

void sizeFile(const uint8_t* data, std::size_t size)
{
    setUp();
    static const char square[] = "DEBXYZ\n4 2\n0 0\n1 0\n1 1\n0 1\nFINXYZ\nDEBILM\n1\n5 1 2 3 4 1 100 1 1\nFINILM\n";
    writeFile("square.geo", reinterpret_cast<const uint8_t*>(square), sizeof square - 1);
    writeFile("input.siz", data, size);
    generate("square.geo", "input.siz", "out.grd");
    expectNoFileOpen("the size reading");
}

void meshFile(const uint8_t* data, std::size_t size)
{
    setUp();
    writeFile("input.msh", data, size);
    ConsoleCapture console;
    MeshSizes sizes;
    int code = litvip(0, "input.msh", MeshTables{}, sizes);
    expectNoFileOpen("the mesh counting read");
    const bool oneShort = size % 3 == 0;
    std::vector<float> coordinates;
    std::vector<int32_t> elements, zoneCodes, zoneEnds;
    if (code == kOk && tableOf(int64_t(sizes.npts) * sizes.dimension, oneShort, coordinates) &&
        tableOf(int64_t(sizes.ne) * sizes.rowLength, false, elements) && tableOf(sizes.zones, false, zoneCodes) &&
        tableOf(sizes.zones, false, zoneEnds)) {
        code = litvip(1, "input.msh", MeshTables{view(coordinates), view(elements), view(zoneCodes), view(zoneEnds)},
                      sizes);
        expectNoFileOpen("the mesh storing read");
    }
    consoleFlush();
}

void nodalValuesFile(const uint8_t* data, std::size_t size)
{
    setUp();
    writeFile("input.grd", data, size);
    ConsoleCapture console;
    int32_t m = 0;
    int32_t n = 0;
    const int code = litgrd(0, "input.grd", Vec<float>(), m, n);
    expectNoFileOpen("the nodal-values counting read");
    std::vector<float> values;
    if (code == kOk && tableOf(int64_t(m) * n, size % 3 == 0, values)) {
        (void)litgrd(1, "input.grd", view(values), m, n);
        expectNoFileOpen("the nodal-values storing read");
    }
    consoleFlush();
}

void commandLine(const uint8_t* data, std::size_t size)
{
    setUp();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t end = std::min(text.find('\n'), text.size());
    // the words of the first line, then the answers to the prompts
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < end) {
        const std::size_t tab = std::min(text.find('\t', at), end);
        words.push_back(text.substr(at, tab - at));
        at = tab + 1;
    }
    std::vector<std::string_view> arguments(words.begin(), words.end());
    std::istringstream answers(end < text.size() ? text.substr(end + 1) : std::string());
    std::streambuf* input = std::cin.rdbuf(answers.rdbuf());
    std::cin.clear();
    {
        // arrays too small for any table: no generation gets to write a file
        int32_t itvl[16] = {};
        float rtvl[16] = {};
        ConsoleCapture console;
        (void)runTesmo(Arguments(arguments.data(), int32_t(arguments.size())), Vec<int32_t>(itvl, 16),
                       Vec<float>(rtvl, 16));
        consoleFlush();
    }
    std::cin.rdbuf(input);
    std::cin.clear();
    modini = 0;
    modees = 0;
    expectNoFileOpen("the command line");
}

} // namespace tesmo::fuzzing
