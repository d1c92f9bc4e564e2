// The module file check on fuzzed files: whatever the headers declare, the
// check reads inside the bytes it was given (the sanitizers watch), asks for
// at least the ELF header, and its verdict only moves one way as a file
// grows: a file found complete stays complete with more bytes after it, one
// found truncated stays truncated when cut shorter.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "module_file_check.h"

namespace {

bool truncated(const std::string& problem) { return problem.rfind("truncated", 0) == 0; }

// The problem with the first size bytes of data as the whole file, given
// exactly the head the check asks for, in a buffer of its own so that any
// read past it is caught.
std::string problemOfPrefix(const uint8_t* data, size_t size)
{
    std::vector<unsigned char> head(data, data + (size < kElfHeaderBytes ? size : kElfHeaderBytes));
    const uint64_t needed = elfBytesNeeded(head.data(), head.size());
    FUZZ_CHECK(needed >= kElfHeaderBytes);
    if (needed > head.size())
        head.assign(data, data + (needed < size ? needed : size));
    return elfLayoutProblem(head.data(), head.size(), size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string whole = problemOfPrefix(data, size);
    // A cut inside the magic number leaves no ELF file to speak of.
    const size_t cut = size / 2;
    if (truncated(whole) && cut >= 4)
        FUZZ_CHECK(truncated(problemOfPrefix(data, cut)));
    // Claiming a larger file than the bytes given is fine for the check: it
    // reads the head only.
    const std::string grown = elfLayoutProblem(data, size, static_cast<uint64_t>(size) + 4096);
    if (whole.empty())
        FUZZ_CHECK(!truncated(grown));
    return 0;
}
