// --threads N (or --threads=N), the same on every host and tool: the CPU
// backend draws with N threads, the calling one included; --threads 1 draws
// on the calling thread alone. Without it the backend follows the process's
// CPU affinity.
#pragma once

#include <string>

// Removes the option from argv (argc follows) and hands its count to the
// drawing library (grSetThreadCount). False with a message in *error for a
// count outside 1..64, a missing value or the option given twice.
bool takeThreadsOption(int* argc, char** argv, std::string* error);
