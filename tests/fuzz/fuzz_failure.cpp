#include <cstdio>
#include <cstdlib>

#include "fuzz_input.h"

void fuzzFailure(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
