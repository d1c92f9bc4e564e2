#include "window_options.h"

#include <cstdlib>
#include <cstring>

#include "option_value.h"

namespace {

constexpr long kMaxSide = 32767;
constexpr long kMaxOffset = 1000000;

// A decimal number of digits only at *at, moved past it.
bool readNumber(const char** at, long limit, long* value)
{
    const char* start = *at;
    long n = 0;
    while (**at >= '0' && **at <= '9') {
        n = n * 10 + (**at - '0');
        if (n > limit)
            return false;
        ++*at;
    }
    *value = n;
    return *at != start;
}

// "+N" or "-N" at *at, moved past it; a minus gives a negative number.
bool readOffset(const char** at, int* value)
{
    const char sign = **at;
    if (sign != '+' && sign != '-')
        return false;
    ++*at;
    long n = 0;
    if (!readNumber(at, kMaxOffset, &n))
        return false;
    *value = static_cast<int>(sign == '-' ? -n : n);
    return true;
}

// Takes a flag without a value out of argv; twice is an error.
bool takeFlag(int* argc, char** argv, const char* flag, bool* given, std::string* error)
{
    int kept = *argc > 0 ? 1 : 0;
    int count = 0;
    for (int i = 1; i < *argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0)
            ++count;
        else
            argv[kept++] = argv[i];
    }
    argv[kept] = nullptr;
    *argc = kept;
    if (count > 1) {
        *error = std::string(flag) + " is given more than once";
        return false;
    }
    *given = *given || count == 1;
    return true;
}

}  // namespace

bool parseGeometry(const std::string& text, WindowGeometry* geometry)
{
    WindowGeometry parsed;
    const char* at = text.c_str();
    if (*at != '+' && *at != '-') {
        long width = 0, height = 0;
        if (!readNumber(&at, kMaxSide, &width) || *at++ != 'x' || !readNumber(&at, kMaxSide, &height) ||
            width < 1 || height < 1)
            return false;
        parsed.sizeGiven = true;
        parsed.width = static_cast<int>(width);
        parsed.height = static_cast<int>(height);
    }
    if (*at) {
        if (!readOffset(&at, &parsed.x) || !readOffset(&at, &parsed.y) || *at)
            return false;
        parsed.positionGiven = true;
    }
    if (!parsed.sizeGiven && !parsed.positionGiven)
        return false;
    *geometry = parsed;
    return true;
}

bool takeWindowOptions(int* argc, char** argv, WindowOptions* options, std::string* error)
{
    std::string value;
    bool given = false;
    if (!takeOptionValue(argc, argv, "--geometry", "a size and place such as 800x600+0+0", &value, &given, error))
        return false;
    if (given && !parseGeometry(value, &options->geometry)) {
        *error = "--geometry takes WxH, WxH+X+Y or +X+Y (such as 800x600+1920+0), not '" + value + "'";
        return false;
    }
    return takeFlag(argc, argv, "--fullscreen", &options->fullscreen, error) &&
           takeFlag(argc, argv, "--no-bars", &options->noBars, error) &&
           takePlacementOptions(argc, argv, &options->placement, error);
}

WindowOptions& programWindowOptions()
{
    static WindowOptions options;
    return options;
}
