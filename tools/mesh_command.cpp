// The mesh subcommand: a front end for scripts on the same driver as the console program.
//
// The command line is checked whole before any work. The inputs are then copied under short
// names into a folder of its own (a .poly file converted, a uniform size written as sizes at
// the geometry's points), so that no name is too long for the system's file table; the driver
// runs silently on them with the work arrays of `allocateWork`, its console captured and told
// on standard error under the user's names; the mesh is read back, checked, and written in the
// format asked for with the border numbers of the geometry.
#include "border_tags.hpp"
#include "mesh_input.hpp"
#include "mesh_outputs.hpp"
#include "subcommands.hpp"
#include "tool_common.hpp"

#include "driver/MGg_noeud.hpp"
#include "driver/fault_reports.hpp"
#include "driver/run_extensions.hpp"
#include "files/es_geometrie.hpp"
#include "files/es_grandeur.hpp"
#include "messages/es_chaine.hpp"
#include "shell/MGg_main.hpp"
#include "shell/work_sizing.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>
#include <unistd.h>

namespace tesmo::tools {

namespace {

const char* kCommand = "mesh";

const char* kHelp =
    "Usage: tesmo-tools mesh GEOMETRY [options] -o FILE\n"
    "\n"
    "Meshes the geometry file GEOMETRY (a tesmo geometry, or a .poly file, converted as the\n"
    "poly command does) with the same mesher as tesmo, and writes the mesh to FILE.\n"
    "\n"
    "  --sizes FILE      a size file: a density file, or sizes at the geometry's points\n"
    "  --size H          the size H at every point of the geometry (as a size file would)\n"
    "  --max-area A      no triangle larger than A\n"
    "  --min-angle DEG   no angle below DEG degrees (0 < DEG <= 33.5) where the borders do not\n"
    "                    make a smaller one: the refinement for well-shaped triangles\n"
    "  --smooth N        N passes of smoothing of the inner nodes (never lowering the\n"
    "                    smallest angle of a triangle)\n"
    "  --max-nodes N     at most N nodes (the work arrays grow to hold them)\n"
    "  --format F        tesmo, vtu, gmsh, triangle or svg; by default from the extension of\n"
    "                    FILE: .msh tesmo's own format (Gmsh's needs --format gmsh), .vtu,\n"
    "                    .svg, .node (triangle: FILE without .node is the base name)\n"
    "  --write-sizes F   the wanted size at every node, as a nodal-values file\n"
    "  -o FILE           the mesh written (required)\n"
    "  -h, --help        this help\n"
    "  --version         the version\n"
    "\n"
    "In the vtu, gmsh and triangle formats every mesh edge along a border of the geometry\n"
    "carries the number of its border (its place in the geometry file). Messages go to\n"
    "standard error, a progress line too when the work takes more than a second.\n"
    "Exit status: 0 the mesh is complete and valid; 1 bad input (the message names the file\n"
    "and what is wrong in it); 2 a wrong command line; 3 a maximum (--max-nodes, or the\n"
    "work arrays) stopped the refinement early: the mesh is written all the same.\n";

/// Exit status of a run that a maximum stopped early, its mesh written.
inline constexpr int kExitStoppedEarly = 3;
/// Reals and integers of the work arrays per node asked for with --max-nodes: the global
/// tables and a zone's own, with their elements (about two per node).
/// Seconds before the progress line shows, and between two redraws.
inline constexpr double kProgressDelay = 1.0;
inline constexpr double kProgressRedraw = 0.25;

/// The command line of the mesh command.
struct MeshOptions {
    std::string geometry;
    std::string output;
    std::string sizes;
    std::string writeSizes;
    std::string format;
    float size = 0.0f;          ///< --size, 0 when not given
    QualityRequest quality;
    int32_t maxNodes = -1;      ///< --max-nodes, -1 when not given
    bool help = false;
    bool version = false;
};

/// A real value of an option, finite and representable in single precision.
bool realValue(const std::string& text, float& value)
{
    char* end = nullptr;
    const double read = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(read) || std::fabs(read) > double(std::numeric_limits<float>::max())) {
        return false;
    }
    value = float(read);
    return true;
}

/// A whole value of an option within 32 bits.
bool wholeValue(const std::string& text, int32_t& value)
{
    char* end = nullptr;
    const long long read = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || read < std::numeric_limits<int32_t>::min() ||
        read > std::numeric_limits<int32_t>::max()) {
        return false;
    }
    value = int32_t(read);
    return true;
}

