// Invariant checker of the element-face structure, written independently of the face
// queries it checks (only the solid tables are shared).
#include "support/structure_check.hpp"

#include "topology/st_generic.hpp"

#include <algorithm>
#include <sstream>
#include <vector>

namespace tesmo::testing {

namespace {

int32_t nodeCount(Rows<const int32_t> ITRNOE, int32_t e)
{
    int32_t n = 0;
    while (n < ITRNOE.width() && ITRNOE(e, n + 1) != 0) {
        ++n;
    }
    return n;
}

/// Node numbers of face k of element e in face order; empty for a solid without table.
std::vector<int32_t> faceNodes(int32_t d, Rows<const int32_t> ITRNOE, int32_t e, int32_t k)
{
    const int32_t n = nodeCount(ITRNOE, e);
    if (d < 3) {
        return d == 1 ? std::vector<int32_t>{ITRNOE(e, k)} : std::vector<int32_t>{ITRNOE(e, k), ITRNOE(e, k % n + 1)};
    }
    std::vector<int32_t> nodes;
    for (int32_t j = 1; (n == 4 || n == 8) && j <= (n == 4 ? 3 : 4); ++j) {
        nodes.push_back(ITRNOE(e, n == 4 ? tetFaceNode(k, j) : hexFaceNode(k, j)));
    }
    return nodes;
}

/// True when `other` runs through the nodes of `face` in the opposite cyclic order.
bool oppositeOrder(std::vector<int32_t> face, const std::vector<int32_t>& other)
{
    std::reverse(face.begin(), face.end());
    for (std::size_t turn = 0; turn < face.size() && face.size() == other.size(); ++turn) {
        if (face == other) {
            return true;
        }
        std::rotate(face.begin(), face.begin() + 1, face.end());
    }
    return false;
}

/// Collects the first faults, separated by "; ".
struct Report {
    std::ostringstream text;
    int count = 0;
    std::ostream& fault() { return count++ > 0 ? text << "; " : text; }
    bool full() const { return count >= 5; }
};

void checkNeighbours(int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE, int32_t e,
                     Report& report)
{
    const int32_t n = nodeCount(ITRNOE, e);
    const int32_t faces = d != 3 || n == 0 ? n : n == 4 ? 4 : n == 8 ? 6 : -1;
    if (faces < 0 || faces > ITRTRI.width()) {
        report.fault() << "element " << e << ": unknown type or more faces than NFE";
        return;
    }
    for (int32_t k = 1; k <= ITRTRI.width() && !report.full(); ++k) {
        const int32_t t = ITRTRI(e, k), j = t < 0 ? -t : t, back = t > 0 ? e : -e;
        if (t == 0) {
            continue;
        }
        if (k > faces || j > NBE || nodeCount(ITRNOE, j) == 0) {
            report.fault() << "element " << e << (k > faces ? " slot " : " face ") << k
                           << (k > faces ? " past its faces holds " : " names ") << t
                           << (k > faces ? "" : j > NBE ? " beyond NBE " + std::to_string(NBE) : " a deleted element");
            continue;
        }
        int32_t found = 0, at = 0, otherSign = 0;
        for (int32_t m = 1; m <= ITRTRI.width(); ++m) {
            found += ITRTRI(j, m) == back ? (at = m, 1) : 0;
            otherSign += ITRTRI(j, m) == -back ? 1 : 0;
        }
        if (found != 1) {
            report.fault() << "element " << e << " face " << k << " names " << t << " but " << j << " holds " << back
                           << " at " << found << " faces" << (otherSign > 0 ? " (with the other sign elsewhere)" : "");
        } else if (!oppositeOrder(faceNodes(d, ITRNOE, e, k), faceNodes(d, ITRNOE, j, at))) {
            report.fault() << "element " << e << " face " << k << " and element " << j << " face " << at
                           << " do not have the same nodes in opposite order";
        }
    }
}

void checkNodeElements(Rows<const int32_t> ITRNOE, int32_t NBE, Vec<const int32_t> NOETRI, Report& report)
{
    std::vector<bool> used(std::size_t(NOETRI.count()) + 1, false);
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t i = 1, n = nodeCount(ITRNOE, e); i <= n; ++i) {
            const int32_t v = ITRNOE(e, i);
            if (v < 1 || v > NOETRI.count()) {
                report.fault() << "element " << e << " holds node " << v << " outside NOETRI";
                return;
            }
            used[std::size_t(v)] = true;
        }
    }
    for (int32_t v = 1; v <= NOETRI.count() && !report.full(); ++v) {
        const int32_t e = NOETRI(v);
        bool contains = false;
        for (int32_t i = 1, n = e >= 1 && e <= NBE ? nodeCount(ITRNOE, e) : 0; i <= n; ++i) {
            contains = contains || ITRNOE(e, i) == v;
        }
        if (e == 0 && used[std::size_t(v)]) {
            report.fault() << "NOETRI(" << v << ") is 0 but an element contains the node";
        } else if (e != 0 && !contains) {
            report.fault() << "NOETRI(" << v << ") = " << e << " is not an element containing the node";
        }
    }
}

} // namespace

std::string checkStructure(int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE,
                           Vec<const int32_t> NOETRI)
{
    Report report;
    if (d < 1 || d > 3 || NBE < 0 || NBE > ITRNOE.count() || NBE > ITRTRI.count()) {
        report.fault() << "dimension " << d << " or NBE " << NBE << " does not fit the tables";
        return report.text.str();
    }
    for (int32_t e = 1; e <= NBE && !report.full(); ++e) {
        checkNeighbours(d, ITRNOE, ITRTRI, NBE, e, report);
    }
    if (NOETRI.count() > 0 && !report.full()) {
        checkNodeElements(ITRNOE, NBE, NOETRI, report);
    }
    return report.text.str();
}

} // namespace tesmo::testing
