// Internals shared by the runtime helpers (not part of the gr API).
#pragma once

#include <locale.h>

#include <cstdint>
#include <ctime>

#include "gr.h"

namespace gr_runtime {

// A "C" locale object for number parsing and formatting, so that the point
// stays the decimal separator whatever the process locale is. Null only when
// the C library could not create it (out of memory).
locale_t cNumericLocale();

// Copies a broken-down time into out, converting the C library's offsets
// (months from 0, years from 1900, weekday from Sunday = 0) to the runtime's.
void fillDateTime(const std::tm& tm, GrDateTime* out);

// Breaks t (seconds since 1970-01-01 UTC) down as UTC or local time. Returns
// false and leaves out untouched when the C library cannot represent t.
bool breakDownTime(int64_t t, bool local, GrDateTime* out);

}  // namespace gr_runtime
