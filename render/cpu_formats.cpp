#include "cpu_formats.h"

#include "gr_display.h"

namespace {

// The multisampling levels a view's menu can offer.
constexpr int kMenuSampleCounts[] = {2, 4, 8, 16};

}  // namespace

std::string cpuBackendName(int samples)
{
    if (samples == GR_EXACT_COVERAGE_SAMPLES)
        return "cpu-exact";
    return samples == 0 ? "cpu" : "cpu" + std::to_string(samples);
}

bool CpuFormatProbe::ChoosePlainFormat(int* format)
{
    *format = 0;
    return grSelectBackend(cpuBackendName(0).c_str(), nullptr);
}

bool CpuFormatProbe::ChooseMultisampleFormats(bool, std::vector<int>* formats)
{
    for (int samples : kMenuSampleCounts)
        if (grSelectBackend(cpuBackendName(samples).c_str(), nullptr))
            formats->push_back(samples);
    if (grSelectBackend(cpuBackendName(GR_EXACT_COVERAGE_SAMPLES).c_str(), nullptr))
        formats->push_back(GR_EXACT_COVERAGE_SAMPLES);
    return !formats->empty();
}

bool CpuFormatProbe::QuerySamples(int format, int* samples)
{
    *samples = format;
    return true;
}
