// Recordings: rows accepted have times from 0 that never go back and no
// NaN; a refusal names the file and keeps no rows; a cut last row is
// warned about.
#include <cmath>

#include "fuzz_input.h"
#include "recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<RecordedValue> rows;
    std::string error, warning;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!parseRecording(text, "fuzz.csv", &rows, &error, &warning)) {
        FUZZ_CHECK(error.rfind("fuzz.csv", 0) == 0 && rows.empty());
        return 0;
    }
    // A cut last row is named by its line, and only a cut one.
    const std::string_view written = text.substr(0, text.find_last_not_of('\0') + 1);
    const std::string_view tail = written.substr(written.rfind('\n') + 1);
    const bool cut = tail.find_first_not_of(" \t\r") != std::string_view::npos;
    FUZZ_CHECK(cut ? warning.rfind("fuzz.csv:", 0) == 0 : warning.empty());
    double last = 0.0;
    for (const RecordedValue& row : rows) {
        FUZZ_CHECK(row.timeS >= last && std::isfinite(row.timeS) && !std::isnan(row.value) && !row.input.empty());
        last = row.timeS;
    }
    return 0;
}
