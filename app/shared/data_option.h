// The program's options --data SOURCE (repeatable), --record FILE and
// --send DESTINATION (repeatable), the same on every platform: taken out of
// the command line before the toolkit sees it, and attached to the selected
// display's inputs and outputs.
#pragma once

#include <string>
#include <vector>

#include "data_feed.h"
#include "output_feed.h"

struct DataOptions {
    std::vector<SourceOption> sources;
    std::string recordPath;
    std::vector<SinkOption> destinations;
};

// Removes the options from argv (argc follows) into *options. False with a
// message in *error for an option without a value or a malformed SOURCE.
bool takeDataOptions(int* argc, char** argv, DataOptions* options, std::string* error);

// Attaches the sources and destinations of options to the selected
// display: 0, or the program's exit status (1) with the reason in *error.
int attachDataOfOptions(const DataOptions& options, std::string* error);

// The program's one feed, attached or not, and its clock: milliseconds
// since the program attached it.
DataFeed& programFeed();
double programFeedClockMs();
// Where the program's outputs go, attached or not.
OutputFeed& programOutputs();
