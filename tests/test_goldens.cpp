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
//
// With PANEL_TEST_GL naming another backend than gl1, the frames are drawn
// through it and held to the same references; BackendsAgree also holds them
// to gl1's own frames: without samples at most kAgreeingShare of the pixels
// may differ by more than kAgreeingLevels, with samples by more than the
// goldens' tolerance. OpenGL ES cannot switch multisampling off for a draw,
// so on es2 and es3 a multisampled frame antialiases what the display draws
// aliased (the flight display's tape ticks): there kPerTargetShare of the
// pixels may differ instead of kDifferingShare.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "frame_comparison.h"
#include "png_file.h"
#include "test_backend.h"

namespace {

constexpr int kAgreeingLevels = 2;
constexpr double kAgreeingShare = 0.001;  // 0.1 %
constexpr double kPerTargetShare = 0.001;

// The share of a frame's pixels that may differ from a multisampled
// reference on backend.
double multisampledShare(const std::string& backend)
{
    return backend == "es2" || backend == "es3" ? kPerTargetShare : kDifferingShare;
}

struct Golden {
    const char* name;
    const char* module;  // null: the built-in display
    int frames;
    int samples;
    const char* folder;
    const char* replay = nullptr;  // a recording the example ships, fed to the display
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
    // The recorded flight at 4 s: the same frame on every machine and run.
    {"flight_replay_frame100_s0", FLIGHT_MODULE, 100, 0, GOLDEN_DIR, "recorded-flight.csv"},
};

class Goldens : public ::testing::TestWithParam<Golden> {};

// Renders golden's frame through backend into path.
void render(const Golden& golden, const std::string& backend, const std::string& path)
{
    std::string command = std::string(PANEL_SNAPSHOT) + " --frames " + std::to_string(golden.frames) +
                          " --samples " + std::to_string(golden.samples) + " --gl " + backend + " -o " + path;
    if (golden.module)
        command += std::string(" --display ") + golden.module;
    if (golden.replay)
        command += std::string(" --data replay:") + FLIGHT_DATA_DIR + "/" + golden.replay;
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
}

}  // namespace

TEST_P(Goldens, FrameMatchesItsReference)
{
    const Golden& golden = GetParam();
    const std::string outputDir = std::string(PANEL_TEST_OUTPUT) + "/goldens";
    std::filesystem::create_directories(outputDir);
    const std::string rendered = outputDir + "/" + golden.name + ".png";
    const std::string reference = std::string(golden.folder) + "/" + golden.name + ".png";

    ASSERT_NO_FATAL_FAILURE(render(golden, testBackend(), rendered));

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

    const FrameComparison result = compareFrames(frame, expected, kChannelTolerance,
                                                 golden.samples > 0 ? multisampledShare(testBackend()) : kDifferingShare);
    if (result.Agrees())
        return;
    const std::string differencePath = outputDir + "/" + golden.name + "-difference.png";
    ASSERT_TRUE(writePng(differencePath, result.difference, &error)) << error;
    ADD_FAILURE() << golden.name << ": " << result.differing << " pixels differ by more than "
                  << kChannelTolerance << " (at most " << result.allowed << " may)\n  rendered frame: "
                  << rendered << "\n  difference (red): " << differencePath << "\n  reference: " << reference;
}

