#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "progress.h"
#include "snapshot.h"

namespace {

bool parse(std::initializer_list<const char*> args, SnapshotOptions* options, std::string* error)
{
    std::vector<const char*> argv = {"panel-snapshot"};
    argv.insert(argv.end(), args);
    return parseSnapshotArgs(static_cast<int>(argv.size()), argv.data(), options, error);
}

}  // namespace

TEST(SnapshotArguments, DefaultsAndEveryOption)
{
    SnapshotOptions options;
    std::string error;
    ASSERT_TRUE(parse({"-o", "a.png"}, &options, &error)) << error;
    EXPECT_EQ(options.frames, 1);
    EXPECT_EQ(options.samples, -1);
    EXPECT_EQ(options.width, 778);
    EXPECT_EQ(options.height, 1034);

    ASSERT_TRUE(parse({"--frames", "25", "--samples", "0", "--size", "320x200", "-o", "b.png"}, &options, &error));
    EXPECT_EQ(options.frames, 25);
    EXPECT_EQ(options.samples, 0);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 200);
    EXPECT_EQ(options.output, "b.png");

    EXPECT_FALSE(options.progress) << "progress is asked for, or follows a terminal";
    EXPECT_EQ(options.maxMemoryMb, kDefaultMemoryCapMb);
    ASSERT_TRUE(parse({"--progress", "--max-memory", "5000", "-o", "c.png"}, &options, &error)) << error;
    EXPECT_TRUE(options.progress);
    EXPECT_EQ(options.maxMemoryMb, 5000);

    SnapshotOptions list;
    ASSERT_TRUE(parse({"--formats"}, &list, &error));
    EXPECT_TRUE(list.listFormats);
    EXPECT_FALSE(list.help);

    // Help needs no output file and wins over anything after it.
    for (const char* flag : {"--help", "-h"}) {
        SnapshotOptions help;
        ASSERT_TRUE(parse({"--frames", "2", flag, "--bogus"}, &help, &error)) << flag;
        EXPECT_TRUE(help.help);
    }
}

TEST(SnapshotArguments, RejectsBadInputWithAReason)
{
    const std::vector<std::vector<const char*>> bad = {
        {},                              // no output
        {"-o"},                          // missing value
        {"--frames", "0", "-o", "a"},    // not a positive count
        {"--frames", "3x", "-o", "a"},   // trailing junk
        {"--samples", "-2", "-o", "a"},
        {"--size", "320", "-o", "a"},    // no height
        {"--size", "0x10", "-o", "a"},
        {"--size", "99999x10", "-o", "a"},
        {"--colour", "red", "-o", "a"},  // unknown option
        {"--max-memory", "0", "-o", "a"},
        {"--max-memory", "lots", "-o", "a"},
    };
    for (const auto& args : bad) {
        std::vector<const char*> argv = {"panel-snapshot"};
        argv.insert(argv.end(), args.begin(), args.end());
        SnapshotOptions options;
        std::string error;
        EXPECT_FALSE(parseSnapshotArgs(static_cast<int>(argv.size()), argv.data(), &options, &error))
            << argv.size();
        EXPECT_FALSE(error.empty());
    }
}

