// Golden images: frames of the built-in display and of the example module,
// rendered by panel-snapshot and compared with the reference PNGs under
// tests/goldens, and the reference pictures of the authors' guide under
// docs/pictures, so that they never show what the library no longer does. A pixel differs when any channel is off by more than
// kChannelTolerance; a frame passes with at most kDifferingShare of its
// pixels differing. On failure the rendered frame and a difference image
// (differing pixels red over the dimmed reference) are written to
// test-output/goldens and named in the message.
//
// PANEL_UPDATE_GOLDENS=1 writes the rendered frames over the references
// instead; look at every one before committing it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

#include "png_file.h"

namespace {

constexpr int kChannelTolerance = 24;
constexpr double kDifferingShare = 0.0001;  // 0.01 %: about 80 pixels of a frame

struct Golden {
    const char* name;
    const char* module;  // null: the built-in display
    int frames;
    int samples;
    const char* folder;
};

void PrintTo(const Golden& golden, std::ostream* out) { *out << golden.name; }

const Golden kGoldens[] = {
    {"builtin_frame1_s0", nullptr, 1, 0, GOLDEN_DIR},
    {"builtin_frame90_s0", nullptr, 90, 0, GOLDEN_DIR},
    {"builtin_frame1_s4", nullptr, 1, 4, GOLDEN_DIR},
    {"flight_frame1_s0", FLIGHT_MODULE, 1, 0, GOLDEN_DIR},
    {"flight_frame60_s0", FLIGHT_MODULE, 60, 0, GOLDEN_DIR},
    {"flight_frame150_s0", FLIGHT_MODULE, 150, 0, GOLDEN_DIR},
    {"flight_frame150_s4", FLIGHT_MODULE, 150, 4, GOLDEN_DIR},
    {"clip_operations", CLIP_PICTURE_MODULE, 1, 4, PICTURE_DIR},
    {"text_alignment", TEXT_PICTURE_MODULE, 1, 4, PICTURE_DIR},
};

struct Comparison {
    long differing = 0;
    long allowed = 0;
    RgbaImage difference;
};

Comparison compare(const RgbaImage& frame, const RgbaImage& reference)
{
    Comparison result;
    result.allowed = static_cast<long>(kDifferingShare * frame.width * frame.height);
    result.difference = reference;
    for (size_t i = 0; i + 3 < frame.pixels.size(); i += 4) {
        int worst = 0;
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(frame.pixels[i + c] - reference.pixels[i + c]));
        uint8_t* out = &result.difference.pixels[i];
        if (worst > kChannelTolerance) {
            ++result.differing;
            out[0] = 255;
            out[1] = 0;
            out[2] = 0;
        } else {
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(out[c] / 4);
        }
        out[3] = 255;
    }
    return result;
}

class Goldens : public ::testing::TestWithParam<Golden> {};

}  // namespace

TEST_P(Goldens, FrameMatchesItsReference)
{
    const Golden& golden = GetParam();
    const std::string outputDir = std::string(PANEL_TEST_OUTPUT) + "/goldens";
    std::filesystem::create_directories(outputDir);
    const std::string rendered = outputDir + "/" + golden.name + ".png";
    const std::string reference = std::string(golden.folder) + "/" + golden.name + ".png";

    std::string command = std::string(PANEL_SNAPSHOT) + " --frames " + std::to_string(golden.frames) +
                          " --samples " + std::to_string(golden.samples) + " -o " + rendered;
    if (golden.module)
        command += std::string(" --display ") + golden.module;
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

    RgbaImage frame;
    std::string error;
    ASSERT_TRUE(readPng(rendered, &frame, &error)) << error;
    if (const char* update = std::getenv("PANEL_UPDATE_GOLDENS"); update && std::string(update) == "1") {
        ASSERT_TRUE(writePng(reference, frame, &error)) << error;
        GTEST_SKIP() << "reference written: " << reference;
    }
    RgbaImage expected;
    ASSERT_TRUE(readPng(reference, &expected, &error)) << error << " (PANEL_UPDATE_GOLDENS=1 makes it)";
    ASSERT_EQ(frame.width, expected.width) << rendered;
    ASSERT_EQ(frame.height, expected.height) << rendered;

    const Comparison result = compare(frame, expected);
    if (result.differing <= result.allowed)
        return;
    const std::string differencePath = outputDir + "/" + golden.name + "-difference.png";
    ASSERT_TRUE(writePng(differencePath, result.difference, &error)) << error;
    ADD_FAILURE() << golden.name << ": " << result.differing << " pixels differ by more than "
                  << kChannelTolerance << " (at most " << result.allowed << " may)\n  rendered frame: "
                  << rendered << "\n  difference (red): " << differencePath << "\n  reference: " << reference;
}

INSTANTIATE_TEST_SUITE_P(Frames, Goldens, ::testing::ValuesIn(kGoldens),
                         [](const ::testing::TestParamInfo<Golden>& info) { return std::string(info.param.name); });
