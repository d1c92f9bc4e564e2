#include <gtest/gtest.h>

#include <sstream>

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
