#pragma once
// Random but valid geometries for the stress runs: star polygons with deep thin spikes,
// polygons with many round holes, strips of zones with zig-zag shared borders, rectilinear
// staircases on an integer lattice, squares whose sides carry clusters of nearly collinear
// points, and the near-degenerate cases (isolated points very close to each other or to a
// border edge). Every coordinate is a single-precision value, so that scaling a geometry by a
// power of two scales the numbers the program reads exactly.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tesmo::testing {

/// The kinds of size file a geometry is meshed with: none (the default size), a density file
/// (concentrations about points, axes and segments), or one size at each point (a GRD block).
enum class Sizes { none, density, atPoints };
inline constexpr std::array<Sizes, 3> kSizes = {Sizes::none, Sizes::density, Sizes::atPoints};
/// The kind's name, for messages.
const char* sizesName(Sizes sizes);

/// A size file in the making, drawn for a geometry by `drawSizes`.
struct SizeText {
    /// A progression: type (1 geometric, 2 arithmetic), size at its object, ratio or difference.
    struct Progression {
        int type = 1;
        double size = 1.0;
        double step = 1.1;
    };
    /// A concentration: object type (1 point, 2 axis, 3 segment), its progression and points.
    struct Concentration {
        int object = 1;
        int progression = 1;
        int first = 1;
        int second = 0;
    };
    Sizes kind = Sizes::none;
    /// Density file: the points the concentrations name, the progressions, the concentrations
    /// and the generation mode.
    std::vector<std::array<double, 2>> places;
    std::vector<Progression> progressions;
    std::vector<Concentration> concentrations;
    int generation = 2;
    /// Sizes at the points: one per point of the geometry.
    std::vector<double> atPoints;

    /// The file's text ("" for none).
    std::string text() const;
    /// The file name's extension: ".den" or ".grd" ("" for none).
    const char* extension() const;
};

/// A geometry file in the making: points, then borders as point lists with their zones, and
/// the size file it is meshed with.
struct GeometryText {
    int dimension = 2;
    std::vector<std::array<double, 3>> points;
    std::vector<std::string> borders;
    /// The point lists of the borders (the isolated points left out).
    std::vector<std::vector<int>> chains;
    SizeText sizes;
    /// The smallest length the shape was drawn with (distance between points, offset from a
    /// line), which a shift away from the origin must keep well above the resolution.
    double detail = 1.0;

    /// A point of the plane (or of space when z is given); returns its number.
    int point(double x, double y, double z = 0.0);
    /// A closed loop through the points, bounding the zones.
    void loop(const std::vector<int>& ids, const std::vector<int>& zones);
    /// An open chain through the points, bounding the zones.
    void chain(const std::vector<int>& ids, const std::vector<int>& zones);
    /// Isolated points carried by one zone.
    void isolated(const std::vector<int>& ids, int zone);
    /// The geometry file's text (blocks XYZ and ILM).
    std::string text() const;
    /// Every coordinate, size and difference multiplied by `factor` (then rounded to single
    /// precision).
    void scale(double factor);
    /// Every point, those of the concentrations too, moved by (dx, dy) (then rounded to single
    /// precision).
    void shift(double dx, double dy);
    /// Largest extent of the points' box.
    double extent() const;
};

/// A small deterministic generator (splitmix64), the same on every platform.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next();
    /// Uniform in [0, 1).
    double uniform();
    /// Uniform in [low, high).
    double between(double low, double high) { return low + (high - low) * uniform(); }
    /// Uniform integer in [low, high].
    int integer(int low, int high);

private:
    uint64_t state_;
};

/// The kinds of shapes.
enum class Shape { star, holes, strips, staircase, clusteredSquare, closePoints, nearBorder };
inline constexpr std::array<Shape, 7> kShapes = {Shape::star,      Shape::holes,           Shape::strips,
                                                 Shape::staircase, Shape::clusteredSquare, Shape::closePoints,
                                                 Shape::nearBorder};
/// The shape's name, for messages.
const char* shapeName(Shape shape);

/// How a drawn shape is placed: as drawn, scaled by 1e-4, or moved far from the origin.
enum class Placement { drawn, small, far };
const char* placementName(Placement placement);

/// Draws a shape of the kind; `size` grows it (spikes, holes, zones, steps, points: about
/// `size` of each). Same seed, same geometry.
GeometryText drawShape(Shape shape, uint64_t seed, int size);

/// Draws a size file of the kind for a drawn geometry, its sizes about those of its border
/// edges: sizes at the points between 0.4 and 1.6 times the mean length of the edges at each
/// point, or 1 to 3 concentrations (point, axis, segment on the geometry's points) of a size
/// 0.3 to 1.5 times the mean edge length growing by a ratio or a difference. Same seed, same
/// sizes.
void drawSizes(GeometryText& geometry, Sizes kind, uint64_t seed);

/// Places a drawn geometry: scaled by 1e-4, or moved by a distance 2^14 times its smallest
/// detail (every detail stays about 500 times the resolution there).
void place(GeometryText& geometry, Placement placement);

} // namespace tesmo::testing
