// instrument-panel-kiosk: the display full screen on a Wayland compositor,
// without a toolkit, for embedded panels.
#include <iostream>
#include <string>

#include "display_option.h"
#include "gr.h"
#include "heap_policy.h"
#include "kiosk_options.h"
#include "kiosk_view.h"
#include "threads_option.h"

int main(int argc, char** argv)
{
    keepDriverHeap();
    std::string error;
    if (const int status = selectDisplayOfOption(&argc, argv, &error)) {
        std::cerr << "instrument-panel-kiosk: " << error << "\n";
        return status;
    }
    KioskOptions options;
    if (!takePlacementOptions(&argc, argv, &options.placement, &error) || !takeThreadsOption(&argc, argv, &error) ||
        !parseKioskArgs(argc, argv, &options, &error)) {
        std::cerr << "instrument-panel-kiosk: " << error << "\n" << kKioskUsage;
        return kExitBadArguments;
    }
    if (options.help) {
        std::cout << kKioskUsage;
        return kExitOk;
    }
    grSetBatching(options.batched);
    KioskView view(options);
    return view.Run();
}
