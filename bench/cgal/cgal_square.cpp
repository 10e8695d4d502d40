// Benchmark peer: CGAL's 2D Delaunay mesher on the unit square, its edges bounded by a size,
// the mesh written to a text file as a whole run of tesmo writes its mesh.
// Usage: cgal_square size TRIANGLES   prints the size bound that gives about that many triangles
//        cgal_square SIZE OUTPUT      meshes with that bound, writes OUTPUT, prints "triangles N"
// so that a whole run of this program at a given size can be timed as tesmo's runs are.
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesh_size_criteria_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Vb = CGAL::Triangulation_vertex_base_with_info_2<long, Kernel>;
using Fb = CGAL::Delaunay_mesh_face_base_2<Kernel>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
using CDT = CGAL::Constrained_Delaunay_triangulation_2<Kernel, Tds>;
using Criteria = CGAL::Delaunay_mesh_size_criteria_2<CDT>;
using Point = CDT::Point;

/// Meshes the unit square with edges of at most `size`; writes the mesh to `path` when given.
/// Returns the triangle count inside the square.
long meshSquare(double size, const char* path)
{
    CDT cdt;
    const Point corners[4] = {Point(0, 0), Point(1, 0), Point(1, 1), Point(0, 1)};
    for (int i = 0; i < 4; ++i) {
        cdt.insert_constraint(corners[i], corners[(i + 1) % 4]);
    }
    // 0.125 is the mesher's default bound on the shape (a smallest angle of about 20.6 degrees)
    CGAL::refine_Delaunay_mesh_2(cdt, Criteria(0.125, size));
    long triangles = 0;
    for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f) {
        triangles += f->is_in_domain() ? 1 : 0;
    }
    if (path == nullptr) {
        return triangles;
    }
    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        return -1;
    }
    std::fprintf(out, "%ld 2\n", long(cdt.number_of_vertices()));
    long count = 0;
    for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v) {
        v->info() = ++count;
        std::fprintf(out, "%.9G %.9G\n", v->point().x(), v->point().y());
    }
    std::fprintf(out, "%ld\n", triangles);
    for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f) {
        if (f->is_in_domain()) {
            std::fprintf(out, "3 %ld %ld %ld 3 1\n", f->vertex(0)->info(), f->vertex(1)->info(), f->vertex(2)->info());
        }
    }
    std::fclose(out);
    return triangles;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: cgal_square size TRIANGLES | cgal_square SIZE OUTPUT\n");
        return 1;
    }
    if (std::string(argv[1]) == "size") {
        // triangles grow as 1 / size^2: one small run sets the constant
        const double trialSize = 0.03;
        const long trial = meshSquare(trialSize, nullptr);
        std::printf("%.6g\n", trialSize * std::sqrt(double(trial) / std::atof(argv[2])));
        return 0;
    }
    const long triangles = meshSquare(std::atof(argv[1]), argv[2]);
    std::printf("triangles %ld\n", triangles);
    return triangles > 0 ? 0 : 1;
}
