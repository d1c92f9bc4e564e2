#include "image_folder.h"

#include "gr_display.h"

namespace {

std::string& imageFolder()
{
    static std::string folder;
    return folder;
}

}  // namespace

const std::string& chosenImageFolder() { return imageFolder(); }

void grSetImageFolder(const char* folder)
{
    std::string& chosen = imageFolder();
    chosen = folder ? folder : "";
    if (!chosen.empty() && chosen.back() != '/' && chosen.back() != '\\')
        chosen += '/';
}
