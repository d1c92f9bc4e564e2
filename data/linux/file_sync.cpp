#include "file_sync.h"

#include <unistd.h>

bool syncFileToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }
