// The tesmo console program: runs one generation on work arrays sized for the job.
#include "messages/es_chaine.hpp"
#include "shell/shell.hpp"

int main(int argc, char** argv)
{
    tesmo::WorkMemory memory;
    memory.grow = true;
    (void)tesmo::runTesmo(argc, argv, memory);
    tesmo::consoleFlush();
    // The outcome of the run is told by its console messages only.
    return 0;
}
