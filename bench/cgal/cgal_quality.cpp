// Benchmark peer of the quality figures: CGAL's 2D Delaunay mesher on a tesmo geometry (its
// closed borders: the largest is the outline, the others holes), with its default shape bound
// (0.125, a smallest angle of about 20.7 degrees) and a size field scaled until the mesh has
// about a given number of triangles; the smallest angles are then measured here, in double.
// Usage: cgal_quality GEOMETRY SIZING TRIANGLES
//   SIZING  uniform:H                     the same size everywhere
//           points:X,Y,H,Q[;X,Y,H,Q...]   the smallest of the sizes H + (Q - 1) d at distance d
//                                         from each point (a geometric progression of ratio Q)
// Prints "triangles N min A mean B below30 S" (angles in degrees, S the share in percent).
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesh_criteria_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <list>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Vb = CGAL::Triangulation_vertex_base_2<Kernel>;
using Fb = CGAL::Delaunay_mesh_face_base_2<Kernel>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
using CDT = CGAL::Constrained_Delaunay_triangulation_2<Kernel, Tds>;
using Point = CDT::Point;

constexpr double kShapeBound = 0.125; // CGAL's default: B = sin^2 of the smallest angle
constexpr double kPi = 3.14159265358979323846;

struct Concentration {
    double x, y, h, q;
};

/// The size field: uniform, or the smallest progression about the points; times `scale`.
struct SizeField {
    double uniform = 0.0;
    std::vector<Concentration> points;
    double scale = 1.0;
    double at(double x, double y) const
    {
        if (points.empty()) {
            return uniform * scale;
        }
        double size = 1e300;
        for (const Concentration& c : points) {
            size = std::min(size, c.h + (c.q - 1.0) * std::hypot(x - c.x, y - c.y));
        }
        return size * scale;
    }
};

/// The shape bound of CGAL with a size field: a face is bad when its longest edge exceeds the
/// field at its centroid.
class Criteria : public CGAL::Delaunay_mesh_criteria_2<CDT> {
public:
    using Base = CGAL::Delaunay_mesh_criteria_2<CDT>;
    struct Quality : public std::pair<double, double> {
        Quality() = default;
        Quality(double sine, double size) : std::pair<double, double>(sine, size) {}
        double sine() const { return first; }
        double size() const { return second; }
        bool operator<(const Quality& q) const
        {
            if (size() > 1) {
                return q.size() > 1 ? size() > q.size() : true;
            }
            return q.size() > 1 ? false : sine() < q.sine();
        }
    };
    class Is_bad : public Base::Is_bad {
    public:
        Is_bad(const SizeField* field, const Kernel& geometryTraits) : Base::Is_bad(kShapeBound, geometryTraits), field_(field) {}
        CGAL::Mesh_2::Face_badness operator()(const Quality q) const
        {
            if (q.size() > 1) {
                return CGAL::Mesh_2::IMPERATIVELY_BAD;
            }
            return q.sine() < this->B ? CGAL::Mesh_2::BAD : CGAL::Mesh_2::NOT_BAD;
        }
        CGAL::Mesh_2::Face_badness operator()(const CDT::Face_handle& fh, Quality& q) const
        {
            const Point& a = fh->vertex(0)->point();
            const Point& b = fh->vertex(1)->point();
            const Point& c = fh->vertex(2)->point();
            const double ab = CGAL::to_double(CGAL::squared_distance(a, b));
            const double bc = CGAL::to_double(CGAL::squared_distance(b, c));
            const double ca = CGAL::to_double(CGAL::squared_distance(c, a));
            const double longest = std::max({ab, bc, ca});
            const double size = field_->at((a.x() + b.x() + c.x()) / 3.0, (a.y() + b.y() + c.y()) / 3.0);
            q.second = longest / (size * size);
            if (q.size() > 1) {
                q.first = 1;
                return CGAL::Mesh_2::IMPERATIVELY_BAD;
            }
            // the squared sine of the smallest angle: area over the two longer edges
            const double area = 2.0 * CGAL::to_double(CGAL::area(a, b, c));
            const double second = ab + bc + ca - longest - std::min({ab, bc, ca});
            q.first = (area * area) / (longest * second);
            return (*this)(q);
        }

