#include "threads_option.h"

#include <cstdlib>

#include "gr_display.h"
#include "option_value.h"

namespace {

constexpr long kMaxThreads = 64;

}  // namespace

bool takeThreadsOption(int* argc, char** argv, std::string* error)
{
    std::string value;
    bool given = false;
    if (!takeOptionValue(argc, argv, "--threads", "a thread count from 1 to 64", &value, &given, error))
        return false;
    if (!given)
        return true;
    char* end = nullptr;
    const long threads = std::strtol(value.c_str(), &end, 10);
    if (end == value.c_str() || *end || threads < 1 || threads > kMaxThreads ||
        !grSetThreadCount(static_cast<int>(threads))) {
        *error = "--threads takes a thread count from 1 to 64, not '" + value + "'";
        return false;
    }
    return true;
}
