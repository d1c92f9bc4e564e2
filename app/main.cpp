#include <iostream>
#include <string>

#include "app.h"
#include "display_module.h"
#include "display_option.h"

wxIMPLEMENT_APP_NO_MAIN(App);

int main(int argc, char** argv)
{
    std::string path;
    std::string error;
    if (!takeDisplayOption(&argc, argv, &path, &error)) {
        std::cerr << "instrument-panel: " << error << "\n";
        return 2;
    }
    if (!path.empty()) {
        HostedDisplay display;
        if (!loadDisplayModule(path, &display, &error)) {
            std::cerr << "instrument-panel: " << error << "\n";
            return 1;
        }
        selectDisplay(display);
    }
    PreferX11Backend();
    return wxEntry(argc, argv);
}
