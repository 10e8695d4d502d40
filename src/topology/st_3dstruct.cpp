// Face queries of the solid elements, read from the tetrahedron and hexahedron tables.
#include "topology/st_3dstruct.hpp"

#include "messages/es_erreur.hpp"
#include "topology/st_generic.hpp"

namespace tesmo {

namespace {

constexpr int32_t kTetrahedron = 4;
constexpr int32_t kHexahedron = 8;

bool hasFaceTable(int32_t type) { return type == kTetrahedron || type == kHexahedron; }

/// Node numbers of face k of a solid whose face table exists.
LocalSet faceNodes(const int32_t* row, int32_t type, int32_t k)
{
    LocalSet nodes;
    const int32_t count = type == kTetrahedron ? 3 : 4;
    for (int32_t j = 1; j <= count; ++j) {
        const int32_t local = type == kTetrahedron ? tetFaceNode(k, j) : hexFaceNode(k, j);
        nodes.item[nodes.count++] = row[local - 1];
    }
    return nodes;
}

bool contains(const LocalSet& set, int32_t value)
{
    for (int32_t i = 1; i <= set.count; ++i) {
        if (set(i) == value) {
            return true;
        }
    }
    return false;
}

/// Position (from 1) of value in a face, 0 when absent.
int32_t positionIn(const LocalSet& face, int32_t value)
{
    for (int32_t i = 1; i <= face.count; ++i) {
        if (face(i) == value) {
            return i;
        }
    }
    return 0;
}

/// Number of nodes of A found among the nodes of B.
int32_t commonNodes(const int32_t* rowA, int32_t typeA, const int32_t* rowB, int32_t typeB)
{
    int32_t common = 0;
    for (int32_t i = 0; i < typeA; ++i) {
        for (int32_t m = 0; m < typeB; ++m) {
            if (rowA[i] == rowB[m]) {
                ++common;
                break;
            }
        }
    }
    return common;
}

} // namespace

int s3nbco(int32_t type, int32_t& faceCount)
{
    faceCount = 0;
    switch (type) {
    case 4:
        faceCount = 4;
        return kOk;
    case 5:
        faceCount = 5;
        return kOk;
    case 6:
    case 8:
        faceCount = 6;
        return kOk;
    default:
        return traced(kDataError, "S3NBCO", " TYPE D ELEMENT INCONNU");
    }
}

int s3sofa(int32_t type, int32_t k, LocalSet& nodes)
{
    nodes = LocalSet{};
    if (!hasFaceTable(type)) {
        return traced(kDataError, "S3SOFA", " TYPE D ELEMENT INCONNU");
    }
    const int32_t faces = type == kTetrahedron ? 4 : 6;
    if (k < 1 || k > faces) {
        return traced(kDataError, "S3SOFA", " NUMERO DE FACE INCORRECT");
    }
    const int32_t count = type == kTetrahedron ? 3 : 4;
    for (int32_t j = 1; j <= count; ++j) {
        nodes.item[nodes.count++] = type == kTetrahedron ? tetFaceNode(k, j) : hexFaceNode(k, j);
    }
    return kOk;
}

int s3faso(int32_t type, int32_t k, LocalSet& faces)
{
    faces = LocalSet{};
    if (!hasFaceTable(type)) {
        return traced(kDataError, "S3FASO", " TYPE D ELEMENT INCONNU");
    }
    if (k < 1 || k > type) {
        return traced(kDataError, "S3FASO", " NUMERO DE NOEUD INCORRECT");
    }
    for (int32_t j = 1; j <= 3; ++j) {
        faces.item[faces.count++] = type == kTetrahedron ? tetFaceNode(k, j) : hexNodeFace(k, j);
    }
    return kOk;
}

int s3faid(const int32_t* rowA, int32_t typeA, const int32_t* rowB, int32_t typeB, FaceMatch& match)
{
    match = FaceMatch{};
    if (!hasFaceTable(typeA) || !hasFaceTable(typeB)) {
        return traced(kDataError, "S3FAID", " TYPE D ELEMENT INCONNU");
    }
    // 1. two solids with fewer than 3 common nodes share no face
    if (commonNodes(rowA, typeA, rowB, typeB) < 3) {
        return kOk;
    }
    // 2. face by face: same node set, then the direction of the second node
    const int32_t facesA = typeA == kTetrahedron ? 4 : 6;
    const int32_t facesB = typeB == kTetrahedron ? 4 : 6;
    for (int32_t fa = 1; fa <= facesA; ++fa) {
        const LocalSet a = faceNodes(rowA, typeA, fa);
        for (int32_t fb = 1; fb <= facesB; ++fb) {
            const LocalSet b = faceNodes(rowB, typeB, fb);
            if (a.count != b.count) {
                continue;
            }
            bool same = true;
            for (int32_t i = 1; i <= a.count && same; ++i) {
                same = contains(b, a(i));
            }
            if (!same) {
                continue;
            }
            const int32_t p = positionIn(b, a(1));
            const int32_t next = b(p % b.count + 1);
            match.result = next == a(2) ? -1 : 1;
            match.faceA = fa;
            match.faceB = fb;
            return kOk;
        }
    }
    return kOk;
}

int sfri3d(int32_t /*a*/, int32_t /*b*/, int32_t /*d*/, Rows<const int32_t> /*ITRNOE*/,
           Rows<const int32_t> /*ITRTRI*/, Vec<const int32_t> /*NOETRI*/, int32_t /*NBE*/, EdgeSides& sides)
{
    sides = EdgeSides{};
    return traced(kNotAvailable, "SFRI3D", " NE FONCTIONNE PAS EN 3D");
}

} // namespace tesmo
