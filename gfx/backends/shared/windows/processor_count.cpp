#include <windows.h>

#include <bitset>

#include "backends/shared/thread_count.h"

int affinityProcessorCount()
{
    DWORD_PTR process = 0, system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system))
        return 1;
    const int count = static_cast<int>(std::bitset<sizeof(DWORD_PTR) * 8>(process).count());
    return count > 0 ? count : 1;
}
