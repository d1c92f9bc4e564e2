// Reading an image file's bytes under the size cap, the same on every
// platform once the platform has opened the file (its own path encoding).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The whole of file, unless it is larger than an image file may be; closes
// file. False with the reason worded as on every platform in *why.
bool readImageFileBytes(std::FILE* file, std::vector<uint8_t>* bytes, std::string* why);
