// Internals shared by the runtime helpers (not part of the gr API).
#pragma once

#include <cstdint>
#include <ctime>

#include "gr.h"

namespace gr_runtime {

// While it lives, this thread parses and formats numbers in the "C" locale,
// so that the point stays the decimal separator whatever the process locale
// is. Each platform's folder implements it.
class CNumericScope {
public:
    CNumericScope();
    ~CNumericScope();
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    void* previous_ = nullptr;  // the setting to restore; null: nothing changed
    // What Windows' per-thread locale needs; unused elsewhere.
    [[maybe_unused]] int threadConfig_ = 0;
    [[maybe_unused]] char saved_[128] = {};
};

// Copies a broken-down time into out, converting the C library's offsets
// (months from 0, years from 1900, weekday from Sunday = 0) to the runtime's.
void fillDateTime(const std::tm& tm, GrDateTime* out);

// Breaks t (seconds since 1970-01-01 UTC) down as UTC or local time. Returns
// false and leaves out untouched when the C library cannot represent t.
bool breakDownTime(int64_t t, bool local, GrDateTime* out);

}  // namespace gr_runtime
