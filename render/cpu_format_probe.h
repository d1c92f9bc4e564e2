// The "pixel formats" of the CPU backend, for a view that draws without any
// GL: a plain frame and one per sample count the backend antialiases with.
// The configuration id of each is its sample count, so that a surface
// learns the samples from the id the renderer creates it with.
#pragma once

#include <vector>

#include "pixel_format_table.h"

class CpuFormatProbe : public PixelFormatProbe {
public:
    bool ChoosePlainFormat(int* format) override;
    bool HasMultisampleExtension() override { return true; }
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override;
    bool QuerySamples(int format, int* samples) override;
};

// The drawing library's backend name for the CPU backend at samples per
// pixel: "cpu" without antialiasing, "cpu4" with four samples...
const char* cpuBackendFor(int samples);
