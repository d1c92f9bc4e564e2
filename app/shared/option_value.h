// Taking one "--name VALUE" or "--name=VALUE" option out of a command line,
// before the toolkit sees it: the rule every option of the programs with a
// value follows.
#pragma once

#include <string>

// Removes option and its value from argv (argc follows; argv[argc] becomes
// null) into *value; *given says whether it was there. False with a message
// in *error when it is given twice or without a value (an empty one
// included): "OPTION needs " + needs.
bool takeOptionValue(int* argc, char** argv, const char* option, const char* needs, std::string* value, bool* given,
                     std::string* error);
