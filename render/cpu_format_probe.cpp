#include "cpu_format_probe.h"

#include <iterator>

namespace {

// The sample counts the CPU backend has sample patterns for.
constexpr int kCpuSampleCounts[] = {2, 4, 8};

}  // namespace

bool CpuFormatProbe::ChoosePlainFormat(int* format)
{
    *format = 0;
    return true;
}

bool CpuFormatProbe::ChooseMultisampleFormats(bool, std::vector<int>* formats)
{
    formats->assign(std::begin(kCpuSampleCounts), std::end(kCpuSampleCounts));
    return true;
}

bool CpuFormatProbe::QuerySamples(int format, int* samples)
{
    *samples = format;
    return true;
}

const char* cpuBackendFor(int samples)
{
    switch (samples) {
    case 2: return "cpu2";
    case 4: return "cpu4";
    case 8: return "cpu8";
    default: return "cpu";
    }
}
