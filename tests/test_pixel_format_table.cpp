#include <gtest/gtest.h>

#include "pixel_format_table.h"

namespace {

// A driver whose configurations are given as (id, samples) lists.
class FakeProbe : public PixelFormatProbe {
public:
    bool plainOk = true;
    int plainId = 1;
    bool extension = true;
    std::vector<std::pair<int, int>> exchange;  // (id, samples) with the exchange swap method
    std::vector<std::pair<int, int>> copy;      // with the copy swap method
    std::vector<int> failingQueries;
    int chooseCalls = 0;
    size_t samplesQueried = 0;

    bool ChoosePlainFormat(int* format) override
    {
        *format = plainId;
        return plainOk;
    }
    bool HasMultisampleExtension() override { return extension; }
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override
    {
        ++chooseCalls;
        for (auto [id, samples] : swapExchange ? exchange : copy)
            formats->push_back(id);
        return true;
    }
    bool QuerySamples(int format, int* samples) override
    {
        ++samplesQueried;
        for (int failing : failingQueries)
            if (failing == format)
                return false;
        for (auto& list : {exchange, copy})
            for (auto [id, s] : list)
                if (id == format) {
                    *samples = s;
                    return true;
                }
        return false;
    }
};

std::vector<std::pair<int, int>> entriesOf(const PixelFormatTable& table)
{
    std::vector<std::pair<int, int>> out;
    for (const PixelFormatEntry& e : table.Entries())
        out.push_back({e.samples, e.format});
    return out;
}

using Entries = std::vector<std::pair<int, int>>;

}  // namespace

TEST(PixelFormatTable, KeepsTheFirstFormatPerSampleCountSorted)
{
    FakeProbe probe;
    probe.exchange = {{10, 4}, {11, 8}, {12, 4}, {13, 2}};
    PixelFormatTable table;
    ASSERT_TRUE(table.Probe(probe));
    EXPECT_EQ(entriesOf(table), (Entries{{0, 1}, {2, 13}, {4, 10}, {8, 11}}));
    EXPECT_EQ(table.IndexOf(4), 2);
    EXPECT_EQ(table.FormatAt(2), 10);
    EXPECT_EQ(table.IndexOf(16), -1);
    EXPECT_EQ(table.FormatAt(-1), -1);
    EXPECT_EQ(table.FormatFor(16), -1);
    EXPECT_EQ(table.DefaultSampleCount(), 8);
}

TEST(PixelFormatTable, ConsidersOnlyTheFirstHundredFormats)
{
    FakeProbe probe;
    for (int i = 0; i < 100; ++i)
        probe.exchange.push_back({100 + i, 4});
    probe.exchange.push_back({500, 8});
    PixelFormatTable table;
    ASSERT_TRUE(table.Probe(probe));
    EXPECT_EQ(entriesOf(table), (Entries{{0, 1}, {4, 100}}));
    EXPECT_EQ(probe.samplesQueried, 100u);
}

TEST(PixelFormatTable, FallsBackToTheCopySwapMethodOnce)
{
    FakeProbe probe;
    probe.copy = {{20, 2}};
    PixelFormatTable table;
    ASSERT_TRUE(table.Probe(probe));
    EXPECT_EQ(probe.chooseCalls, 2);
    EXPECT_EQ(entriesOf(table), (Entries{{0, 1}, {2, 20}}));
}

TEST(PixelFormatTable, PlainOnlyWithoutMultisampledFormats)
{
    FakeProbe none;
    PixelFormatTable table;
    ASSERT_TRUE(table.Probe(none));
    EXPECT_EQ(entriesOf(table), (Entries{{0, 1}}));
    EXPECT_EQ(table.DefaultSampleCount(), 0);

    FakeProbe noExtension;
    noExtension.extension = false;
    noExtension.exchange = {{10, 4}};
    ASSERT_TRUE(table.Probe(noExtension));
    EXPECT_EQ(entriesOf(table), (Entries{{0, 1}}));
    EXPECT_EQ(noExtension.chooseCalls, 0);
}

TEST(PixelFormatTable, SkipsFailedQueriesAndNeverDisplacesThePlainFormat)
{
    FakeProbe probe;
    probe.exchange = {{10, 0}, {11, 4}, {12, 4}, {13, 2}};
    probe.failingQueries = {11};
    PixelFormatTable table;
    ASSERT_TRUE(table.Probe(probe));
    EXPECT_EQ(entriesOf(table), (Entries{{0, 1}, {2, 13}, {4, 12}}));
}

TEST(PixelFormatTable, FailsWhenThePlainFormatFails)
{
    FakeProbe probe;
    probe.plainOk = false;
    PixelFormatTable table;
    EXPECT_FALSE(table.Probe(probe));
    EXPECT_TRUE(table.Entries().empty());
    EXPECT_FALSE(table.IsSupported(0));
}

TEST(PixelFormatTable, DefaultIsEightElseFourElseTwoNeverSixteen)
{
    FakeProbe twoAndFour;
    twoAndFour.exchange = {{10, 2}, {11, 4}};
    PixelFormatTable table;
    ASSERT_TRUE(table.Probe(twoAndFour));
    EXPECT_EQ(table.DefaultSampleCount(), 4);
    EXPECT_FALSE(table.IsSupported(8));

    FakeProbe sixteen;
    sixteen.exchange = {{10, 16}, {11, 2}};
    ASSERT_TRUE(table.Probe(sixteen));
    EXPECT_EQ(table.DefaultSampleCount(), 2);
}

TEST(ExtensionString, IsAPlainSubstringSearch)
{
    EXPECT_TRUE(extensionListed("GLX_ARB_create_context GLX_ARB_multisample GLX_EXT_x", "GLX_ARB_multisample"));
    EXPECT_TRUE(extensionListed("GLX_ARB_multisampleXYZ", "GLX_ARB_multisample"));
    EXPECT_FALSE(extensionListed("GLX_ARB_multi GLX_EXT_sample", "GLX_ARB_multisample"));
    EXPECT_FALSE(extensionListed("", "GLX_ARB_multisample"));
    EXPECT_FALSE(extensionListed(nullptr, "GLX_ARB_multisample"));
}
