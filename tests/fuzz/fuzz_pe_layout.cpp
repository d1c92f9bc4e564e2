// The DLL layout check on fuzzed file heads: it reads only what it asked
// for (peBytesNeeded), whatever the headers claim, and more of the file's
// bytes than it asked for change nothing.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "pe_file_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint64_t needed = peBytesNeeded(data, size);
    FUZZ_CHECK(needed >= kPeDosHeaderBytes);
    const size_t head = static_cast<size_t>(std::min<uint64_t>(needed, size));
    const std::string problem = peLayoutProblem(data, head, size);
    FUZZ_CHECK(problem.empty() || problem.rfind("truncated: ", 0) == 0 || problem.rfind("its ", 0) == 0);
    // The bytes it asked for decide: the whole file says the same.
    FUZZ_CHECK(peLayoutProblem(data, size, size) == problem);
    return 0;
}
