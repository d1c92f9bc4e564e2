#include <iostream>

#include "heap_policy.h"
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
    return runSnapshot(options, std::cout, std::cerr);
}
