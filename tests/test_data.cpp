// Data sources: the three wire formats through the shipped mapping files,
// what they must refuse, and a feed over UDP on 127.0.0.1 into declared
// inputs, clamping and going stale.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "data_feed.h"
#include "datagram_decoder.h"
#include "mapping.h"
#include "recording.h"
#include "udp_socket.h"
#include "wire_encode.h"

namespace {

const std::string kDataDir = FLIGHT_DATA_DIR;

struct FormatCase {
    const char* name;
    const char* mapping;                 // a mapping file the flight example ships
    std::vector<std::string> malformed;  // each skipped whole and counted once
    std::string refused;                 // a datagram with a NaN or an infinity for pitch
};

void PrintTo(const FormatCase& format, std::ostream* out) { *out << format.name; }

std::string xplaneBytes(int group, float first, size_t cut = 0)
{
    std::string bytes = "DATA*";
    auto put = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put(static_cast<uint32_t>(group));
    uint32_t bits = 0;
    std::memcpy(&bits, &first, sizeof bits);
    put(bits);
    for (int i = 1; i < 8; ++i)
        put(0);
    return bytes.substr(0, bytes.size() - cut);
}

std::vector<FormatCase> formatCases()
{
    return {
        {"generic", "flightgear-generic.map", {"1,2,up,4,0.5,3\n", "1,,3\n", "1;2;3\n"}, "nan,1,2,3,0.5,3\n"},
        {"xplane", "xplane-data.map", {xplaneBytes(17, 1.0f, 1), "DATB*", "DATA"},
         xplaneBytes(17, std::numeric_limits<float>::infinity())},
        {"json", "json.map", {"{\"pitch_deg\": \"up\"}", "{\"pitch_deg\": 1", "[1, 2]", "{\"pitch_deg\": +1}"},
         "{\"pitch_deg\": 1e999}"},
    };
}

const std::map<std::string, double> kFlight = {
    {"pitch", 4.5}, {"roll", -20.0}, {"heading", 271.0}, {"altitude", 4500.0}, {"fuel", 62.5}, {"fuel_flow", 48.0},
};

Mapping readShipped(const FormatCase& format)
{
    Mapping mapping;
    std::string error;
    EXPECT_TRUE(readMapping(kDataDir + "/" + format.mapping, &mapping, &error)) << error;
    return mapping;
}

class WireFormats : public ::testing::TestWithParam<FormatCase> {};

}  // namespace

TEST_P(WireFormats, EncodedValuesDecodeToTheInputsAndBadOnesNever)
{
    const Mapping mapping = readShipped(GetParam());
    DatagramDecoder decoder(mapping);
    std::map<std::string, double> received;
    std::vector<std::string> notices;
    auto decode = [&](const std::string& datagram) {
        decoder.Decode(
            datagram, [&](int input, double value) { received[decoder.Inputs()[input]] = value; },
            [&](const std::string& notice) { notices.push_back(notice); });
    };
    decode(encodeDatagram(mapping, kFlight));
    ASSERT_EQ(received.size(), kFlight.size());
    for (const auto& [input, value] : kFlight)
        EXPECT_NEAR(received[input], value, std::fabs(value) * 1e-5 + 1e-4) << input;
    EXPECT_EQ(decoder.Counts().malformed, 0);

    received.clear();
    for (const std::string& bad : GetParam().malformed)
        decode(bad);
    EXPECT_EQ(decoder.Counts().malformed, static_cast<long long>(GetParam().malformed.size()));
    decode(GetParam().refused);
    EXPECT_EQ(decoder.Counts().refused, 1);
    EXPECT_EQ(received.count("pitch"), 0u);
    EXPECT_TRUE(notices.empty());
}