TEST(Snapshot, WritesTheDisplayAtTheRequestedSize)
{
    SnapshotOptions options;
    options.width = 120;
    options.height = 90;
    options.frames = 3;
    options.samples = 0;
    options.output = std::string(PANEL_TEST_OUTPUT) + "/snapshot_small.png";
    std::ostringstream out, err;
    ASSERT_EQ(runSnapshot(options, out, err), 0) << err.str();

    RgbaImage image;
    std::string error;
    ASSERT_TRUE(readPng(options.output, &image, &error)) << error;
    ASSERT_EQ(image.width, 120);
    ASSERT_EQ(image.height, 90);
    auto at = [&](int x, int yFromBottom) {
        const uint8_t* p = &image.pixels[((image.height - 1 - yFromBottom) * image.width + x) * 4];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(at(10, 10), (std::vector<int>{121, 121, 140}));
    EXPECT_EQ(at(5, 5), (std::vector<int>{21, 21, 21}));
    int seeThrough = 0;
    for (size_t i = 3; i < image.pixels.size(); i += 4)
        seeThrough += image.pixels[i] != 255;
    EXPECT_EQ(seeThrough, 0) << "the margin is as opaque as the window shows it";
}

TEST(Snapshot, HelpPrintsTheUsageAndSucceeds)
{
    SnapshotOptions options;
    options.help = true;
    std::ostringstream out, err;
    EXPECT_EQ(runSnapshot(options, out, err), 0);
    EXPECT_EQ(out.str(), kSnapshotUsage);
    EXPECT_TRUE(err.str().empty()) << err.str();
}

TEST(Snapshot, ListsFormatsAndRefusesUnknownSampleCounts)
{
    SnapshotOptions options;
    options.listFormats = true;
    std::ostringstream out, err;
    ASSERT_EQ(runSnapshot(options, out, err), 0);
    EXPECT_EQ(out.str().rfind("0 ", 0), 0u) << "the plain format comes first: " << out.str();

    SnapshotOptions odd;
    odd.samples = 3;
    odd.output = std::string(PANEL_TEST_OUTPUT) + "/never.png";
    std::ostringstream out2, err2;
    EXPECT_EQ(runSnapshot(odd, out2, err2), 2);
    EXPECT_NE(err2.str().find("3 samples"), std::string::npos) << err2.str();
}

// Sizes are costed before anything is allocated: above the cap they are
// refused with the cost and the option that allows them, within a raised
// cap they render.
TEST(Snapshot, RefusesFramesAboveTheMemoryCapBeforeAllocating)
{
    EXPECT_EQ(frameMemoryBytes(16384, 16384, 0), 16384ull * 16384 * 17);
    EXPECT_EQ(frameMemoryBytes(100, 10, 4), 1000ull * (4 + 4 * 5 + 4 + 8));

    SnapshotOptions largest;
    largest.samples = 0;
    largest.width = largest.height = 16384;
    largest.output = std::string(PANEL_TEST_OUTPUT) + "/too-large.png";
    std::remove(largest.output.c_str());
    std::ostringstream out, err;
    EXPECT_EQ(runSnapshot(largest, out, err), 2);
    EXPECT_NE(err.str().find("16384x16384 at 0 samples needs about 4352 MiB, more than the cap of 2048 MiB; "
                             "--max-memory 4352 renders it"),
              std::string::npos)
        << err.str();
    EXPECT_FALSE(std::ifstream(largest.output).good()) << "nothing written";

    SnapshotOptions capped;
    capped.samples = 0;
    capped.width = capped.height = 300;  // 1.5 MB
    capped.maxMemoryMb = 1;
    capped.output = std::string(PANEL_TEST_OUTPUT) + "/capped.png";
    std::ostringstream out2, err2;
    EXPECT_EQ(runSnapshot(capped, out2, err2), 2) << err2.str();
    capped.maxMemoryMb = 2;
    std::ostringstream out3, err3;
    EXPECT_EQ(runSnapshot(capped, out3, err3), 0) << err3.str();
}

TEST(Snapshot, ProgressShowsFramesRateTimeLeftAndASummary)
{
    EXPECT_EQ(progressLine(1200, 100000, 2.5), "frame 1200 of 100000, 480.0 frames/s, 3 min 26 s left");
    EXPECT_EQ(progressLine(0, 10, 0.0), "frame 0 of 10, 0.0 frames/s");
    EXPECT_EQ(progressLine(10, 100000, 36.0), "frame 10 of 100000, 0.3 frames/s, 99 h 59 min left");
    EXPECT_EQ(progressSummary(100000, 208.3), "100000 frames in 208.3 s, 480.1 frames/s");

    SnapshotOptions options;
    options.samples = 0;
    options.width = options.height = 64;
    options.frames = 3;
    options.progress = true;
    options.output = std::string(PANEL_TEST_OUTPUT) + "/progress.png";
    std::ostringstream out, err;
    ASSERT_EQ(runSnapshot(options, out, err), 0) << err.str();
    EXPECT_NE(err.str().find("64x64 at 0 samples needs about 1 MiB\n"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("3 frames in "), std::string::npos) << err.str();

    options.progress = false;
    std::ostringstream quietOut, quiet;
    ASSERT_EQ(runSnapshot(options, quietOut, quiet), 0);
    EXPECT_EQ(quiet.str(), "") << "without a terminal or --progress, stderr stays quiet";
}

// -o into a folder that is missing says the system's reason.
TEST(Snapshot, AnUnwritableOutputSaysWhy)
{
    SnapshotOptions options;
    options.samples = 0;
    options.width = options.height = 16;
    options.output = std::string(PANEL_TEST_OUTPUT) + "/no-such-folder/out.png";
    std::ostringstream out, err;
    EXPECT_EQ(runSnapshot(options, out, err), 1);
    EXPECT_NE(err.str().find("cannot open " + options.output + " for writing: No such file or directory"),
              std::string::npos)
        << err.str();
}
