// Appending and removing nodes of the node list.
#include "boundary/st_0dstruct.hpp"

#include "messages/es_erreur.hpp"

namespace tesmo {

namespace {
constexpr const char* kModule = "ST";
} // namespace

int s0ajno(const float* point, Rows<float> COORD, int32_t& n, Vec<int32_t> NOETRI, int32_t& node)
{
    node = 0;
    if (n < 0 || n > COORD.count()) {
        return traced(kDataError, kModule, "DANS S0AJNO : NOMBRE DE POINTS INCORRECT");
    }
    // 1. room, 2. the new row
    if (n >= COORD.count()) {
        return traced(kCapacityError, kModule, "DANS S0AJNO : TROP DE POINTS");
    }
    ++n;
    for (int32_t k = 1; k <= COORD.width(); ++k) {
        COORD(n, k) = point[k - 1];
    }
    node = n;
    // 3. free in NOETRI
    if (NOETRI.count() <= 0) {
        return kOk;
    }
    if (NOETRI.count() < n) {
        return traced(kCapacityError, kModule, "DANS S0AJNO : NOETRI TROP PETIT");
    }
    NOETRI(n) = 0;
    return kOk;
}

int s0dtno(int32_t k, Rows<float> COORD, int32_t& n, Vec<const int32_t> NOETRI)
{
    if (k != n || k < 1 || k > COORD.count()) {
        return traced(kDataError, kModule, "DANS S0DTNO : POINT ENCORE CONNECTE");
    }
    if (NOETRI.count() > 0) {
        if (NOETRI.count() < k) {
            return traced(kCapacityError, kModule, "DANS S0DTNO : NOETRI TROP PETIT");
        }
        if (NOETRI(k) != 0) {
            return traced(kDataError, kModule, "DANS S0DTNO : POINT ENCORE CONNECTE");
        }
    }
    for (int32_t j = 1; j <= COORD.width(); ++j) {
        COORD(k, j) = 0.0f;
    }
    --n;
    return kOk;
}

} // namespace tesmo
