// The outputs of a run, checked before the geometry is read.
//
// The mesh file is opened to replace an existing file, the nodal-size file only as a new one
// (its writer refuses a file that exists). Whether a new file can be made in a folder is told
// by making it and removing it at once; an existing mesh file is opened to be added to, which
// changes nothing in it.
#include "shell/output_checks.hpp"

#include "files/es_raffine.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/mg_messages.hpp"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace tesmo {

namespace {

namespace fs = std::filesystem;

/// True when a file of that name exists (whatever it is).
bool present(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

/// True when an existing file can be replaced: a file, not a folder, that opens for writing.
bool replaceable(const fs::path& path)
{
    std::error_code error;
    if (fs::is_directory(path, error)) {
        return false;
    }
    std::ofstream file(path, std::ios::out | std::ios::app);
    return file.is_open();
}

/// True when a new file of that name can be made: its folder exists and takes it (the file is
/// made, then removed).
bool creatable(const fs::path& path)
{
    std::error_code error;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error)) {
        return false;
    }
    {
        std::ofstream file(path, std::ios::out);
        if (!file.is_open()) {
            return false;
        }
    }
    return fs::remove(path, error);
}

/// The name as a path from the root, with ".", ".." and the links of its existing part resolved.
fs::path resolved(const fs::path& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) {
        return path;
    }
    const fs::path canonical = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : canonical;
}

/// True when the two names lead to the same file.
bool sameFile(const fs::path& first, const fs::path& second)
{
    return resolved(first) == resolved(second);
}

/// Reports an output that cannot be written; -1.
int refuse(std::string_view name)
{
    pgReport(kDataError, pgmsg::kWhileWriting, pgmsg::kNone, name);
    return kDataError;
}

} // namespace

int checkOutputs(const RunFiles& files)
{
    const std::string_view meshName = cutText(files.rf1);
    const std::string_view sizesName = cutText(files.rf2);
    const fs::path mesh(meshName);
    const fs::path sizes(sizesName);
    // 1. the mesh file: replaced when it exists
    if (!meshName.empty() && !(present(mesh) ? replaceable(mesh) : creatable(mesh))) {
        return refuse(meshName);
    }
    if (sizesName.empty()) {
        return kOk;
    }
    // 2. the nodal-size file, written only when the size specification gives records (a size
    //    file that cannot be read is refused where it is read, before any meshing): a new file,
    //    which the mesh file written first must not be
    int32_t records = 0;
    if (sizeFileRecords(cutText(files.df2), records) != kOk || records < 1) {
        return kOk;
    }
    if ((!meshName.empty() && sameFile(mesh, sizes)) || present(sizes) || !creatable(sizes)) {
        return refuse(sizesName);
    }
    return kOk;
}

} // namespace tesmo
