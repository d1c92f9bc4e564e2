// The display's font table as grInit and grShutdown use it.
#pragma once

// True when the table has entries: a count above 0 and a first face name.
bool fontTableInUse();

// Creates the table's fonts and their metrics; false at the first failure.
bool loadFontTable();

void releaseFontTable();
