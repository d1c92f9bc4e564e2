// The pixel-format probe for on-screen windows: GLX framebuffer
// configurations of the default screen of an X display.
#pragma once

#include <string>
#include <vector>

#include "pixel_format_table.h"

typedef struct _XDisplay Display;

class GlxProbe : public PixelFormatProbe {
public:
    // Uses display when given (not owned), else opens the default display.
    explicit GlxProbe(Display* display = nullptr);
    ~GlxProbe() override;
    GlxProbe(const GlxProbe&) = delete;
    GlxProbe& operator=(const GlxProbe&) = delete;

    bool ChoosePlainFormat(int* format) override;
    bool HasMultisampleExtension() override;
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override;
    bool QuerySamples(int format, int* samples) override;
    const std::string& Error() const { return error_; }

private:
    bool HasGlxExtension(const char* name) const;

    Display* display_;
    bool ownsDisplay_;
    std::string error_;
};
