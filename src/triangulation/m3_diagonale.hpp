#pragma once
// Recovery of an edge by exchanging diagonals: the diagonals that cross a segment ab are
// exchanged one at a time, each where its two triangles form a strictly convex pair, until ab
// is an edge; every decision is an exact sign, so that it succeeds whenever no node lies on
// the open segment ab. The new diagonals are then made Delaunay again.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

/// The tables an edge is restored in, and the coordinates of their nodes.
struct EdgeTables {
    Rows<int32_t> ITRNOE;
    Rows<int32_t> ITRTRI;
    Vec<int32_t> NOETRI;
    int32_t NBE = 0;
    Rows<const float> points;
    /// The routine the traces name.
    std::string_view routine = "RF2DIA";

    /// The corner of element e opposite its face f.
    int32_t opposite(int32_t e, int32_t f) const { return ITRNOE(e, (f + 1) % 3 + 1); }
    /// The face of element y across which element e lies, 0 when none.
    int32_t faceToward(int32_t y, int32_t e) const;
    const float* at(int32_t v) const { return points.row(v); }
};

/// Edges (node pairs) waiting in a queue: the rows of a work area used round.
class EdgeQueue {
public:
    explicit EdgeQueue(Vec<int32_t> area) : rows_(area.data(), 2, area.count() / 2) {}
    /// False when the queue is full.
    [[nodiscard]] bool push(int32_t a, int32_t b);
    /// False when the queue is empty.
    bool pop(int32_t& a, int32_t& b);
    int32_t count() const { return count_; }

private:
    Rows<int32_t> rows_;
    int32_t first_ = 1;
    int32_t count_ = 0;
};

/// Elements waiting on a stack kept in a work area.
class ElementStack {
public:
    explicit ElementStack(Vec<int32_t> area) : area_(area) {}
    /// False when the stack is full.
    [[nodiscard]] bool push(int32_t e);
    /// False when the stack is empty.
    bool pop(int32_t& e);

private:
    Vec<int32_t> area_;
    int32_t count_ = 0;
};

/// True when the pair u v p, v u q is strictly convex (exact), so that p q can replace u v.
bool convexPair(const EdgeTables& mesh, int32_t u, int32_t v, int32_t p, int32_t q);

/// Exchanges the diagonal u v that element e1 (its face f1 running u -> v) shares with its
/// neighbour e2 for the other diagonal p q of the pair, in the same two rows (e1 = p q v and
/// e2 = q p u afterwards); the neighbours across the four sides keep their entries (signs
/// included) and are told which row holds them; NOETRI of u and v follows.
/// Returns 0, or -1 when e2 does not hold e1 back (" ECHANGE SANS VOISIN").
[[nodiscard]] int exchangeDiagonal(EdgeTables& mesh, int32_t e1, int32_t f1);

/// Makes a b an edge by exchanging, one at a time, the diagonals that cross it (Sloan's queue,
/// exact tests): a crossing diagonal whose pair is not strictly convex goes back to the queue;
/// a new diagonal that still crosses a b goes back too, the others are listed in `created`
/// when it is given; the rows exchanged go on `pending` when it is given. `blocked` tells that
/// a b could not be made an edge (a node on the open segment a b, or no progress).
/// Returns 0, -2 when a work area is short, -1 for an inconsistent structure.
[[nodiscard]] int exchangeAcross(EdgeTables& mesh, int32_t a, int32_t b, EdgeQueue& queue, ElementStack* pending,
                                 EdgeQueue* created, bool& blocked);

/// Inserts node P into the triangulation of elements 1..NBE with exact signs: the triangle
/// holding P (found by a scan) is split in three (P on one of its sides: that side is then
/// exchanged, leaving four triangles about P), then the sides opposite P whose far corner lies
/// inside the circle of their triangle are exchanged until none is (Lawson). Rows NBE + 1 and
/// NBE + 2 are taken, NBE grows by 2; the sphere records are not kept. `work` holds the
/// triangles about P still to check (NBE + 2 entries are always enough).
/// Returns 0; +1 when P coincides with a node or lies in no triangle (nothing changed); -2
/// when the tables have no room for two more rows or `work` is short; -1 for an inconsistent
/// structure.
[[nodiscard]] int insertByExchanges(EdgeTables& mesh, int32_t P, Vec<int32_t> work);

/// Makes the border edge (a, b) = the first two values of `edge` an edge of the triangulation by
/// exchanging the diagonals that cross it (exchangeAcross), then exchanges the new diagonals
/// other than ab whose far corner lies inside the circle of the near triangle until none does;
/// no other edge of the mesh changes. Integer work: two queues of the diagonals crossed.
/// Returns 0; -1 when a node lies on the open segment ab (" ARETE NON RESTAUREE"), a or b is in
/// no triangle, or the structure is inconsistent; -2 when the work is short.
[[nodiscard]] int rf2dia(Vec<const int32_t> edge, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
                         int32_t NBE, Rows<const float> COORD, Vec<int32_t> iwork);

} // namespace tesmo
