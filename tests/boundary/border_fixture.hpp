#pragma once
// A border of points and edges held in vectors, with the capacities the refinement sees.
#include "boundary/st_1dstruct.hpp"

#include <vector>

namespace tesmo::testing {

struct Border {
    /// `xy`: the points (rows of 2); `pairs`: the edges; room for `nodes` nodes and `edges` edges.
    Border(std::vector<float> xy, std::vector<int32_t> pairs, int32_t nodes, int32_t edges, bool linked = false)
        : coordinates(std::move(xy)), edgeNodes(std::move(pairs))
    {
        const int32_t n = int32_t(coordinates.size() / 2);
        const int32_t m = int32_t(edgeNodes.size() / 2);
        coordinates.resize(std::size_t(2 * nodes), 0.0f);
        edgeNodes.resize(std::size_t(2 * edges), 0);
        codes.assign(std::size_t(2 * edges), 0);
        for (int32_t e = 0; e < m; ++e) {
            codes[std::size_t(2 * e)] = 7 + e; // a distinct attribute row per edge
        }
        mesh.edges = Rows<int32_t>(edgeNodes.data(), 2, edges);
        mesh.edgeCount = m;
        mesh.attributes = Rows<int32_t>(codes.data(), 2, edges);
        mesh.coordinates = Rows<float>(coordinates.data(), 2, nodes);
        mesh.nodeCount = n;
        if (linked) {
            // one open chain per run of edges that follow each other
            links.assign(std::size_t(2 * edges), 0);
            nodeEdge.assign(std::size_t(nodes), 0);
            for (int32_t e = 1; e <= m; ++e) {
                const bool follows = e > 1 && edgeNodes[std::size_t(2 * e - 2)] == edgeNodes[std::size_t(2 * e - 3)];
                if (follows) {
                    links[std::size_t(2 * e - 2)] = e - 1;
                    links[std::size_t(2 * e - 3)] = e;
                }
                nodeEdge[std::size_t(edgeNodes[std::size_t(2 * e - 2)] - 1)] = e;
                nodeEdge[std::size_t(edgeNodes[std::size_t(2 * e - 1)] - 1)] = e;
            }
            mesh.neighbours = Rows<int32_t>(links.data(), 2, edges);
            mesh.nodeEdge = Vec<int32_t>(nodeEdge.data(), nodes);
        }
    }
    Border(const Border&) = delete;
    Border& operator=(const Border&) = delete;
    /// x of node k.
    float x(int32_t k) const { return coordinates[std::size_t(2 * (k - 1))]; }
    /// x of every node, in node order.
    std::vector<float> xs() const
    {
        std::vector<float> out;
        for (int32_t k = 1; k <= mesh.nodeCount; ++k) {
            out.push_back(x(k));
        }
        return out;
    }
    std::vector<float> coordinates;
    std::vector<int32_t> edgeNodes;
    std::vector<int32_t> codes;
    std::vector<int32_t> links;
    std::vector<int32_t> nodeEdge;
    BorderMesh mesh;
};

} // namespace tesmo::testing
