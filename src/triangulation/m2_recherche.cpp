// The cavity of a point: the triangles whose circles contain it, connected through their
// faces. The search keeps three runs in one work list:
//
//   work(1..inside)            the cavity so far
//   work(inside+1..queued)     elements reached and not yet tested
//   work(count-left+1..count)  elements tested and left out
//
// Every element of the three runs is marked while the search runs by the sign of its first
// node (node numbers are positive), so that "already listed" costs one look; all marks are
// undone before the search returns. The cavity is the set of elements connected to the
// start through cavity elements and containing the point, whatever the order the queue is
// served in.
#include "triangulation/m2_recherche.hpp"

#include "topology/st_struct.hpp"
#include "triangulation/d2_sph2d.hpp"

namespace tesmo {

namespace {

/// A triangle whose three nodes have coordinates (its first node possibly marked).
bool isTriangle(Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD)
{
    if (strnbn(ITRNOE.row(e), ITRNOE.width()) != 3) {
        return false;
    }
    for (int32_t i = 1; i <= 3; ++i) {
        const int32_t v = ITRNOE(e, i) < 0 ? -ITRNOE(e, i) : ITRNOE(e, i);
        if (v < 1 || v > COORD.count()) {
            return false;
        }
    }
    return true;
}

bool tablesHold(Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, Rows<const float> spheres, int32_t NBE,
                Rows<const float> COORD)
{
    return NBE <= ITRNOE.count() && NBE <= ITRTRI.count() && NBE <= spheres.count() && ITRNOE.width() >= 3 &&
           ITRTRI.width() >= 3 && spheres.width() >= 2 && COORD.width() >= 2;
}

/// The three runs of the search and their marks.
class CavitySearch {
public:
    CavitySearch(Rows<int32_t> nodes, Vec<int32_t> list) : ITRNOE(nodes), work(list) {}
    ~CavitySearch() { unmarkAll(); }
    CavitySearch(const CavitySearch&) = delete;
    CavitySearch& operator=(const CavitySearch&) = delete;

    bool listed(int32_t e) const { return ITRNOE(e, 1) < 0; }
    /// Appends e to the queue, marked. False when the work list is full.
    bool enqueue(int32_t e)
    {
        if (queued + left >= work.count()) {
            return false;
        }
        work(++queued) = e;
        ITRNOE(e, 1) = -ITRNOE(e, 1);
        return true;
    }
    /// Moves the element under test to the left-out run; the last queued takes its slot.
    void leaveOut()
    {
        const int32_t e = work(inside + 1);
        work(inside + 1) = work(queued);
        --queued;
        ++left;
        work(work.count() - left + 1) = e;
    }
    void unmarkAll()
    {
        for (int32_t i = 1; i <= queued; ++i) {
            unmark(work(i));
        }
        for (int32_t i = work.count() - left + 1; i <= work.count(); ++i) {
            unmark(work(i));
        }
        queued = 0;
        left = 0;
    }

    int32_t inside = 0;
    int32_t queued = 0;
    int32_t left = 0;

private:
    void unmark(int32_t e)
    {
        if (ITRNOE(e, 1) < 0) {
            ITRNOE(e, 1) = -ITRNOE(e, 1);
        }
    }

    Rows<int32_t> ITRNOE;
    Vec<int32_t> work;
};

} // namespace

int rtconn(const float* x, int32_t start, Rows<int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE,
           Rows<const float> COORD, Rows<const float> spheres, Vec<int32_t> work, int32_t& cavityCount)
{
    cavityCount = 0;
    if (!tablesHold(ITRNOE, ITRTRI, spheres, NBE, COORD)) {
        return kCapacityError;
    }
    if (start < 1 || start > NBE || !isTriangle(ITRNOE, start, COORD)) {
        return kDataError;
    }
    CavitySearch search(ITRNOE, work);
    if (!search.enqueue(start)) {
        return kCapacityError;
    }
    while (search.inside < search.queued) {
        const int32_t e = work(search.inside + 1);
        // the start joins without test
        const int32_t third = ITRNOE(e, 3);
        if (search.inside > 0 && !(third >= 1 && third <= COORD.count())) {
            return kDataError;
        }
        if (search.inside > 0 && !sppoin(x, COORD.row(third), spheres.row(e))) {
            search.leaveOut();
            continue;
        }
        if (!isTriangle(ITRNOE, e, COORD)) {
            return kDataError;
        }
        ++search.inside;
        // its neighbours across positive entries (never across border or outer faces)
        for (int32_t k = 1; k <= 3; ++k) {
            const int32_t j = ITRTRI(e, k);
            if (j <= 0 || (j <= NBE && search.listed(j))) {
                continue;
            }
            if (j > NBE || ITRNOE(j, 1) == 0) {
                return kDataError; // beyond the elements, or a deleted one
            }
            if (!search.enqueue(j)) {
                return kCapacityError;
            }
        }
    }
    cavityCount = search.inside;
    return kOk;
}

int rtadet(const float* x, Rows<int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE, Rows<const float> COORD,
           Rows<const float> spheres, Vec<int32_t> work, int32_t& cavityCount)
{
    cavityCount = 0;
    if (!tablesHold(ITRNOE, ITRTRI, spheres, NBE, COORD)) {
        return kCapacityError;
    }
    // the first element, in element order, whose circle contains x
    for (int32_t e = 1; e <= NBE; ++e) {
        const int32_t third = ITRNOE(e, 3);
        if (third == 0) {
            continue; // deleted
        }
        if (third < 0 || third > COORD.count()) {
            return kDataError;
        }
        if (sppoin(x, COORD.row(third), spheres.row(e))) {
            return rtconn(x, e, ITRNOE, ITRTRI, NBE, COORD, spheres, work, cavityCount);
        }
    }
    return kOk;
}

} // namespace tesmo