/// The extension of a file name, lower case, with its dot ("" when none).
std::string extensionOf(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return "";
    }
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension;
}

/// Checks one value; "" or what is wrong with it.
std::string takeValue(const std::string& option, const std::string& text, MeshOptions& options)
{
    float real = 0.0f;
    int32_t whole = 0;
    if (option == "--size") {
        if (!realValue(text, real) || !(real > 0.0f)) {
            return "--size needs a positive size, not '" + text + "'";
        }
        options.size = real;
    } else if (option == "--max-area") {
        if (!realValue(text, real) || !(real > 0.0f)) {
            return "--max-area needs a positive area, not '" + text + "'";
        }
        options.quality.maxArea = real;
    } else if (option == "--min-angle") {
        if (!realValue(text, real) || !(real > 0.0f) || real > kLargestAngleBound) {
            return "--min-angle needs an angle above 0 and at most " + formatReal(kLargestAngleBound) +
                   " degrees, not '" + text + "'";
        }
        options.quality.minAngle = real;
    } else if (option == "--smooth") {
        if (!wholeValue(text, whole) || whole < 0) {
            return "--smooth needs a number of passes (0 or more), not '" + text + "'";
        }
        options.quality.smoothing = whole;
    } else if (option == "--max-nodes") {
        if (!wholeValue(text, whole) || whole < 1) {
            return "--max-nodes needs a positive number of nodes, not '" + text + "'";
        }
        options.maxNodes = whole;
    } else if (option == "--format") {
        if (text != "tesmo" && text != "vtu" && text != "gmsh" && text != "triangle" && text != "svg") {
            return "unknown format '" + text + "' (tesmo, vtu, gmsh, triangle or svg)";
        }
        options.format = text;
    } else if (option == "-o") {
        options.output = text;
    } else if (option == "--sizes") {
        options.sizes = text;
    } else if (option == "--write-sizes") {
        options.writeSizes = text;
    }
    return "";
}

/// Reads the command line; "" or what is wrong with it.
std::string parseOptions(const Words& words, MeshOptions& options)
{
    static const char* const withValue[] = {"-o",      "--sizes",     "--size",      "--max-area",  "--min-angle",
                                            "--smooth", "--max-nodes", "--format", "--write-sizes"};
    std::map<std::string, int> seen;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            options.help = true;
            continue;
        }
        if (word == "--version") {
            options.version = true;
            continue;
        }
        const bool takes = std::find(std::begin(withValue), std::end(withValue), word) != std::end(withValue);
        if (!takes) {
            if (word.size() > 1 && word[0] == '-') {
                return "unknown option '" + word + "'";
            }
            positional.push_back(word);
            continue;
        }
        if (++seen[word] > 1) {
            return "the option " + word + " is given twice";
        }
        if (i + 1 >= words.size() || words[i + 1].empty()) {
            return "the option " + word + " needs a value";
        }
        if (std::string why = takeValue(word, words[++i], options); !why.empty()) {
            return why;
        }
    }
    if (options.help || options.version) {
        return "";
    }
    if (positional.size() != 1) {
        return positional.empty() ? "a geometry file is needed" : "only one geometry file is meshed";
    }
    options.geometry = positional[0];
    if (options.output.empty()) {
        return "the output is missing (-o)";
    }
    if (!options.sizes.empty() && options.size > 0.0f) {
        return "--sizes and --size cannot be given together";
    }
    if (options.format.empty()) {
        const std::string extension = extensionOf(options.output);
        options.format = extension == ".msh"    ? "tesmo"
                         : extension == ".vtu"  ? "vtu"
                         : extension == ".svg"  ? "svg"
                         : extension == ".node" ? "triangle"
                                                : "";
        if (options.format.empty()) {
            return "the format of " + options.output + " is not known from its extension: give --format";
        }
    }
    return "";
}

