// The folder the host chose for relative image names (grSetImageFolder).
#pragma once

#include <string>

// The chosen folder with a trailing slash, or empty for the default (the
// executable's folder).
const std::string& chosenImageFolder();
