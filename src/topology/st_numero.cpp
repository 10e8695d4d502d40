// Exchange of element numbers with every reference kept consistent.
//
//      before                      after nuperm(A, B)
//   C --face-- A    B           C --face-- B    A
//   C's row holds A             C's row holds B (same sign)
// The rows of A and B change places; references between A and B themselves are rewritten
// inside the exchanged rows.
#include "topology/st_numero.hpp"

#include "messages/es_erreur.hpp"
#include "topology/st_struct.hpp"

#include <utility>

namespace tesmo {

namespace {

/// One back reference to rewrite: entry (element, face) becomes value.
struct Rewrite {
    int32_t element;
    int32_t face;
    int32_t value;
};

/// Notes the back references of the neighbours of `self` (other than `partner`), which must
/// come to name `renamed` with the sign they had.
[[nodiscard]] int noteBackReferences(Rows<const int32_t> ITRTRI, int32_t NBE, int32_t self, int32_t partner,
                                     int32_t renamed, Rewrite* notes, int32_t& count)
{
    const int32_t NFE = ITRTRI.width();
    for (int32_t k = 1; k <= NFE; ++k) {
        const int32_t t = ITRTRI(self, k);
        if (t == 0 || t == partner || t == -partner) {
            continue;
        }
        const int32_t j = t < 0 ? -t : t;
        if (j > NBE) {
            return traced(kDataError, " NUPERM", " STRUCTURE MAILLAGE");
        }
        int32_t back = 0;
        for (int32_t m = 1; m <= NFE && back == 0; ++m) {
            if (ITRTRI(j, m) == self || ITRTRI(j, m) == -self) {
                back = m;
            }
        }
        if (back == 0) {
            return traced(kDataError, " NUPERM", " STRUCTURE MAILLAGE");
        }
        notes[count++] = Rewrite{j, back, t > 0 ? renamed : -renamed};
    }
    return kOk;
}

/// Nodes of element e within NOETRI: -1 for a negative node, -2 for one beyond the table.
[[nodiscard]] int checkNodes(Rows<const int32_t> ITRNOE, int32_t e, Vec<const int32_t> NOETRI)
{
    for (int32_t i = 1, n = strnbn(ITRNOE.row(e), ITRNOE.width()); i <= n; ++i) {
        if (ITRNOE(e, i) < 0) {
            return kDataError;
        }
        if (ITRNOE(e, i) > NOETRI.count()) {
            return kCapacityError;
        }
    }
    return kOk;
}

void renameNodes(Rows<const int32_t> ITRNOE, Vec<int32_t> NOETRI, int32_t from, int32_t to)
{
    for (int32_t i = 1, n = strnbn(ITRNOE.row(from), ITRNOE.width()); i <= n; ++i) {
        if (NOETRI(ITRNOE(from, i)) == from) {
            NOETRI(ITRNOE(from, i)) = to;
        }
    }
}

/// Replaces in a row the references to `from` by `to`, signs kept.
void replaceIn(int32_t* row, int32_t width, int32_t from, int32_t to)
{
    for (int32_t k = 0; k < width; ++k) {
        if (row[k] == from) {
            row[k] = to;
        } else if (row[k] == -from) {
            row[k] = -to;
        }
    }
}

} // namespace

int nuperm(Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t update, int32_t NBE, int32_t a,
           int32_t b)
{
    // 1. the two numbers
    if (a == b) {
        return kOk;
    }
    if (a < 1 || a > NBE || b < 1 || b > NBE) {
        return traced(kDataError, " NUPERM", "NUMERO HORS INTERVAL");
    }
    const int32_t NFE = ITRTRI.width();
    if (NBE > ITRNOE.count() || (NFE > 0 && NBE > ITRTRI.count()) || NFE > kMaxExchangeFaces) {
        return traced(kCapacityError, " NUPERM", " TABLEAUX TROP PETITS");
    }
    int code = kOk;
    if (update > 0 && ((code = checkNodes(ITRNOE, a, NOETRI)) != kOk || (code = checkNodes(ITRNOE, b, NOETRI)) != kOk)) {
        return traced(code, " NUPERM", " NOETRI INCORRECT");
    }
    // 4. back references to rewrite, noted before anything changes
    Rewrite notes[2 * kMaxExchangeFaces];
    int32_t noteCount = 0;
    if (NFE > 0) {
        if ((code = noteBackReferences(ITRTRI, NBE, a, b, b, notes, noteCount)) != kOk ||
            (code = noteBackReferences(ITRTRI, NBE, b, a, a, notes, noteCount)) != kOk) {
            return code;
        }
    }
    // 2. NOETRI: A's nodes first, then B's
    if (update > 0) {
        renameNodes(ITRNOE, NOETRI, a, b);
        renameNodes(ITRNOE, NOETRI, b, a);
    }
    if (NFE > 0) {
        for (int32_t i = 0; i < noteCount; ++i) {
            ITRTRI(notes[i].element, notes[i].face) = notes[i].value;
        }
        // 5. neighbour rows exchanged, references between A and B renamed
        for (int32_t k = 1; k <= NFE; ++k) {
            std::swap(ITRTRI(a, k), ITRTRI(b, k));
        }
        replaceIn(ITRTRI.row(b), NFE, b, a);
        replaceIn(ITRTRI.row(a), NFE, a, b);
    }
    // 6. node rows exchanged
    for (int32_t k = 1; k <= ITRNOE.width(); ++k) {
        std::swap(ITRNOE(a, k), ITRNOE(b, k));
    }
    return kOk;
}

int nucomp(Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t update, int32_t NBE,
           Vec<const int32_t> list)
{
    for (int32_t i = 1; i <= list.count(); ++i) {
        const int code = nuperm(ITRNOE, ITRTRI, NOETRI, update, NBE, list(i), i);
        if (code != kOk) {
            return code;
        }
    }
    return kOk;
}

} // namespace tesmo
