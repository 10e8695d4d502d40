#pragma once
// Small owned structures for the topology tests: tables held in vectors, and triangulations
// of a grid of unit squares, each cut by a random diagonal.
#include "support/tables.hpp"

#include <cstdint>
#include <map>
#include <random>
#include <utility>
#include <vector>

namespace tesmo::testing {

/// The tables of one structure, with NNE node slots and NFE neighbour slots per element.
struct Tables {
    Tables(int32_t nodeSlots, int32_t faceSlots, int32_t elements, int32_t nodes, int32_t workSize = 0)
        : NNE(nodeSlots), NFE(faceSlots), nodeRows(std::size_t(nodeSlots) * elements, 0),
          neighbourRows(std::size_t(faceSlots) * elements, 0),
          noetri(std::size_t(nodes), 0), work(std::size_t(workSize), 0)
    {
    }
    Rows<int32_t> ITRNOE() { return Rows<int32_t>(nodeRows.data(), NNE, int32_t(nodeRows.size() / NNE)); }
    Rows<int32_t> ITRTRI() { return Rows<int32_t>(neighbourRows.data(), NFE, NFE == 0 ? 0 : int32_t(neighbourRows.size() / NFE)); }
    Vec<int32_t> NOETRI() { return Vec<int32_t>(noetri.data(), int32_t(noetri.size())); }
    Vec<int32_t> WORK() { return Vec<int32_t>(work.data(), int32_t(work.size())); }
    /// Writes element e's node row.
    void element(int32_t e, std::vector<int32_t> nodes)
    {
        for (int32_t k = 1; k <= NNE; ++k) {
            ITRNOE()(e, k) = k <= int32_t(nodes.size()) ? nodes[std::size_t(k - 1)] : 0;
        }
    }
    std::vector<int32_t> nodesOf(int32_t e) { return {ITRNOE().row(e), ITRNOE().row(e) + NNE}; }
    std::vector<int32_t> neighboursOf(int32_t e) { return {ITRTRI().row(e), ITRTRI().row(e) + NFE}; }

    int32_t NNE;
    int32_t NFE;
    std::vector<int32_t> nodeRows;
    std::vector<int32_t> neighbourRows;
    std::vector<int32_t> noetri;
    std::vector<int32_t> work;
};

/// Triangles of a grid of nx by ny unit squares, counter-clockwise, each square cut by a
/// random diagonal; node (i, j) is number j (nx + 1) + i + 1, at (i, j).
struct GridTriangulation {
    int32_t nodeCount = 0;
    int32_t triangleCount = 0;
    std::vector<float> coord;       ///< 2 per node
    std::vector<int32_t> triangles; ///< 3 per triangle

    GridTriangulation(int32_t nx, int32_t ny, std::mt19937& random)
    {
        nodeCount = (nx + 1) * (ny + 1);
        for (int32_t j = 0; j <= ny; ++j) {
            for (int32_t i = 0; i <= nx; ++i) {
                coord.push_back(float(i));
                coord.push_back(float(j));
            }
        }
        auto node = [&](int32_t i, int32_t j) { return j * (nx + 1) + i + 1; };
        for (int32_t j = 0; j < ny; ++j) {
            for (int32_t i = 0; i < nx; ++i) {
                const int32_t a = node(i, j), b = node(i + 1, j), c = node(i + 1, j + 1), d = node(i, j + 1);
                if (random() % 2 == 0) {
                    add({a, b, c});
                    add({a, c, d});
                } else {
                    add({a, b, d});
                    add({b, c, d});
                }
            }
        }
    }
    Rows<const float> COORD() const { return Rows<const float>(coord.data(), 2, nodeCount); }
    Rows<const int32_t> rows() const { return Rows<const int32_t>(triangles.data(), 3, triangleCount); }

private:
    void add(std::vector<int32_t> t)
    {
        triangles.insert(triangles.end(), t.begin(), t.end());
        ++triangleCount;
    }
};

/// For every face (a, b) of the triangles, the triangle holding it and its face number.
inline std::map<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>> directedFaces(Rows<const int32_t> rows,
                                                                                        int32_t count)
{
    std::map<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>> faces;
    for (int32_t e = 1; e <= count; ++e) {
        for (int32_t k = 1; k <= 3; ++k) {
            faces[{rows(e, k), rows(e, k % 3 + 1)}] = {e, k};
        }
    }
    return faces;
}

} // namespace tesmo::testing
