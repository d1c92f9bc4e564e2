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

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
        {"json", "json.map", {"{\"pitch\": \"up\"}", "{\"pitch\": 1", "[1, 2]", "{\"pitch\": +1}"},
         "{\"pitch\": 1e999}"},
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
    // Stale inputs lead, so that a narrow bar cut at the right keeps them.
    EXPECT_EQ(feed.Status().rfind("5 stale, 6 of 6 inputs fed; 1 value clamped; udp 127.0.0.1:", 0), 0u)
        << feed.Status();
    EXPECT_NE(feed.Status().find(", 1 value refused"), std::string::npos) << feed.Status();
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
        {"format json\na pitch\nb pitch\n", "m.map:3: input pitch is fed by field a on line 2 already"},
        {"format generic\n1 pitch scale 0 offset 3\n", "m.map:2: scale 0 would feed pitch its offset"},
        {"format generic\nfields 4\n1 pitch\n5 roll\n", "m.map:4: field 5 is beyond the 4 fields"},
        {"format generic\nfields 0\n", "m.map:2: fields takes the number of fields"},
        {"format json\nfields 4\n", "m.map:2: fields is for the generic format only"},
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
        {"time,inp", "r.csv: cut short in its header"},
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
    EXPECT_DOUBLE_EQ(rows[0].timeS, 0.0);
    EXPECT_DOUBLE_EQ(rows[1].timeS, 1.46);
    EXPECT_DOUBLE_EQ(rows[0].value, -2.25);
    EXPECT_DOUBLE_EQ(rows[1].value, 123456.75);
}

TEST(DataFiles, AMappingMayStartWithAByteOrderMark)
{
    Mapping mapping;
    std::string error;
    ASSERT_TRUE(parseMapping("\xEF\xBB\xBF" "format generic\n2 roll\n", "m.map", &mapping, &error)) << error;
    EXPECT_EQ(mapping.format, WireFormat::Generic);
    EXPECT_EQ(mapping.separator, ',');
    ASSERT_EQ(mapping.fields.size(), 1u);
    EXPECT_EQ(mapping.fields[0].input, "roll");
}

// A generic line of another number of fields than the mapping states, or
// than the stream's first line held, feeds nothing: its fields are not
// where the mapping says. It is counted bad and reported once.
TEST(DataFiles, AGenericLineOfAnotherFieldCountFeedsNothing)
{
    struct Case {
        const char* name;
        std::string mapping;
        std::string good;  // feeds pitch 4.5 and altitude 4500 (field 4)
        std::string notice;
        long long values;  // fed by the good line twice
    };
    Mapping shipped;
    std::string error;
    ASSERT_TRUE(readMapping(kDataDir + "/flightgear-generic.map", &shipped, &error)) << error;
    EXPECT_EQ(shipped.fieldCount, 6);
    Mapping subset;  // 5 of FlightGear's 9 fields, the count not stated
    ASSERT_TRUE(parseMapping("format generic\n1 pitch\n2 roll\n3 heading\n4 altitude\n5 fuel\n", "subset.map",
                             &subset, &error))
        << error;
    const std::string eleven = "4,5,6,7,8,9,10,11,12,13,14\n";
    const Case cases[] = {
        {"stated", "flightgear-generic.map", "4.5,0,0,4500,0.5,3\n", "a line of 11 fields where the mapping states 6", 12},
        {"learnt", "subset.map", "4.5,0,0,4500,0.5,3,7,8,9\n", "a line of 11 fields where the first line held 9", 10},
    };
    for (const Case& c : cases) {
        DatagramDecoder decoder(std::string(c.name) == "stated" ? shipped : subset);
        std::map<std::string, double> received;
        std::vector<std::string> notices;
        auto decode = [&](const std::string& datagram) {
            decoder.Decode(
                datagram, [&](int input, double value) { received[decoder.Inputs()[input]] = value; },
                [&](const std::string& notice) { notices.push_back(notice); });
        };
        decode(c.good);
        EXPECT_EQ(received["altitude"], 4500.0) << c.name;
        decode(eleven);
        decode(c.good + eleven + "1,2\n");
        EXPECT_EQ(received["altitude"], 4500.0) << c.name << ": a bad line fed altitude";
        EXPECT_EQ(received["pitch"], 4.5) << c.name;
        EXPECT_EQ(decoder.Counts().malformed, 3) << c.name;
        EXPECT_EQ(decoder.Counts().values, c.values) << c.name;
        // The subset's fields 6 to 9 are reported as unmapped besides.
        std::vector<std::string> countNotices;
        for (const std::string& notice : notices)
            if (notice.rfind("a line of", 0) == 0)
                countNotices.push_back(notice);
        ASSERT_EQ(countNotices.size(), 1u) << c.name;
        EXPECT_EQ(countNotices[0].rfind(c.notice, 0), 0u) << countNotices[0];
    }
}

