#include <cstring>
#include <iostream>
#include <string>

#include "app.h"
#include "data_option.h"
#include "display_option.h"
#include "gr.h"
#include "heap_policy.h"

wxIMPLEMENT_APP_NO_MAIN(App);

namespace {

// "--batched" selects the batched submission mode of the drawing library;
// it is taken out before the toolkit sees the command line.
int takeBatchedOption(int argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--batched") == 0)
            grSetBatching(true);
        else
            argv[kept++] = argv[i];
    }
    argv[kept] = nullptr;
    return kept;
}

}  // namespace

int main(int argc, char** argv)
{
    keepDriverHeap();
    argc = takeBatchedOption(argc, argv);
    std::string error;
    if (const int status = selectDisplayOfOption(&argc, argv, &error)) {
        std::cerr << "instrument-panel: " << error << "\n";
        return status;
    }
    if (const int status = attachDataOfOptions(&argc, argv, &error)) {
        std::cerr << "instrument-panel: " << error << "\n";
        return status;
    }
    PreferX11Backend();
    const int status = wxEntry(argc, argv);
    if (!programFeed().Detach(&error)) {
        std::cerr << "instrument-panel: " << error << "\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
