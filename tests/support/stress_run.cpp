// In-process whole runs for the stress tests.
#include "support/stress_run.hpp"

#include "driver/MGg_noeud.hpp"
#include "geometry/cg_epsi.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "shell/MGg_main.hpp"
#include "support/mesh_check.hpp"
#include "topology/st_generic.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tesmo::testing {

StressRunner::StressRunner(std::string directory, int32_t integers, int32_t reals)
    : directory_(std::move(directory)), integers_(integers > 0 ? integers : kItvlLength),
      reals_(reals > 0 ? reals : kRtvlLength), itvl_(std::size_t(integers_), 0), rtvl_(std::size_t(reals_), 0.0f)
{
    icgeps();
    stinit();
}

std::string StressRunner::mesh(const GeometryText& geometry, int32_t nbn)
{
    const std::string geometryFile = directory_ + "/zone.geo";
    {
        std::ofstream out(geometryFile, std::ios::binary);
        out << geometry.text();
    }
    const std::string sizeFile = geometry.sizes.kind == Sizes::none ? "" : std::string("zone") + geometry.sizes.extension();
    if (!sizeFile.empty()) {
        std::ofstream out(directory_ + "/" + sizeFile, std::ios::binary);
        out << geometry.sizes.text();
    }
    std::filesystem::remove(meshFile());
    std::fill(itvl_.begin(), itvl_.end(), 0);
    std::fill(rtvl_.begin(), rtvl_.end(), 0.0f);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(directory_);
    std::string console;
    int code = 0;
    {
        const int32_t mode = 2;
        modini = mode;
        ConsoleCapture capture;
        code = mggmem("zone.geo", sizeFile, "out.msh", "", nbn, Vec<int32_t>(itvl_.data(), integers_),
                      Vec<float>(rtvl_.data(), reals_), mode);
        consoleFlush();
        console = capture.text();
        modini = 0;
    }
    std::filesystem::current_path(previous);
    if (code != 0) {
        return "refused (code " + std::to_string(code) + ")\n" + console;
    }
    const std::string checked = checkMeshFiles(meshFile(), geometryFile);
    return checked.empty() ? "" : "invalid mesh: " + checked + "\n" + console;
}

} // namespace tesmo::testing