TEST_P(WireFormats, AFeedOverUdpFollowsClampsAndGoesStale)
{
    float values[6] = {};
    const GrInput inputs[6] = {
        {"pitch", "deg", GR_INPUT_FLOAT, &values[0], -90.0f, 90.0f, 0.0f, 0},
        {"roll", "deg", GR_INPUT_FLOAT, &values[1], -180.0f, 180.0f, 0.0f, 0},
        {"heading", "deg", GR_INPUT_FLOAT, &values[2], 0.0f, 360.0f, 0.0f, 0},
        {"altitude", "ft", GR_INPUT_FLOAT, &values[3], -1000.0f, 4000.0f, 0.0f, 0},
        {"fuel", "%", GR_INPUT_FLOAT, &values[4], 0.0f, 100.0f, 0.0f, 0},
        {"fuel_flow", "%", GR_INPUT_FLOAT, &values[5], 0.0f, 100.0f, 0.0f, 1000},
    };
    auto nothing = [] {};
    const GrTables tables = {};
    const GrDisplay display = {GR_DISPLAY_INTERFACE_VERSION, "fed", 100, 100, &tables, nothing, nothing, inputs, 6, nullptr, nullptr, 0};

    SourceOption wanted;
    std::string error;
    ASSERT_TRUE(parseSourceOption("udp:0:" + kDataDir + "/" + GetParam().mapping, &wanted, &error)) << error;
    EXPECT_EQ(wanted.address, "127.0.0.1");
    DataFeed feed;
    ASSERT_TRUE(feed.Attach(display, {wanted}, "", &error)) << error;
    feed.BeforeUpdate(0.0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(grInputState(i), GR_INPUT_NOT_FED);

    UdpSocket sender;
    ASSERT_TRUE(sender.Connect("127.0.0.1", feed.BoundPort(0), &error)) << error;
    std::vector<std::string> datagrams = GetParam().malformed;
    datagrams.push_back(GetParam().refused);
    // The altimeter reads above its range: clamped, not refused.
    datagrams.push_back(encodeDatagram(readShipped(GetParam()), kFlight));
    for (const std::string& datagram : datagrams)
        ASSERT_TRUE(sender.Send(datagram.data(), static_cast<int>(datagram.size())));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (feed.Counts().datagrams < static_cast<long long>(datagrams.size()) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    feed.BeforeUpdate(1000.0);
    const FeedCounts counts = feed.Counts();
    EXPECT_EQ(counts.datagrams, static_cast<long long>(datagrams.size()));
    EXPECT_EQ(counts.malformed, static_cast<long long>(GetParam().malformed.size()));
    EXPECT_EQ(counts.refused, 1);
    EXPECT_EQ(counts.clamped, 1);
    EXPECT_NEAR(values[0], 4.5f, 1e-3f);
    EXPECT_NEAR(values[1], -20.0f, 1e-3f);
    EXPECT_NEAR(values[2], 271.0f, 1e-2f);
    EXPECT_EQ(values[3], 4000.0f);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(grInputState(i), GR_INPUT_FRESH) << inputs[i].name;

    // Silence: stale after each input's own limit, the values kept.
    feed.BeforeUpdate(1000.0 + static_cast<double>(GR_DEFAULT_FRESHNESS_MS) + 1.0);
    EXPECT_EQ(grInputState(0), GR_INPUT_STALE);
    EXPECT_EQ(grInputState(5), GR_INPUT_FRESH);
    EXPECT_NE(feed.Status().find("5 stale"), std::string::npos) << feed.Status();
    EXPECT_NEAR(values[0], 4.5f, 1e-3f);
    ASSERT_TRUE(feed.Detach(&error)) << error;
}

INSTANTIATE_TEST_SUITE_P(Formats, WireFormats, ::testing::ValuesIn(formatCases()),
                         [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(DataFiles, MappingsAndRecordingsAreRefusedNamingFileLineAndCause)
{
    struct Case {
        std::string text;
        const char* cause;
    };
    const Case mappings[] = {
        {"1 pitch\n", "m.map:1: the first statement must be the format"},
        {"format csv\n", "m.map:1: format takes generic"},
        {"format generic\n0 pitch\n", "m.map:2: \"0\" is not a field of the generic format"},
        {"format xplane\n17.9 pitch\n", "m.map:2: \"17.9\" is not a field of the xplane format"},
        {"format json\nspeed Pitch\n", "m.map:2: \"Pitch\" is not an input name"},
        {"format json\nspeed pitch scale\n", "m.map:2: expected FIELD INPUT"},
        {"format json\nspeed pitch scale fast\n", "m.map:2: expected scale NUMBER"},
        {"format json\na pitch\na roll\n", "m.map:3: field a is mapped twice (first on line 2)"},
        {"# nothing\nformat json\n", "m.map: maps no field"},
    };
    for (const Case& c : mappings) {
        Mapping mapping;
        std::string error;
        EXPECT_FALSE(parseMapping(c.text, "m.map", &mapping, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.cause, 0), 0u) << error;
    }
    const Case recordings[] = {
        {"t,i,v\n", "r.csv:1: the first line must be the header"},
        {"time,input,value\n0.5,pitch\n", "r.csv:2: expected time,input,value"},
        {"time,input,value\n1,pitch,1\n0.5,pitch,2\n", "r.csv:3: the time goes back"},
        {"time,input,value\n-1,pitch,1\n", "r.csv:2: the time is not"},
        {"time,input,value\n1,pitch,nan\n", "r.csv:2: the value is not a number"},
        {"", "r.csv: empty"},
    };
    for (const Case& c : recordings) {
        std::vector<RecordedValue> rows;
        std::string error;
        EXPECT_FALSE(parseRecording(c.text, "r.csv", &rows, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.cause, 0), 0u) << error;
        EXPECT_TRUE(rows.empty());
    }
}

TEST(DataFiles, ARecordingReadsBackWhatWasWritten)
{
    const std::string path = std::string(PANEL_TEST_OUTPUT) + "/recorded.csv";
    Recorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.Open(path, &error)) << error;
    recorder.Write(0.04, "pitch", -2.25);
    recorder.Write(1.5, "fuel_flow", 123456.75);
    ASSERT_TRUE(recorder.Close(&error)) << error;
    std::vector<RecordedValue> rows;
    ASSERT_TRUE(readRecording(path, &rows, &error)) << error;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].input, "pitch");
    EXPECT_DOUBLE_EQ(rows[0].timeS, 0.04);
    EXPECT_DOUBLE_EQ(rows[0].value, -2.25);
    EXPECT_DOUBLE_EQ(rows[1].value, 123456.75);
}
