// Pixel tests: a headless EGL pbuffer on Mesa (or, on the CPU backend, the
// library's own frame) with the display's projection, the drawing library
// started in it with useKnownDrawingState(), and read-back helpers.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "egl_headless.h"
#include "gr.h"
#include "png_file.h"

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c);

class PixelTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 256;
    static constexpr Rgb kClear = {0, 0, 0};

    void SetUp() override;
    void TearDown() override;

    // Starts over with a context of this sample count (0 = the plain format).
    void StartContext(int samples);

    // Reads the framebuffer (after drawing) into image_.
    void Capture();
    // The colour of the pixel whose lower left corner is display unit (x, y).
    Rgb At(int x, int y) const;
    // Number of pixels of the captured image with exactly this colour.
    int Count(const Rgb& color) const;
    // Writes the captured image to the test output folder; returns the path.
    std::string Save(const std::string& name) const;

    const PixelFormatTable& Formats() const { return formats_; }

    RgbaImage image_;

private:
    void StopContext();

    PixelFormatTable formats_;
    std::unique_ptr<EglPbufferSurface> surface_;  // null on the CPU backend
    bool started_ = false;
};