    private:
        const SizeField* field_;
    };
    explicit Criteria(const SizeField* field) : Base(kShapeBound), field_(field) {}
    Is_bad is_bad_object() const { return Is_bad(field_, Kernel()); }

private:
    const SizeField* field_;
};

/// A geometry file's closed borders as loops of points.
bool readLoops(const std::string& path, std::vector<std::vector<Point>>& loops)
{
    std::ifstream in(path);
    std::string line, text;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] != '*') {
            text += line + '\n';
        }
    }
    std::istringstream words(text);
    std::vector<std::string> tokens{std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
    auto find = [&](const char* tag) { return std::find(tokens.begin(), tokens.end(), tag) - tokens.begin(); };
    std::size_t i = std::size_t(find("DEBXYZ")) + 1;
    if (i >= tokens.size()) {
        return false;
    }
    const int npts = std::stoi(tokens[i]), ndim = std::stoi(tokens[i + 1]);
    i += 2;
    std::vector<Point> points;
    for (int k = 0; k < npts; ++k, i += std::size_t(ndim)) {
        points.emplace_back(std::stod(tokens[i]), std::stod(tokens[i + 1]));
    }
    i = std::size_t(find("DEBILM")) + 1;
    const int borders = std::stoi(tokens[i++]);
    for (int b = 0; b < borders; ++b) {
        const int n = std::stoi(tokens[i++]);
        std::vector<int> ids;
        for (int k = 0; k < n; ++k) {
            ids.push_back(std::stoi(tokens[i++]));
        }
        const int code = std::stoi(tokens[i++]);
        i += std::size_t(std::stoi(tokens[i])) + 1;
        if (code == 100 && ids.size() > 2 && ids.front() == ids.back()) {
            std::vector<Point> loop;
            for (std::size_t k = 0; k + 1 < ids.size(); ++k) {
                loop.push_back(points[std::size_t(ids[k] - 1)]);
            }
            loops.push_back(loop);
        }
    }
    return !loops.empty();
}

double loopArea(const std::vector<Point>& loop)
{
    double area = 0.0;
    for (std::size_t k = 0; k < loop.size(); ++k) {
        const Point& p = loop[k];
        const Point& q = loop[(k + 1) % loop.size()];
        area += p.x() * q.y() - q.x() * p.y();
    }
    return area / 2.0;
}

bool inside(const std::vector<Point>& loop, double x, double y)
{
    bool in = false;
    for (std::size_t k = 0, j = loop.size() - 1; k < loop.size(); j = k++) {
        const Point& p = loop[k];
        const Point& q = loop[j];
        if ((p.y() > y) != (q.y() > y) && x < (q.x() - p.x()) * (y - p.y()) / (q.y() - p.y()) + p.x()) {
            in = !in;
        }
    }
    return in;
}

/// A point just inside the loop, beside the middle of its first edge.
Point seedOf(const std::vector<Point>& loop)
{
    const Point& p = loop[0];
    const Point& q = loop[1];
    const double mx = (p.x() + q.x()) / 2.0, my = (p.y() + q.y()) / 2.0;
    const double nx = -(q.y() - p.y()) * 1e-3, ny = (q.x() - p.x()) * 1e-3;
    return inside(loop, mx + nx, my + ny) ? Point(mx + nx, my + ny) : Point(mx - nx, my - ny);
}

struct Figures {
    long triangles = 0;
    double smallest = 180.0, mean = 0.0, below30 = 0.0;
};

