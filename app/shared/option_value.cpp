#include "option_value.h"

#include <cstring>

bool takeOptionValue(int* argc, char** argv, const char* option, const char* needs, std::string* value, bool* given,
                     std::string* error)
{
    value->clear();
    *given = false;
    const size_t optionLength = std::strlen(option);
    // argv[0], the program, stays; a command line without it keeps nothing.
    int kept = *argc > 0 ? 1 : 0;
    for (int i = 1; i < *argc; ++i) {
        const char* arg = argv[i];
        const bool separate = std::strcmp(arg, option) == 0;
        const bool joined = std::strncmp(arg, option, optionLength) == 0 && arg[optionLength] == '=';
        if (!separate && !joined) {
            argv[kept++] = argv[i];
            continue;
        }
        if (*given) {
            *error = std::string(option) + " is given more than once";
            return false;
        }
        *given = true;
        if (separate && i + 1 < *argc)
            *value = argv[++i];
        else if (joined)
            *value = arg + optionLength + 1;
        if (value->empty()) {
            *error = std::string(option) + " needs " + needs;
            return false;
        }
    }
    argv[kept] = nullptr;
    *argc = kept;
    return true;
}
