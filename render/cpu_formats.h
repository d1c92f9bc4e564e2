// The sample counts of the drawing library's CPU backend, offered to a view
// as its pixel formats: a format's id is its sample count, and each count
// draws through the backend of that name.
#pragma once

#include <string>
#include <vector>

#include "pixel_format_table.h"

// The backend drawing with samples per pixel: "cpu" for 0, "cpuN" for N,
// "cpu-exact" for GR_EXACT_COVERAGE_SAMPLES.
std::string cpuBackendName(int samples);

// Answers with the counts the library's CPU backend takes. It asks the
// library by selecting each name, so it runs while no display is started
// (before grInit or after grShutdown).
class CpuFormatProbe : public PixelFormatProbe {
public:
    // The table offers GR_EXACT_COVERAGE_SAMPLES after the sample counts.
    bool ChoosePlainFormat(int* format) override;
    bool HasMultisampleExtension() override { return true; }
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override;
    bool QuerySamples(int format, int* samples) override;
};