/// A folder of its own for the short-named copies, removed with what it holds.
class WorkFolder {
public:
    WorkFolder()
    {
        std::string pattern = "/tmp/tesmo-mesh-XXXXXX";
        if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && std::string(tmp).size() < 64 && *tmp == '/') {
            pattern = std::string(tmp) + "/tesmo-mesh-XXXXXX";
        }
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) != nullptr) {
            path_ = name.data();
        }
    }
    ~WorkFolder()
    {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    bool ready() const { return !path_.empty(); }
    std::string file(const char* name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

/// Copies a file whole. Returns "" or what went wrong.
std::string copyFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        return "cannot open the file " + from;
    }
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    out.close();
    if (!out) {
        return "cannot write the file " + to;
    }
    return "";
}

/// The refused geometry's fault in words, as the console program's verbose runs print it: the
/// borders and points at fault and where ("" when the driver located none).
std::string faultInWords(const GeometryFault& fault)
{
    if (fault.kind == FaultKind::none) {
        return "";
    }
    ConsoleCapture capture;
    printGeometryFault(fault);
    std::string text = capture.text();
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

/// The progress line of a long run, on standard error.
class MeshProgress {
public:
    explicit MeshProgress(std::string what) : what_(std::move(what)), start_(std::chrono::steady_clock::now()) {}
    static void tell(void* context, int32_t nodes) { static_cast<MeshProgress*>(context)->update(nodes); }
    void update(int32_t nodes)
    {
        const double seconds = elapsed();
        if (seconds < kProgressDelay || (shownAt_ >= 0.0 && seconds - shownAt_ < kProgressRedraw)) {
            return;
        }
        shownAt_ = seconds;
        std::fprintf(stderr, "\rtesmo-tools mesh: %s: %d nodes, %.1f s", what_.c_str(), int(nodes), seconds);
        std::fflush(stderr);
    }
    void finish()
    {
        if (shownAt_ >= 0.0 || elapsed() >= kProgressDelay) {
            std::fprintf(stderr, "%stesmo-tools mesh: %s: done in %.1f s\n", shownAt_ >= 0.0 ? "\r" : "",
                         what_.c_str(), elapsed());
        }
        shownAt_ = -1.0;
    }

private:
    double elapsed() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    std::string what_;
    std::chrono::steady_clock::time_point start_;
    double shownAt_ = -1.0;
};

/// The driver's console text with the short names of the copies given back their own.
std::string userNames(std::string text, const std::vector<std::pair<std::string, std::string>>& names)
{
    for (const auto& [copy, user] : names) {
        for (std::size_t at = text.find(copy); at != std::string::npos; at = text.find(copy, at + user.size())) {
            text.replace(at, copy.size(), user);
        }
    }
    return text;
}

/// Sizes at every point of the geometry: the size file a uniform size stands for.
std::string writeUniformSizes(const std::string& geometry, float size, const std::string& target)
{
    ConsoleCapture capture;
    GeometrySizes sizes;
    if (litfrt(0, geometry, GeometryTables{}, sizes) != kOk) {
        return "cannot read the geometry file";
    }
    const std::vector<float> values(std::size_t(sizes.npts), size);
    if (ecrgrd(target, "uniform size", Rows<const float>(values.data(), 1, sizes.npts)) != kOk) {
        return "cannot write the file " + target;
    }
    return "";
}

/// A mesh whose triangles turn counter-clockwise (in the plane) and are not flat, each edge
/// met by at most two of them. Returns "" or what is wrong.
std::string checkValidity(const ToolMesh& mesh)
{
    for (int32_t t = 0; t < mesh.triangleCount(); ++t) {
        double u[3], v[3];
        for (int32_t j = 0; j < 3; ++j) {
            u[j] = mesh.coordinate(mesh.corner(t, 1), j) - mesh.coordinate(mesh.corner(t, 0), j);
            v[j] = mesh.coordinate(mesh.corner(t, 2), j) - mesh.coordinate(mesh.corner(t, 0), j);
        }
        const double z = u[0] * v[1] - u[1] * v[0];
        const double x = u[1] * v[2] - u[2] * v[1];
        const double y = u[2] * v[0] - u[0] * v[2];
        if ((mesh.dimension == 2 && !(z > 0.0)) || !(x * x + y * y + z * z > 0.0)) {
            return "the triangle " + std::to_string(t + 1) + " of the mesh is flat or turned";
        }
    }
    std::vector<std::pair<int64_t, int32_t>> sides;
    for (int32_t t = 0; t < mesh.triangleCount(); ++t) {
        for (int32_t c = 0; c < 3; ++c) {
            const int64_t p = mesh.corner(t, c), q = mesh.corner(t, (c + 1) % 3);
            sides.emplace_back(std::min(p, q) * (int64_t(mesh.nodes) + 1) + std::max(p, q), t);
        }
    }
    std::sort(sides.begin(), sides.end());
    for (std::size_t i = 2; i < sides.size(); ++i) {
        if (sides[i].first == sides[i - 2].first) {
            return "an edge of the mesh is met by more than two triangles";
        }
    }
    return "";
}

/// Writes the mesh in the format asked for. Returns "" or what went wrong.
std::string writeOutput(const MeshOptions& options, const std::string& meshCopy, const ToolMesh& mesh,
                        const std::vector<BorderEdge>& borders)
{
    if (options.format == "tesmo") {
        return copyFile(meshCopy, options.output);
    }
    if (options.format == "vtu") {
        return writeTextFile(options.output, vtkText(mesh, {}, &borders));
    }
    if (options.format == "gmsh") {
        if (std::string why = checkGmshZones(mesh); !why.empty()) {
            return why;
        }
        return writeTextFile(options.output, gmshText(mesh, &borders));
    }
    if (options.format == "svg") {
        std::string text;
        if (std::string why = svgText(mesh, nullptr, text); !why.empty()) {
            return why;
        }
        return writeTextFile(options.output, text);
    }
    if (mesh.dimension != 2) {
        return "the mesh is in space; the .node format holds two coordinates per node";
    }
    std::string base = options.output;
    if (extensionOf(base) == ".node") {
        base.resize(base.size() - 5);
    }
    const TriangleFiles files = triangleText(mesh, &borders);
    for (const auto& [extension, text] : {std::pair{".node", &files.node}, std::pair{".ele", &files.ele},
                                          std::pair{".edge", &files.edge}}) {
        if (std::string why = writeTextFile(base + extension, *text); !why.empty()) {
            return why;
        }
    }
    return "";
}

/// The nodal sizes written under the user's name, naming the user's mesh in their title.
std::string writeSizesFile(const std::string& copy, const std::string& meshCopy, const MeshOptions& options)
{
    std::ifstream in(copy);
    if (!in) {
        return "no nodal sizes were written";
    }
    std::ostringstream text;
    std::string line;
    for (int32_t n = 1; std::getline(in, line); ++n) {
        text << (n == 2 && line == "* " + meshCopy ? "* " + options.output : line) << '\n';
    }
    return writeTextFile(options.writeSizes, text.str());
}

/// The run after the command line: copies, driver, checks, outputs. Returns the exit status.
int meshRun(const MeshOptions& options)
{
    // 1. the inputs under short names; a .poly file converted
    WorkFolder folder;
    if (!folder.ready()) {
        return fail(kCommand, kExitFailure, "cannot make a work folder under /tmp");
    }
    const std::string geometry = folder.file("geometry");
    const std::string sizes = folder.file("sizes");
    const std::string meshCopy = folder.file("mesh.msh");
    const std::string nodalCopy = folder.file("nodal.grd");
    if (!std::ifstream(options.geometry)) {
        return fail(kCommand, kExitFailure, "cannot open the file " + options.geometry);
    }
    std::string why = extensionOf(options.geometry) == ".poly" ? convertPoly(options.geometry, geometry)
                                                               : copyFile(options.geometry, geometry);
    if (!why.empty()) {
        return fail(kCommand, kExitFailure, userNames(why, {{geometry, options.geometry}}));
    }
    if (!options.sizes.empty() && !(why = copyFile(options.sizes, sizes)).empty()) {
        return fail(kCommand, kExitFailure, why);
    }
    if (options.size > 0.0f && !(why = writeUniformSizes(geometry, options.size, sizes)).empty()) {
        return fail(kCommand, kExitFailure, options.geometry + ": " + why);
    }
    const std::vector<std::pair<std::string, std::string>> names = {
        {geometry, options.geometry}, {sizes, options.sizes.empty() ? "--size" : options.sizes}, {meshCopy, options.output}};
    // 2. the driver, silent, on work arrays sized for the job within the memory limit
    ArraySizing sizing;
    if (memoryLimit(std::getenv(kMemoryVariable), sizing) != kOk) {
        return fail(kCommand, kExitFailure, "TESMO_MEMORY is not a positive whole number of megabytes");
    }
    MeshProgress progress("meshing " + options.geometry);
    RunExtensions extensions;
    extensions.quality = options.quality;
    extensions.progress = ProgressHook{&MeshProgress::tell, &progress};
    int code = kOk;
    {
        ConsoleCapture capture;
        mginit2(0);
        code = generateGrowing(geometry, options.sizes.empty() && options.size <= 0.0f ? "" : sizes, meshCopy,
                               options.writeSizes.empty() ? "" : nodalCopy, options.maxNodes, sizing, 0,
                               &extensions);
        consoleFlush();
        progress.finish();
        if (!capture.text().empty()) {
            std::cerr << userNames(capture.text(), names);
        }
    }
    if (const std::string where = faultInWords(extensions.fault); !where.empty()) {
        return fail(kCommand, kExitFailure, options.geometry + ": the geometry is not valid: " + where);
    }
    if (code != kOk || !std::ifstream(meshCopy)) {
        return fail(kCommand, kExitFailure,
                    options.geometry + ": no mesh could be made" +
                        (code == kCapacityError ? " (memory is short: see TESMO_MEMORY)" : ""));
    }
    // 3. the mesh read back, checked against its geometry, and written as asked
    ToolMesh mesh;
    ToolGeometry borders;
    std::vector<BorderEdge> edges;
    if ((why = loadMesh(meshCopy, mesh, options.output)).empty() && (why = loadGeometry(geometry, borders)).empty() &&
        (why = tagBorderEdges(mesh, borders, edges)).empty()) {
        why = checkValidity(mesh);
    }
    if (!why.empty()) {
        return fail(kCommand, kExitFailure, userNames(why, names));
    }
    if (!(why = writeOutput(options, meshCopy, mesh, edges)).empty() ||
        (!options.writeSizes.empty() && !(why = writeSizesFile(nodalCopy, meshCopy, options)).empty())) {
        return fail(kCommand, kExitFailure, userNames(why, names));
    }
    // 4. a maximum that stopped the refinement
    if (extensions.capacity.stopped) {
        return fail(kCommand, kExitStoppedEarly,
                    "the memory limit (" + std::to_string(extensions.capacity.limitMegabytes) +
                        " MB) stopped the refinement early; the mesh is written but coarser than asked");
    }
    if (extensions.stoppedEarly > 0) {
        return fail(kCommand, kExitStoppedEarly,
                    std::string("the maximum number of ") +
                        (extensions.stoppedEarly == kMaxElementsReached ? "elements" : "nodes") +
                        " stopped the refinement early; the mesh is written but coarser than asked");
    }
    return kExitOk;
}

} // namespace

int runMesh(const Words& words)
{
    MeshOptions options;
    if (std::string why = parseOptions(words, options); !why.empty()) {
        return usageError(kCommand, why);
    }
    if (options.help) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (options.version) {
        std::printf("tesmo-tools mesh %s (%s %s)\n", formatReal(releas).c_str(), std::string(nomprg).c_str(),
                    formatReal(releas).c_str());
        return kExitOk;
    }
    return meshRun(options);
}

} // namespace tesmo::tools
