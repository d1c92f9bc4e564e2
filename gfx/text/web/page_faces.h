// Which of a page's face files a font table entry is set in, by the names
// the page shares with the desktop's fontconfig aliases: what a build checks
// each display's page against before it ships.
#pragma once

#include <string>

// The face file's name without ".ttf" ("LiberationSerif-BoldItalic"); empty
// for a name without an alias, which the page sets in pageFaceFallback.
std::string pageFaceFor(const char* faceName, bool bold, bool italic);
std::string pageFaceFallback(bool bold, bool italic);