Figures meshOnce(const std::vector<std::vector<Point>>& loops, const SizeField& field)
{
    CDT cdt;
    for (const auto& loop : loops) {
        for (std::size_t k = 0; k < loop.size(); ++k) {
            cdt.insert_constraint(loop[k], loop[(k + 1) % loop.size()]);
        }
    }
    std::size_t outline = 0;
    for (std::size_t k = 1; k < loops.size(); ++k) {
        outline = std::fabs(loopArea(loops[k])) > std::fabs(loopArea(loops[outline])) ? k : outline;
    }
    std::list<Point> seeds;
    for (std::size_t k = 0; k < loops.size(); ++k) {
        if (k != outline) {
            seeds.push_back(seedOf(loops[k]));
        }
    }
    CGAL::refine_Delaunay_mesh_2(cdt, seeds.begin(), seeds.end(), Criteria(&field));
    Figures f;
    for (auto face = cdt.finite_faces_begin(); face != cdt.finite_faces_end(); ++face) {
        if (!face->is_in_domain()) {
            continue;
        }
        const Point& a = face->vertex(0)->point();
        const Point& b = face->vertex(1)->point();
        const Point& c = face->vertex(2)->point();
        const double ab = std::sqrt(CGAL::to_double(CGAL::squared_distance(a, b)));
        const double bc = std::sqrt(CGAL::to_double(CGAL::squared_distance(b, c)));
        const double ca = std::sqrt(CGAL::to_double(CGAL::squared_distance(c, a)));
        const double twice = std::fabs(2.0 * CGAL::to_double(CGAL::area(a, b, c)));
        const double angles[3] = {std::atan2(twice, (ab * ab + ca * ca - bc * bc) / 2.0),
                                  std::atan2(twice, (ab * ab + bc * bc - ca * ca) / 2.0),
                                  std::atan2(twice, (bc * bc + ca * ca - ab * ab) / 2.0)};
        const double smallest = *std::min_element(angles, angles + 3) * 180.0 / kPi;
        ++f.triangles;
        f.smallest = std::min(f.smallest, smallest);
        f.mean += smallest;
        f.below30 += smallest < 30.0 ? 1.0 : 0.0;
    }
    if (f.triangles > 0) {
        f.mean /= double(f.triangles);
        f.below30 = 100.0 * f.below30 / double(f.triangles);
    }
    return f;
}

bool readField(const std::string& text, SizeField& field)
{
    if (text.rfind("uniform:", 0) == 0) {
        field.uniform = std::atof(text.c_str() + 8);
        return field.uniform > 0.0;
    }
    if (text.rfind("points:", 0) != 0) {
        return false;
    }
    std::istringstream in(text.substr(7));
    for (std::string item; std::getline(in, item, ';');) {
        Concentration c{};
        if (std::sscanf(item.c_str(), "%lf,%lf,%lf,%lf", &c.x, &c.y, &c.h, &c.q) != 4 || !(c.h > 0.0)) {
            return false;
        }
        field.points.push_back(c);
    }
    return !field.points.empty();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::vector<Point>> loops;
    SizeField field;
    if (argc != 4 || !readLoops(argv[1], loops) || !readField(argv[2], field)) {
        std::fprintf(stderr, "usage: cgal_quality GEOMETRY uniform:H|points:X,Y,H,Q[;...] TRIANGLES\n");
        return 1;
    }
    // the triangles grow as the inverse square of the size: a few runs scale the field to the
    // count asked for
    const double target = std::atof(argv[3]);
    Figures f = meshOnce(loops, field);
    for (int round = 0; round < 4 && f.triangles > 0 && std::fabs(double(f.triangles) / target - 1.0) > 0.01; ++round) {
        field.scale *= std::sqrt(double(f.triangles) / target);
        f = meshOnce(loops, field);
    }
    std::printf("triangles %ld min %.4f mean %.4f below30 %.2f\n", f.triangles, f.smallest, f.mean, f.below30);
    return f.triangles > 0 ? 0 : 1;
}
