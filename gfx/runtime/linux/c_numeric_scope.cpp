#include <locale.h>

#include "runtime_internal.h"

namespace gr_runtime {

namespace {

locale_t cNumericLocale()
{
    // Created once and kept for the life of the process; null only when the
    // C library could not create it (out of memory).
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

}  // namespace

CNumericScope::CNumericScope()
{
    const locale_t c = cNumericLocale();
    if (c != static_cast<locale_t>(0))
        previous_ = uselocale(c);
}

CNumericScope::~CNumericScope()
{
    if (previous_)
        uselocale(static_cast<locale_t>(previous_));
}

}  // namespace gr_runtime
