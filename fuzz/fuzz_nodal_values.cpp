// libFuzzer entry: see harness.hpp.
#include "harness.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    tesmo::fuzzing::nodalValuesFile(data, size);
    return 0;
}
