#include "data_option.h"

#include <chrono>
#include <cstring>

#include "display_module.h"

namespace {

std::chrono::steady_clock::time_point& feedStart()
{
    static std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    return start;
}

}  // namespace

bool takeDataOptions(int* argc, char** argv, DataOptions* options, std::string* error)
{
    *options = DataOptions();
    int kept = *argc > 0 ? 1 : 0;
    for (int i = 1; i < *argc; ++i) {
        const bool data = std::strcmp(argv[i], "--data") == 0;
        const bool record = std::strcmp(argv[i], "--record") == 0;
        const bool send = std::strcmp(argv[i], "--send") == 0;
        if (!data && !record && !send) {
            argv[kept++] = argv[i];
            continue;
        }
        if (i + 1 >= *argc || !*argv[i + 1]) {
            *error = std::string(argv[i]) + (data ? " needs a source" : send ? " needs a destination" : " needs a file");
            return false;
        }
        const char* value = argv[++i];
        if (send) {
            SinkOption destination;
            if (!parseSinkOption(value, &destination, error))
                return false;
            options->destinations.push_back(destination);
            continue;
        }
        if (record) {
            options->recordPath = value;
            continue;
        }
        SourceOption wanted;
        if (!parseSourceOption(value, &wanted, error))
            return false;
        options->sources.push_back(wanted);
    }
    argv[kept] = nullptr;
    *argc = kept;
    if (!options->recordPath.empty() && options->sources.empty()) {
        *error = "--record needs a --data source";
        return false;
    }
    return true;
}

int attachDataOfOptions(const DataOptions& options, std::string* error)
{
    const GrDisplay& display = *selectedDisplay().descriptor;
    if (!options.destinations.empty() &&
        !programOutputs().Attach(displayOutputs(display), displayOutputCount(display), options.destinations, error))
        return 1;
    if (options.sources.empty())
        return 0;
    if (!programFeed().Attach(display, options.sources, options.recordPath, error))
        return 1;
    feedStart() = std::chrono::steady_clock::now();
    return 0;
}

OutputFeed& programOutputs()
{
    static OutputFeed outputs;
    return outputs;
}

DataFeed& programFeed()
{
    static DataFeed feed;
    return feed;
}

double programFeedClockMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - feedStart()).count();
}
