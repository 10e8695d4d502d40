#pragma once
// Owned structures for the topology tests, and grids of unit squares cut by random diagonals.
#include "support/structure_check.hpp"
#include "topology/st_topologie.hpp"

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <vector>

namespace tesmo::testing {

/// The tables of one structure: NNE node slots and NFE neighbour slots per element.
struct Tables {
    Tables(int32_t nodeSlots, int32_t faceSlots, const std::vector<std::vector<int32_t>>& elements, int32_t nodes,
           int32_t workSize = 4096)
        : NNE(nodeSlots), NFE(faceSlots), NBE(int32_t(elements.size())), nodeRows(std::size_t(NNE * NBE), 0),
          neighbourRows(std::size_t(NFE * NBE), 0), noetri(std::size_t(nodes), 0), work(std::size_t(workSize), 0)
    {
        for (int32_t e = 1; e <= NBE; ++e) {
            std::copy(elements[std::size_t(e - 1)].begin(), elements[std::size_t(e - 1)].end(), ITRNOE().row(e));
        }
    }
    Rows<int32_t> ITRNOE() { return Rows<int32_t>(nodeRows.data(), NNE, NBE); }
    Rows<int32_t> ITRTRI() { return Rows<int32_t>(neighbourRows.data(), NFE, NFE == 0 ? 0 : NBE); }
    Vec<int32_t> NOETRI() { return Vec<int32_t>(noetri.data(), int32_t(noetri.size())); }
    Vec<int32_t> WORK() { return Vec<int32_t>(work.data(), int32_t(work.size())); }
    int smacre(int32_t d) { return tesmo::smacre(d, ITRNOE(), NBE, int32_t(noetri.size()), ITRNOE(), ITRTRI(), NOETRI(), WORK()); }
    std::string check(int32_t d, bool withNodes = true)
    {
        return checkStructure(d, ITRNOE(), ITRTRI(), NBE, withNodes ? NOETRI() : Vec<int32_t>());
    }
    std::vector<int32_t> nodesOf(int32_t e) { return {ITRNOE().row(e), ITRNOE().row(e) + NNE}; }
    std::vector<int32_t> across(int32_t e) { return {ITRTRI().row(e), ITRTRI().row(e) + NFE}; }

    int32_t NNE, NFE, NBE;
    std::vector<int32_t> nodeRows, neighbourRows, noetri, work;
};

/// Counter-clockwise triangles of nx by ny unit squares, each cut by a random diagonal;
/// node (i, j) at (i, j) is number j (nx + 1) + i + 1. Optionally in a random order with
/// each row turned by a random amount.
struct Grid {
    Grid(int32_t nx, int32_t ny, std::mt19937& random, bool shuffled = false) : columns(nx + 1), rows(ny + 1)
    {
        for (int32_t j = 0; j <= ny; ++j) {
            for (int32_t i = 0; i <= nx; ++i) {
                coord.insert(coord.end(), {float(i), float(j)});
            }
        }
        for (int32_t j = 0; j < ny; ++j) {
            for (int32_t i = 0; i < nx; ++i) {
                const int32_t a = node(i, j), b = node(i + 1, j), c = node(i + 1, j + 1), d = node(i, j + 1);
                const bool rising = random() % 2 == 0;
                triangles.push_back({a, b, rising ? c : d});
                triangles.push_back({rising ? a : b, c, d});
            }
        }
        if (shuffled) {
            std::shuffle(triangles.begin(), triangles.end(), random);
            for (auto& t : triangles) {
                std::rotate(t.begin(), t.begin() + random() % 3, t.end());
            }
        }
    }
    int32_t node(int32_t i, int32_t j) const { return j * columns + i + 1; }
    int32_t nodeCount() const { return columns * rows; }
    bool onBoundary(int32_t v) const
    {
        const int32_t i = (v - 1) % columns, j = (v - 1) / columns;
        return i == 0 || j == 0 || i == columns - 1 || j == rows - 1;
    }
    Rows<const float> COORD() const { return Rows<const float>(coord.data(), 2, nodeCount()); }
    Tables tables() const { return Tables(3, 3, triangles, nodeCount()); }

    int32_t columns, rows;
    std::vector<float> coord;
    std::vector<std::vector<int32_t>> triangles;
};

/// For every face (a, b) of the triangles, the triangle holding it and its face number.
inline std::map<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>> directedFaces(Tables& t)
{
    std::map<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>> faces;
    for (int32_t e = 1; e <= t.NBE; ++e) {
        for (int32_t k = 1; k <= 3; ++k) {
            faces[{t.ITRNOE()(e, k), t.ITRNOE()(e, k % 3 + 1)}] = {e, k};
        }
    }
    return faces;
}

} // namespace tesmo::testing
