#pragma once
// Insertion of one point into a Delaunay triangulation: the triangles whose circles contain
// the point are replaced by the fan of the point over the frontier of their union.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Area (squared length units) below which a new triangle is taken as flat or reversed
/// and the insertion refused; the value the triangulation and the refinement pass in.
inline constexpr float kAreaTolerance = 1.0e-16f;
/// Insertion status: the point was refused and the mesh left valid.
inline constexpr int kPointRejected = 1;

/// Who is told of every exchange of two element rows an insertion makes (the cavity brought
/// to the front, the spare rows sent back), so that an index kept beside the element tables
/// can follow its rows. `exchanged` null: nobody listens.
struct RowExchanges {
    void (*exchanged)(void* listener, int32_t a, int32_t b) = nullptr;
    void* listener = nullptr;
    void operator()(int32_t a, int32_t b) const
    {
        if (exchanged != nullptr) {
            exchanged(listener, a, b);
        }
    }
};

/// How an insertion replaces its cavity: checked in place when it is small (the usual way), or
/// always brought to the front first (the long way, to compare with).
enum class InsertionWay { inPlace, longWay };

/// Inserts node P (coordinates: row P of COORD) into the triangulation of elements 1..NBE
/// whose sphere records are `spheres` (record e for element e; the table's width is the
/// record length): the cavity is searched from element `start`, or over all elements when
/// it is 0; the S = k + 2 new triangles replace the k cavity elements and are elements 1..S
/// afterwards (their nodes: a frontier face, then P), `created` = S and NBE grows by 2.
/// Border marks are kept on both sides of the faces they mark. A positive `clearance`
/// refuses a point that close to an outer or border face of the cavity.
/// Returns 0 inserted; +1 refused (empty cavity, several regions or a lost node, a point too
/// close to a border, a flat or reversed new triangle): the mesh is valid, elements possibly
/// renumbered and re-oriented; -1 bad data (traced "ERREUR TROU", "APPEL RTADET OU RTCONN"...),
/// -2 a table or `work` too small (the tables need NBE + 2 rows): the mesh is then valid too.
/// Every exchange of two rows (elements and sphere records together) is told to `exchanges`.
/// `way` chooses how (the tables end the same either way): a small cavity checked in place and
/// replaced without being brought to the front first, or always the long way.
[[nodiscard]] int trajpo(int32_t P, int32_t start, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
                         int32_t& NBE, Rows<const float> COORD, Rows<float> spheres, Vec<int32_t> work,
                         float areaTolerance, float clearance, int32_t& created,
                         const RowExchanges& exchanges = RowExchanges{}, InsertionWay way = InsertionWay::inPlace);

} // namespace tesmo
