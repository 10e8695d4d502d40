// The tesmo console program: owns the two work arrays and runs one generation.
#include "messages/es_chaine.hpp"
#include "shell/shell.hpp"

namespace {

// The work arrays of the whole run, in static storage: zero-filled before main starts and
// never reallocated. Every table of the mesher is a view into one of them.
int32_t itvl[tesmo::kItvlLength];
float rtvl[tesmo::kRtvlLength];

} // namespace

int main(int argc, char** argv)
{
    (void)tesmo::runTesmo(argc, argv, tesmo::Vec<int32_t>(itvl, tesmo::kItvlLength),
                          tesmo::Vec<float>(rtvl, tesmo::kRtvlLength));
    tesmo::consoleFlush();
    // The outcome of the run is told by its console messages only.
    return 0;
}
