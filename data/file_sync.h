// Asks the system to put a file's written bytes on the disk.
#pragma once

#include <cstdio>

// After fflush: true once the system holds the file's data on the disk.
bool syncFileToDisk(std::FILE* file);
