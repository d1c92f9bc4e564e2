#include <clocale>
#include <cstring>

#include "runtime_internal.h"

namespace gr_runtime {

// The thread gets a locale of its own for the scope, so other threads and
// the process setting stay as they are.
CNumericScope::CNumericScope()
{
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    if (!numeric || std::strcmp(numeric, "C") == 0 || std::strlen(numeric) >= sizeof saved_)
        return;
    std::strcpy(saved_, numeric);
    threadConfig_ = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    std::setlocale(LC_NUMERIC, "C");
    previous_ = saved_;
}

CNumericScope::~CNumericScope()
{
    if (!previous_)
        return;
    std::setlocale(LC_NUMERIC, saved_);
    _configthreadlocale(threadConfig_);
}

}  // namespace gr_runtime
