#include "image_path.h"

#include <unistd.h>

#include <algorithm>

#include "image_folder.h"
#include "utf8_name.h"

namespace {

bool executableFolder(std::string* folder)
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || n == static_cast<ssize_t>(sizeof buffer))
        return false;
    const std::string exe(buffer, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    if (slash == std::string::npos)
        return false;
    *folder = exe.substr(0, slash + 1);
    return true;
}

}  // namespace

bool resolveImagePath(const char16_t* fileName, std::string* path)
{
    std::string name;
    if (!fileName || !utf16ToUtf8(fileName, &name) || name.empty())
        return false;
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.front() == '/') {
        *path = name;
        return true;
    }
    std::string folder = chosenImageFolder();
    if (folder.empty() && !executableFolder(&folder))
        return false;
    *path = folder + name;
    return true;
}
