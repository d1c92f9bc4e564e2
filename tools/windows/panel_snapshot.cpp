// Windows hands the command line over in UTF-16; the narrow one of main
// would pass a module path through the ANSI code page and lose what it
// cannot hold.
#include <string>
#include <vector>

#include "snapshot.h"
#include "wide_text.h"

int wmain(int argc, wchar_t** wideArgv)
{
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(utf8Text(wideArgv[i]));
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    argv.push_back(nullptr);
    return snapshotMain(argc, argv.data());
}
