#include "display_option.h"

#include <cstring>

#include "display_module.h"
#include "gr_display.h"

namespace {

constexpr const char* kOption = "--display";

}  // namespace

bool takeDisplayOption(int* argc, char** argv, std::string* path, std::string* error)
{
    path->clear();
    bool seen = false;
    // argv[0], the program, stays; a command line without it keeps nothing.
    int kept = *argc > 0 ? 1 : 0;
    for (int i = 1; i < *argc; ++i) {
        const char* arg = argv[i];
        const size_t optionLength = std::strlen(kOption);
        const bool separate = std::strcmp(arg, kOption) == 0;
        const bool joined = std::strncmp(arg, kOption, optionLength) == 0 && arg[optionLength] == '=';
        if (!separate && !joined) {
            argv[kept++] = argv[i];
            continue;
        }
        if (seen) {
            *error = "--display is given more than once";
            return false;
        }
        seen = true;
        if (separate) {
            if (i + 1 >= *argc) {
                *error = "--display needs the path of a display module";
                return false;
            }
            *path = argv[++i];
        } else {
            *path = arg + optionLength + 1;
        }
        if (path->empty()) {
            *error = "--display needs the path of a display module";
            return false;
        }
    }
    argv[kept] = nullptr;
    *argc = kept;
    return true;
}

int selectDisplayOfOption(int* argc, char** argv, std::string* error)
{
    std::string path;
    if (!takeDisplayOption(argc, argv, &path, error))
        return 2;
    if (path.empty())
        return 0;
    HostedDisplay display;
    if (!loadDisplayModule(path, &display, error))
        return 1;
    selectDisplay(display);
    return 0;
}

std::string titleShowingDisplay(const std::string& title, const GrDisplay* display)
{
    if (!display || display == builtInHostedDisplay().descriptor)
        return title;
    return std::string(display->name) + " — " + title;
}
