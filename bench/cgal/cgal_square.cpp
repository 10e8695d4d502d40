// Benchmark peer: CGAL's 2D Delaunay mesher on the unit square, at a size that gives about the
// triangle count asked for, written to a text file as a whole run of tesmo writes its mesh.
// Usage: cgal_square TRIANGLES OUTPUT
// Prints "triangles N seconds T": T is the wall time of the meshing and the writing of the
// timed run (a first, untimed run at a guessed size sets the size of the timed one).
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesh_size_criteria_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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
        std::fprintf(stderr, "usage: cgal_square TRIANGLES OUTPUT\n");
        return 1;
    }
    const double wanted = std::atof(argv[1]);
    // triangles grow as 1 / size^2: one small untimed run sets the size
    const double trialSize = 0.03;
    const long trial = meshSquare(trialSize, nullptr);
    const double size = trialSize * std::sqrt(double(trial) / wanted);
    const auto start = std::chrono::steady_clock::now();
    const long triangles = meshSquare(size, argv[2]);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("triangles %ld seconds %.3f\n", triangles, elapsed.count());
    return triangles > 0 ? 0 : 1;
}
