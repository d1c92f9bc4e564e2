// Recordings: rows accepted have times from 0 that never go back and no
// NaN; a refusal names the file and keeps no rows.
#include <cmath>

#include "fuzz_input.h"
#include "recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<RecordedValue> rows;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!parseRecording(text, "fuzz.csv", &rows, &error)) {
        FUZZ_CHECK(error.rfind("fuzz.csv", 0) == 0 && rows.empty());
        return 0;
    }
    double last = 0.0;
    for (const RecordedValue& row : rows) {
        FUZZ_CHECK(row.timeS >= last && std::isfinite(row.timeS) && !std::isnan(row.value) && !row.input.empty());
        last = row.timeS;
    }
    return 0;
}
