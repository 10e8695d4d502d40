#pragma once
// Interior refinement by size: nodes are inserted one at a time at the circumcentre of the
// worst element, through the Delaunay insertion, until every element is fine enough for the
// size specification or the node cap is reached.
#include "refinement/capacity_watch.hpp"
#include "size/rf_densdef.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// A re-evaluated ratio within this of 1 means elements would not get smaller: the size
/// function contradicts itself.
inline constexpr float kRatioMargin = 1.0e-4f;
/// Fraction of the wanted size kept between a new node and the border edges of its cavity,
/// in the plane and in space.
inline constexpr float kPlaneClearance = 0.375f;
inline constexpr float kSpaceClearance = 0.5f;
/// Ratio written into an element whose candidate was refused: above every threshold, so it is
/// not selected again until an insertion replaces its row.
inline constexpr float kRefusedRatio = 1.0f;
/// Distance, relative to half the largest extent of the zone, within which a new node takes the
/// size of its neighbour.
inline constexpr float kCoincidentNodes = 1.1920929e-7f;

/// How the worst element is found: an indexed heap kept in step with the insertions, or the
/// scan of every element (`rfrech`). Both choose the same element.
enum class WorstSearch { indexed, scan };

/// The mesh a refinement works on, in place.
struct RefinementMesh {
    Rows<int32_t> ITRNOE; ///< element nodes (ndim + 1 per element); its rows bound the elements
    Rows<int32_t> ITRTRI; ///< neighbours across the faces
    Vec<int32_t> NOETRI;  ///< one element per node, at least NMAX entries
    int32_t NBE = 0;      ///< element count, grows
    Rows<float> COORD;    ///< ndim (its width) reals per node, at least NMAX rows
    int32_t nodes = 0;    ///< node count n, grows
    int32_t NMAX = 0;     ///< the node cap
};

/// Refines `mesh` by the refinement mode: 1 the default size (dnidef; `sizeFunction` and
/// `density` unused), 2 one pass per concentration of `density` with `sizeFunction`, 3 one pass
/// with the sizes at the nodes, `density.reals`, which must hold NMAX entries: the sizes of the
/// nodes inserted are written after the given ones. `work` and `realWork` are the free areas
/// (rfiter). Returns 0, +1 when the node cap is reached, +2 when the element tables are full;
/// -1 for a mode below 1 (" MODE DE RAFFINEMENT"), or the code of the pass that failed.
/// `watch`, when given and active, estimates the zone's need at the stops and checkpoints.
[[nodiscard]] int rfraff(int32_t mode, RefinementMesh& mesh, SizeFunction sizeFunction, const DensityRecords& density,
                         Vec<int32_t> work, Vec<float> realWork, WorstSearch search = WorstSearch::indexed,
                         CapacityWatch* watch = nullptr);

/// One refinement pass with `sizeFunction` and one concentration's records (`densityReals`
/// ignored in mode 3, where the sizes at the nodes are used and extended). `realWork` holds the
/// coordinates (ndim NMAX reals), one real, then the circle table: per element its circle
/// vector and its ratio; `work` serves the insertion and the neighbour lists of mode 3.
/// Returns 0 when no element has a ratio at most 2/3; +1 node cap reached; +2 element tables
/// or circle table full (the mesh is kept); -1 bad data (" DONNEES INCORRECTES ",
/// " DONNEES INCOMPATIBLES ", "TAILLE DES NOUVEAUX ELEMENTS", a failing size function);
/// -2 `realWork` shorter than ndim NMAX + 1 + (ndim + 1) NBE (" TABLEAU DES REELS "),
/// a table shorter than NMAX, or an insertion short of work; -3 in space.
[[nodiscard]] int rfiter(SizeFunction sizeFunction, Vec<const int32_t> densityIntegers,
                         Vec<const float> densityReals, int32_t mode, RefinementMesh& mesh, Vec<float> nodeSizes,
                         Vec<int32_t> work, Vec<float> realWork, WorstSearch search = WorstSearch::indexed,
                         CapacityWatch* watch = nullptr);

/// The element of elements 1..NBE with the smallest ratio (column ndim + 1 of `circles`)
/// strictly below 1, the lowest number on ties, 0 when none; its circumcentre (ndim reals)
/// into `candidate` and its ratio into `ratio`.
int32_t rfrech(int32_t ndim, Rows<const int32_t> ITRNOE, int32_t NBE, Rows<const float> COORD,
               Rows<const float> circles, float* candidate, float& ratio);

/// The size of the new node `node` from its neighbours, the nodes of elements 1..created
/// (sxnovo), by inverse distance (sutsno), a neighbour within `coincident` giving its own.
/// `work` is split in two halves for the lists. Returns 0; -1 without neighbour ("PAS DE NOEUD
/// VOISIN!") or for a node outside the tables; -2 when a half of `work` cannot hold the list.
[[nodiscard]] int rfnots(int32_t node, int32_t created, Rows<const int32_t> ITRNOE, Rows<const float> COORD,
                         Vec<const float> nodeSizes, Vec<int32_t> work, float coincident, float& size);

/// The distinct nodes other than `node` of elements 1..created, ascending, into `neighbours`
/// (their count), listing them first in `raw`. Returns 0; -2 when `raw` or `neighbours` is too
/// short; -1 for an element outside the table.
[[nodiscard]] int sxnovo(int32_t node, int32_t created, Rows<const int32_t> ITRNOE, Vec<int32_t> raw,
                         Vec<int32_t> neighbours, int32_t& count);

/// The size at `node` from the sizes of `neighbours`: the size of the first neighbour within
/// the distance `coincident` of it, else the mean of their sizes weighted by their inverse
/// distances. Returns 0; -1 for a node or neighbour outside the coordinates or the sizes.
[[nodiscard]] int sutsno(int32_t node, Vec<const int32_t> neighbours, Rows<const float> COORD,
                         Vec<const float> nodeSizes, float coincident, float& size);

/// Insertion of a node into a mesh of tetrahedra: not available. Returns -3.
[[nodiscard]] int ttajpo();

} // namespace tesmo
