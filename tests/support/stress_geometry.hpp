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

/// A geometry file in the making: points, then borders as point lists with their zones.
struct GeometryText {
    int dimension = 2;
    std::vector<std::array<double, 3>> points;
    std::vector<std::string> borders;
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
    /// Every coordinate multiplied by `factor` (then rounded to single precision).
    void scale(double factor);
    /// Every point moved by (dx, dy) (then rounded to single precision).
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

/// Places a drawn geometry: scaled by 1e-4, or moved by a distance 2^14 times its smallest
/// detail (every detail stays about 500 times the resolution there).
void place(GeometryText& geometry, Placement placement);

} // namespace tesmo::testing
