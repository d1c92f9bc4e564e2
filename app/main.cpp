#include <iostream>
#include <string>

#include "app.h"
#include "data_option.h"
#include "display_option.h"
#include "heap_policy.h"
#include "renderer_option.h"
#include "threads_option.h"
#include "window_options.h"

wxIMPLEMENT_APP_NO_MAIN(App);

int main(int argc, char** argv)
{
    keepDriverHeap();
    std::string out, error;
    DataOptions data;
    if (!takeDataOptions(&argc, argv, &data, &error) || !takeRendererOption(&argc, argv, &programRenderer(), &error) ||
        !takeWindowOptions(&argc, argv, &programWindowOptions(), &error) || !takeThreadsOption(&argc, argv, &error)) {
        std::cerr << "instrument-panel: " << error << "\n" << kProgramUsage;
        return kExitUsage;
    }
    const int read = readProgramCommandLine(&argc, argv, &out, &error);
    if (read != kStartProgram) {
        std::cout << out;
        if (!error.empty())
            std::cerr << "instrument-panel: " << error << (error.back() == '\n' ? "" : "\n");
        return read;
    }
    if (const int attached = attachDataOfOptions(data, &error)) {
        std::cerr << "instrument-panel: " << error << "\n";
        return attached;
    }
    PreferX11Backend();
    // The toolkit gives -1 when the frame could not start (its display's
    // images, fonts or OpenGL); the reason is on stderr already.
    const int status = wxEntry(argc, argv) == 0 ? 0 : kExitRefused;
    programOutputs().Detach();
    if (!programFeed().Detach(&error)) {
        std::cerr << "instrument-panel: " << error << "\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
