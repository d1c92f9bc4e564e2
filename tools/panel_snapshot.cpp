#include <iostream>

#include "heap_policy.h"
#include "progress.h"
#include "snapshot.h"

int main(int argc, char** argv)
{
    keepDriverHeap();
    SnapshotOptions options;
    std::string error;
    if (!parseSnapshotArgs(argc, argv, &options, &error)) {
        std::cerr << "panel-snapshot: " << error << "\n" << kSnapshotUsage;
        return 2;
    }
    // A person at a terminal sees how a long run goes; a script asks.
    options.progressInPlace = stderrIsTerminal();
    options.progress = options.progress || options.progressInPlace;
    return runSnapshot(options, std::cout, std::cerr);
}
