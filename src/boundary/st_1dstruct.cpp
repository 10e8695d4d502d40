// Splitting a border edge at a new node.
//
//   before:  a ------- e ------- b        after:  a --- e --- q --- l --- b
//   neighbours of e: (p, u)                        e: (p, l)   l: (e, u)   u: (l, ...)
#include "boundary/st_1dstruct.hpp"

#include "messages/es_erreur.hpp"

namespace tesmo {

namespace {
constexpr const char* kModule = "ST";
} // namespace

int s1ajno(int32_t e, int32_t q, int32_t& m, Rows<int32_t> edges, Rows<int32_t> neighbours, Vec<int32_t> nodeEdge,
           int32_t& edge)
{
    // 1. the edge to split
    edge = 0;
    const bool linked = neighbours.width() > 0;
    if (e <= 0 || q < 1 || e > m || m > edges.count() || edges.width() < 2 ||
        (linked && (neighbours.width() < 2 || m > neighbours.count()))) {
        return traced(kDataError, kModule, "DANS S1AJNO : NUMERO INCORRECT");
    }
    const int32_t a = edges(e, 1);
    const int32_t b = edges(e, 2);
    if (b <= 0) {
        return traced(kDataError, kModule, "DANS S1AJNO : PAS D ARETE A DECOUPER");
    }
    const int32_t l = m + 1;
    if (l > edges.count() || (linked && l > neighbours.count())) {
        return traced(kCapacityError, kModule, "DANS S1AJNO : TROP D ARETES");
    }
    const int32_t u = linked ? neighbours(e, 2) : 0;
    if (u < -m || u > m) {
        return traced(kDataError, kModule, "DANS S1AJNO : NUMERO INCORRECT");
    }
    // 2. the new edge
    edges(l, 1) = q;
    edges(l, 2) = b;
    // 3. the node-to-edge table
    if (nodeEdge.count() > 0) {
        if (nodeEdge.count() < q || nodeEdge.count() < b) {
            return traced(kCapacityError, kModule, "DANS S1AJNO : NOEMAX TROP PETIT");
        }
        nodeEdge(q) = l;
        nodeEdge(b) = l;
    }
    // 4. the first half
    edges(e, 1) = a;
    edges(e, 2) = q;
    // 5. the new edge between e and its old successor
    if (linked) {
        neighbours(l, 1) = e;
        neighbours(l, 2) = u;
        neighbours(e, 2) = l;
        if (u > 0) {
            neighbours(u, 1) = l;
        } else if (u < 0) {
            neighbours(-u, 1) = -l;
        }
    }
    // 6. one edge more
    m = l;
    edge = l;
    return kOk;
}

} // namespace tesmo

namespace tesmo {

int cutAtNewNode(BorderMesh& border, int32_t e, const float* point, int32_t& node, int32_t& edge, bool& nodeFailed)
{
    edge = 0;
    nodeFailed = true;
    int code = s0ajno(point, border.coordinates, border.nodeCount, Vec<int32_t>(), node);
    if (code != kOk) {
        return code;
    }
    nodeFailed = false;
    code = s1ajno(e, node, border.edgeCount, border.edges, border.neighbours, border.nodeEdge, edge);
    if (code != kOk) {
        return code;
    }
    const Rows<int32_t> attributes = border.attributes;
    if (edge <= attributes.count() && e <= attributes.count()) {
        for (int32_t j = 1; j <= attributes.width(); ++j) {
            attributes(edge, j) = attributes(e, j);
        }
    }
    return kOk;
}

} // namespace tesmo
