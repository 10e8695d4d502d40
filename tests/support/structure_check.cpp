// Invariant checker of the element-face structure, written independently of the face
// queries it checks (only the solid tables are shared).
#include "support/structure_check.hpp"

#include "topology/st_generic.hpp"

#include <algorithm>
#include <sstream>
#include <vector>

namespace tesmo::testing {

namespace {

constexpr int kMaxReported = 5;

int32_t nodeCount(Rows<const int32_t> ITRNOE, int32_t e)
{
    int32_t n = 0;
    while (n < ITRNOE.width() && ITRNOE(e, n + 1) != 0) {
        ++n;
    }
    return n;
}

/// Face count, or -1 for a solid without face table.
int32_t faceCount(int32_t d, int32_t n)
{
    if (d != 3 || n == 0) {
        return n;
    }
    return n == 4 ? 4 : n == 8 ? 6 : -1;
}

/// Node numbers of face k of element e, in face order.
std::vector<int32_t> faceNodes(int32_t d, Rows<const int32_t> ITRNOE, int32_t e, int32_t k)
{
    const int32_t n = nodeCount(ITRNOE, e);
    if (d == 1) {
        return {ITRNOE(e, k)};
    }
    if (d == 2) {
        return {ITRNOE(e, k), ITRNOE(e, k % n + 1)};
    }
    std::vector<int32_t> nodes;
    for (int32_t j = 1; j <= (n == 4 ? 3 : 4); ++j) {
        nodes.push_back(ITRNOE(e, n == 4 ? tetFaceNode(k, j) : hexFaceNode(k, j)));
    }
    return nodes;
}

/// True when `other` runs through the nodes of `face` in the opposite cyclic order.
bool oppositeOrder(const std::vector<int32_t>& face, const std::vector<int32_t>& other)
{
    if (face.size() != other.size()) {
        return false;
    }
    if (face.size() == 1) {
        return face[0] == other[0];
    }
    std::vector<int32_t> reversed(face.rbegin(), face.rend());
    for (std::size_t shift = 0; shift < reversed.size(); ++shift) {
        std::rotate(reversed.begin(), reversed.begin() + 1, reversed.end());
        if (reversed == other) {
            return true;
        }
    }
    return false;
}

class Report {
public:
    std::ostringstream& fault()
    {
        if (count_++ > 0) {
            text_ << "; ";
        }
        return text_;
    }
    bool full() const { return count_ >= kMaxReported; }
    std::string text() const { return text_.str(); }

private:
    std::ostringstream text_;
    int count_ = 0;
};

void checkNeighbours(int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE, int32_t e,
                     Report& report)
{
    const int32_t faces = faceCount(d, nodeCount(ITRNOE, e));
    if (faces < 0 || faces > ITRTRI.width()) {
        report.fault() << "element " << e << ": unknown type or more faces than NFE";
        return;
    }
    for (int32_t k = 1; k <= ITRTRI.width() && !report.full(); ++k) {
        const int32_t t = ITRTRI(e, k);
        if (t == 0) {
            continue;
        }
        if (k > faces) {
            report.fault() << "element " << e << " slot " << k << " past its faces holds " << t;
            continue;
        }
        const int32_t j = t < 0 ? -t : t;
        if (j > NBE) {
            report.fault() << "element " << e << " face " << k << " names " << t << " beyond NBE " << NBE;
            continue;
        }
        if (nodeCount(ITRNOE, j) == 0) {
            report.fault() << "element " << e << " face " << k << " names deleted element " << j;
            continue;
        }
        int32_t backFaces = 0;
        int32_t back = 0;
        int32_t otherSign = 0;
        for (int32_t m = 1; m <= ITRTRI.width(); ++m) {
            if (ITRTRI(j, m) == (t > 0 ? e : -e)) {
                ++backFaces;
                back = m;
            } else if (ITRTRI(j, m) == (t > 0 ? -e : e)) {
                ++otherSign;
            }
        }
        if (backFaces != 1) {
            report.fault() << "element " << e << " face " << k << " names " << t << " but " << j << " holds "
                           << (t > 0 ? e : -e) << " at " << backFaces << " faces"
                           << (otherSign > 0 ? " (with the other sign elsewhere)" : "");
            continue;
        }
        if (!oppositeOrder(faceNodes(d, ITRNOE, e, k), faceNodes(d, ITRNOE, j, back))) {
            report.fault() << "element " << e << " face " << k << " and element " << j << " face " << back
                           << " do not have the same nodes in opposite order";
        }
    }
}

void checkNodeElements(Rows<const int32_t> ITRNOE, int32_t NBE, Vec<const int32_t> NOETRI, Report& report)
{
    std::vector<bool> used(std::size_t(NOETRI.count()) + 1, false);
    for (int32_t e = 1; e <= NBE && !report.full(); ++e) {
        for (int32_t i = 1, n = nodeCount(ITRNOE, e); i <= n; ++i) {
            const int32_t v = ITRNOE(e, i);
            if (v < 1 || v > NOETRI.count()) {
                report.fault() << "element " << e << " holds node " << v << " outside NOETRI (" << NOETRI.count()
                               << " entries)";
                break;
            }
            used[std::size_t(v)] = true;
        }
    }
    for (int32_t v = 1; v <= NOETRI.count() && !report.full(); ++v) {
        const int32_t e = NOETRI(v);
        if (e == 0) {
            if (used[std::size_t(v)]) {
                report.fault() << "NOETRI(" << v << ") is 0 but an element contains the node";
            }
            continue;
        }
        if (e < 0 || e > NBE) {
            report.fault() << "NOETRI(" << v << ") = " << e << " is not an element 1.." << NBE;
            continue;
        }
        bool contains = false;
        for (int32_t i = 1, n = nodeCount(ITRNOE, e); i <= n; ++i) {
            contains = contains || ITRNOE(e, i) == v;
        }
        if (!contains) {
            report.fault() << "NOETRI(" << v << ") = " << e << " but element " << e << " does not contain it";
        }
    }
}

} // namespace

std::string checkStructure(int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE,
                           Vec<const int32_t> NOETRI)
{
    Report report;
    if (d < 1 || d > 3) {
        report.fault() << "dimension " << d << " is not 1, 2 or 3";
        return report.text();
    }
    if (NBE < 0 || NBE > ITRNOE.count() || NBE > ITRTRI.count()) {
        report.fault() << "NBE " << NBE << " does not fit the tables (" << ITRNOE.count() << " and "
                       << ITRTRI.count() << " rows)";
        return report.text();
    }
    for (int32_t e = 1; e <= NBE && !report.full(); ++e) {
        checkNeighbours(d, ITRNOE, ITRTRI, NBE, e, report);
    }
    if (NOETRI.count() > 0 && !report.full()) {
        checkNodeElements(ITRNOE, NBE, NOETRI, report);
    }
    return report.text();
}

} // namespace tesmo::testing
