// Element-type tables of the solid elements.
#include "topology/st_generic.hpp"


namespace tesmo {

int32_t strtet[44] = {};
int32_t strhex[48] = {};

namespace {

constexpr int32_t kTetEdgeFace[16] = {0, 4, 2, 3, 3, 0, 4, 1, 4, 1, 0, 2, 2, 3, 1, 0};
constexpr int32_t kTetFaces[12] = {2, 4, 3, 3, 4, 1, 4, 2, 1, 1, 2, 3};
constexpr int32_t kHexFaces[24] = {1, 2, 3, 4, 1, 5, 6, 2, 2, 6, 7, 3, 3, 7, 8, 4, 4, 8, 5, 1, 5, 8, 7, 6};
constexpr int32_t kHexNodeFaces[24] = {1, 2, 5, 2, 1, 3, 3, 1, 4, 4, 1, 5, 2, 6, 5, 3, 6, 2, 4, 6, 3, 5, 6, 4};

} // namespace

void st3ini()
{
    for (int32_t i = 0; i < 16; ++i) {
        strtet[i] = kTetEdgeFace[i];
        strtet[16 + i] = kTetEdgeFace[i];
    }
    for (int32_t i = 0; i < 12; ++i) {
        strtet[32 + i] = kTetFaces[i];
    }
    for (int32_t i = 0; i < 24; ++i) {
        strhex[i] = kHexFaces[i];
        strhex[24 + i] = kHexNodeFaces[i];
    }
}

void stinit() { st3ini(); }

int32_t tetEdgeFace(int32_t a, int32_t b)
{
    if (a < 1 || a > 4 || b < 1 || b > 4) {
        return 0;
    }
    return strtet[16 + (b - 1) * 4 + (a - 1)];
}

int32_t tetFaceNode(int32_t face, int32_t j)
{
    if (face < 1 || face > 4 || j < 1 || j > 3) {
        return 0;
    }
    return strtet[32 + (face - 1) * 3 + (j - 1)];
}

int32_t hexFaceNode(int32_t face, int32_t j)
{
    if (face < 1 || face > 6 || j < 1 || j > 4) {
        return 0;
    }
    return strhex[(face - 1) * 4 + (j - 1)];
}

int32_t hexNodeFace(int32_t node, int32_t j)
{
    if (node < 1 || node > 8 || j < 1 || j > 3) {
        return 0;
    }
    return strhex[24 + (node - 1) * 3 + (j - 1)];
}

} // namespace tesmo
