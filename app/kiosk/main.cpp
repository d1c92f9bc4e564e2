// instrument-panel-kiosk: the display full screen on a Wayland compositor,
// without a toolkit, for embedded panels.
#include <iostream>
#include <string>

#include "data_option.h"
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
    DataOptions data;
    if (!takeDataOptions(&argc, argv, &data, &error)) {
        std::cerr << "instrument-panel-kiosk: " << error << "\n" << kKioskUsage;
        return kExitBadArguments;
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
    // The data sources' threads start with the stop signals blocked, so
    // that they reach the view's reader and not a thread they would kill.
    sigset_t stopSignals;
    blockStopSignals(&stopSignals);
    if (attachDataOfOptions(data, &error) != 0) {
        std::cerr << "instrument-panel-kiosk: " << error << "\n";
        return kExitFailure;
    }
    grSetBatching(options.batched);
    KioskView view(options);
    const int status = view.Run();
    programOutputs().Detach();
    if (!programFeed().Detach(&error)) {
        std::cerr << "instrument-panel-kiosk: " << error << "\n";
        return status == kExitOk ? kExitFailure : status;
    }
    return status;
}