TEST_P(Goldens, BackendsAgree)
{
    const Golden& golden = GetParam();
    const std::string backend = testBackend();
    if (backend == "gl1")
        GTEST_SKIP() << "gl1 is the backend the others are held to";
    const std::string outputDir = std::string(PANEL_TEST_OUTPUT) + "/goldens";
    std::filesystem::create_directories(outputDir);
    const std::string base = outputDir + "/" + golden.name;
    // gl1's frame is named for the backend it is held against: the tests
    // of two backends run at once and must not write one file.
    const std::string referencePath = base + "-gl1-for-" + backend + ".png";
    ASSERT_NO_FATAL_FAILURE(render(golden, "gl1", referencePath));
    ASSERT_NO_FATAL_FAILURE(render(golden, backend, base + "-" + backend + ".png"));
    RgbaImage reference, frame;
    std::string error;
    ASSERT_TRUE(readPng(referencePath, &reference, &error)) << error;
    ASSERT_TRUE(readPng(base + "-" + backend + ".png", &frame, &error)) << error;
    ASSERT_EQ(frame.width, reference.width);
    ASSERT_EQ(frame.height, reference.height);
    const bool multisampled = golden.samples > 0;
    const int levels = multisampled ? kChannelTolerance : kAgreeingLevels;
    const FrameComparison result =
        compareFrames(frame, reference, levels, multisampled ? multisampledShare(backend) : kAgreeingShare);
    std::printf("%s on %s: %ld pixels differ from gl1's by more than %d levels (%.4f %%; at most %ld may)\n",
                golden.name, backend.c_str(), result.differing, levels,
                100.0 * result.differing / (frame.width * frame.height), result.allowed);
    if (result.differing <= result.allowed)
        return;
    const std::string differencePath = base + "-" + backend + "-difference.png";
    ASSERT_TRUE(writePng(differencePath, result.difference, &error)) << error;
    ADD_FAILURE() << golden.name << " on " << backend << ": " << result.differing << " pixels differ from gl1's"
                  << "\n  difference (red): " << differencePath;
}

INSTANTIATE_TEST_SUITE_P(Frames, Goldens, ::testing::ValuesIn(kGoldens),
                         [](const ::testing::TestParamInfo<Golden>& info) { return std::string(info.param.name); });

// A silenced input: the altimeter fed once at 0 s, the rest every frame.
// Its flag is down while the value is fresh and up once the freshness limit
// (500 ms) has passed, and every other flag stays down.
TEST(Replay, ASilencedInputRaisesItsFailureFlagAfterTheFreshnessLimit)
{
    const std::string outputDir = std::string(PANEL_TEST_OUTPUT) + "/goldens";
    std::filesystem::create_directories(outputDir);
    const std::string recording = outputDir + "/silenced-altimeter.csv";
    {
        std::ofstream out(recording);
        out << "time,input,value\n0,altitude,3000\n";
        for (int frame = 0; frame <= 40; ++frame)
            for (const char* input : {"pitch", "roll", "heading", "fuel", "fuel_flow"})
                out << frame * 0.04 << "," << input << "," << 10 << "\n";
    }
    // Display (570, 620) is inside the altimeter's flag, clear of its text;
    // the heading flag's the same way at (250, 250).
    auto flagRed = [&](int frames, int x, int y) {
        const std::string rendered = outputDir + "/silenced-" + std::to_string(frames) + ".png";
        const std::string command = std::string(PANEL_SNAPSHOT) + " --samples 0 --display " + FLIGHT_MODULE +
                                    " --data replay:" + recording + " --frames " + std::to_string(frames) + " -o " +
                                    rendered + " >/dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
        RgbaImage frame;
        std::string error;
        EXPECT_TRUE(readPng(rendered, &frame, &error)) << error;
        if (frame.pixels.empty())
            return false;
        const int margin = 10;
        const uint8_t* p = &frame.pixels[(static_cast<size_t>(frame.height - 1 - (y + margin)) * frame.width +
                                          (x + margin)) * 4];
        return p[0] > 200 && p[1] < 80 && p[2] < 80;
    };
    constexpr int kAltFlagX = 570 - 28, kAltFlagY = 620, kHdgFlagX = 250 - 28, kHdgFlagY = 250;
    EXPECT_FALSE(flagRed(10, kAltFlagX, kAltFlagY)) << "400 ms after the last value";
    EXPECT_TRUE(flagRed(20, kAltFlagX, kAltFlagY)) << "800 ms after the last value";
    EXPECT_FALSE(flagRed(20, kHdgFlagX, kHdgFlagY)) << "the heading is fed every frame";
}