// A row cut as it was written (killed, or power lost with the disk's block
// padded with zeros) is left out whole with a warning naming file and line:
// "0.080,pitch,1" of "0.080,pitch,12.5" is never read as 1.
TEST(DataFiles, ARecordingCutMidRowPlaysUpToItsLastWholeRow)
{
    const std::string whole = "time,input,value\n0.000,pitch,2\n0.040,roll,-3\n";
    const std::string cuts[] = {whole + "0.080,pitch,1", whole + "0.08", whole + "0.080,pitch,1" + std::string(7, '\0')};
    for (const std::string& text : cuts) {
        std::vector<RecordedValue> rows;
        std::string error, warning;
        ASSERT_TRUE(parseRecording(text, "r.csv", &rows, &error, &warning)) << error;
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].input, "roll");
        EXPECT_EQ(warning.rfind("r.csv:4: the last row is cut short", 0), 0u) << warning;
        EXPECT_NE(warning.find("plays up to line 3"), std::string::npos) << warning;
    }
    std::vector<RecordedValue> rows;
    std::string error, warning;
    ASSERT_TRUE(parseRecording(whole, "r.csv", &rows, &error, &warning)) << error;
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_TRUE(warning.empty()) << warning;
}

// Time 0 is the first value's arrival, not the recorder's start.
TEST(DataFiles, ARecordingCountsFromItsFirstValue)
{
    const std::string path = std::string(PANEL_TEST_OUTPUT) + "/first-value.csv";
    Recorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.Open(path, &error)) << error;
    recorder.Write(7.25, "pitch", 1.0);
    recorder.Write(7.75, "roll", 2.0);
    ASSERT_TRUE(recorder.Close(&error)) << error;
    std::string text;
    ASSERT_TRUE(readTextFile(path, &text, &error)) << error;
    EXPECT_EQ(text, "time,input,value\n0.000,pitch,1\n0.500,roll,2\n");
}

TEST(DataFiles, OneInputFedByTwoSourcesIsRefusedByName)
{
    float pitch = 0.0f;
    const GrInput inputs[] = {{"pitch", "deg", GR_INPUT_FLOAT, &pitch, -90.0f, 90.0f, 0.0f, 0}};
    auto nothing = [] {};
    const GrTables tables = {};
    const GrDisplay display = {GR_DISPLAY_INTERFACE_VERSION, "fed", 100, 100, &tables, nothing, nothing, inputs, 1,
                               nullptr, nullptr, 0};
    const std::string path = std::string(PANEL_TEST_OUTPUT) + "/pitch.csv";
    std::ofstream(path) << "time,input,value\n0,pitch,1\n";
    SourceOption first, second;
    std::string error;
    ASSERT_TRUE(parseSourceOption("replay:" + path, &first, &error)) << error;
    ASSERT_TRUE(parseSourceOption("replay:" + path + ":loop", &second, &error)) << error;
    DataFeed feed;
    EXPECT_FALSE(feed.Attach(display, {first, second}, "", &error));
    EXPECT_EQ(error, path + ": input \"pitch\" is fed by " + path + " already; an input takes one source");
    EXPECT_FALSE(feed.Attached());
}

// The flight example's six inputs, pitch going stale after freshnessMs.
struct FlightInputs {
    explicit FlightInputs(int freshnessMs)
        : inputs{
              {"pitch", "deg", GR_INPUT_FLOAT, &values[0], -90.0f, 90.0f, 0.0f, freshnessMs},
              {"roll", "deg", GR_INPUT_FLOAT, &values[1], -180.0f, 180.0f, 0.0f, 0},
              {"heading", "deg", GR_INPUT_FLOAT, &values[2], 0.0f, 360.0f, 0.0f, 0},
              {"altitude", "ft", GR_INPUT_FLOAT, &values[3], -1000.0f, 40000.0f, 0.0f, 0},
              {"fuel", "%", GR_INPUT_FLOAT, &values[4], 0.0f, 100.0f, 0.0f, 0},
              {"fuel_flow", "%", GR_INPUT_FLOAT, &values[5], 0.0f, 100.0f, 0.0f, 0},
          },
          display{GR_DISPLAY_INTERFACE_VERSION, "fed", 100, 100, &tables, [] {}, [] {}, inputs, 6, nullptr, nullptr, 0}
    {
    }
    float values[6] = {};
    const GrTables tables = {};
    const GrInput inputs[6];
    const GrDisplay display;
};

