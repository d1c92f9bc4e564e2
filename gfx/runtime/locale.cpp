#include "runtime_internal.h"

namespace gr_runtime {

locale_t cNumericLocale() {
    // Created once and kept for the life of the process.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

}  // namespace gr_runtime