// panel-feed plays a recording faithfully: a datagram for each recorded
// instant and none in a silence, so that the silence makes the input stale
// (the flight example's failure flag) and the values after it fresh again.
// Its JSON names are the shipped json.map's.
TEST(PanelFeed, ASilenceInTheRecordingIsASilenceOnTheWire)
{
    // A second's limit: a loaded machine's pauses between two of the
    // sender's datagrams stay well below it.
    FlightInputs flight(1000);
    float& pitch = flight.values[0];
    const GrDisplay& display = flight.display;
    SourceOption wanted;
    std::string error;
    ASSERT_TRUE(parseSourceOption("udp:0:" + kDataDir + "/json.map", &wanted, &error)) << error;
    DataFeed feed;
    ASSERT_TRUE(feed.Attach(display, {wanted}, "", &error)) << error;

    // 11 instants, 3 s of silence, 6 instants.
    const std::string recording = std::string(PANEL_TEST_OUTPUT) + "/silence.csv";
    {
        std::ofstream out(recording);
        out << "time,input,value\n";
        for (int i = 0; i <= 10; ++i)
            out << i * 0.04 << ",pitch," << i << "\n";
        for (int i = 0; i <= 5; ++i)
            out << 3.4 + i * 0.04 << ",pitch," << -i << "\n";
    }
    const std::string command = std::string(PANEL_FEED) + " --to " + std::to_string(feed.BoundPort(0)) +
                                " --format json " + recording;
    const auto start = std::chrono::steady_clock::now();
    feed.BeforeUpdate(0.0);
    std::vector<int> states = {grInputState(0)};  // each change of pitch's state
    std::FILE* sender = popen(command.c_str(), "r");
    ASSERT_NE(sender, nullptr);
    const auto deadline = start + std::chrono::seconds(20);
    while (feed.Counts().datagrams < 17 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        feed.BeforeUpdate(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (states.back() != grInputState(0))
            states.push_back(grInputState(0));
    }
    feed.BeforeUpdate(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    char line[256] = {};
    std::string printed;
    while (std::fgets(line, sizeof line, sender))
        printed += line;
    EXPECT_EQ(pclose(sender), 0) << printed;
    EXPECT_EQ(printed.rfind("panel-feed: 17 datagrams sent to 127.0.0.1:", 0), 0u) << printed;
    EXPECT_EQ(feed.Counts().datagrams, 17);
    EXPECT_EQ(feed.Counts().malformed, 0);
    const std::vector<int> expected = {GR_INPUT_NOT_FED, GR_INPUT_FRESH, GR_INPUT_STALE, GR_INPUT_FRESH};
    EXPECT_EQ(states, expected);
    EXPECT_EQ(pitch, -5.0f);
    ASSERT_TRUE(feed.Detach(&error)) << error;
}

// Stopped by SIGINT or SIGTERM, panel-feed says what it sent and why it
// stopped, and ends with status 0.
TEST(PanelFeed, ASignalStopsItWithItsSummary)
{
    FlightInputs flight(0);
    const GrDisplay& display = flight.display;
    const std::string recording = std::string(PANEL_TEST_OUTPUT) + "/one-value.csv";
    std::ofstream(recording) << "time,input,value\n0,pitch,1\n";
    for (const int signal : {SIGINT, SIGTERM}) {
        SourceOption wanted;
        std::string error;
        ASSERT_TRUE(parseSourceOption("udp:0:" + kDataDir + "/json.map", &wanted, &error)) << error;
        DataFeed feed;
        ASSERT_TRUE(feed.Attach(display, {wanted}, "", &error)) << error;
        const std::string port = std::to_string(feed.BoundPort(0));
        int output[2];
        ASSERT_EQ(pipe(output), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        const char* argv[] = {PANEL_FEED, "--to", port.c_str(), "--format", "json", "--loop", recording.c_str(),
                              nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, PANEL_FEED, &actions, nullptr, const_cast<char* const*>(argv), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (feed.Counts().datagrams < 3 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_GE(feed.Counts().datagrams, 3);
        kill(pid, signal);
        std::string printed;
        char buffer[256];
        for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;)
            printed.append(buffer, static_cast<size_t>(got));
        close(output[0]);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << printed;
        const std::string name = signal == SIGINT ? "SIGINT" : "SIGTERM";
        EXPECT_NE(printed.find("datagrams sent to 127.0.0.1:" + port + "; stopped by " + name + "\n"),
                  std::string::npos)
            << printed;
        ASSERT_TRUE(feed.Detach(&error)) << error;
    }
}

// Values from the network are recorded at their arrival, not at the frame's
// time: frames slower than their cycle (a loaded machine) do not compress
// the recording. Here two frames 40 ms apart by the frame clock take
// 300 ms or more each.
TEST(DataFiles, LiveValuesAreRecordedAtTheirArrival)
{
    FlightInputs flight(0);
    SourceOption wanted;
    std::string error;
    ASSERT_TRUE(parseSourceOption("udp:0:" + kDataDir + "/json.map", &wanted, &error)) << error;
    const std::string path = std::string(PANEL_TEST_OUTPUT) + "/arrival.csv";
    DataFeed feed;
    ASSERT_TRUE(feed.Attach(flight.display, {wanted}, path, &error)) << error;
    UdpSocket sender;
    ASSERT_TRUE(sender.Connect("127.0.0.1", feed.BoundPort(0), &error)) << error;
    for (int frame = 1; frame <= 2; ++frame) {
        const std::string datagram = "{\"pitch\": " + std::to_string(frame) + "}";
        ASSERT_TRUE(sender.Send(datagram.data(), static_cast<int>(datagram.size())));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (feed.Counts().datagrams < frame && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        feed.BeforeUpdate(frame * 40.0);
    }
    ASSERT_TRUE(feed.Detach(&error)) << error;
    std::vector<RecordedValue> rows;
    ASSERT_TRUE(readRecording(path, &rows, &error)) << error;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].timeS, 0.0);
    EXPECT_GE(rows[1].timeS, 0.3);
    EXPECT_EQ(rows[1].value, 2.0);
}
