// Events into a display and its outputs out: the queue a host fills, the
// hit-testing helpers under the current matrix, the outputs the runtime
// collects once a frame (changed or marked, never invalid), the mapping's
// output lines, and the datagrams that reach a listener on 127.0.0.1 in
// each format through the flight example's shipped mapping files.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "display_events.h"
#include "gr_display.h"
#include "mapping.h"
#include "output_feed.h"
#include "udp_socket.h"
#include "wire_encode.h"

namespace {

const std::string kDataDir = FLIGHT_DATA_DIR;

std::vector<GrEvent> g_received;

int32_t recordEvent(const GrEvent* event)
{
    g_received.push_back(*event);
    return 1;
}

GrEvent pointerEvent(int type, int pointer, float x, float y)
{
    GrEvent event = {};
    event.type = type;
    event.pointer = pointer;
    event.x = x;
    event.y = y;
    return event;
}

GrEvent wheelEvent(float x, float y, int steps)
{
    GrEvent event = pointerEvent(GR_EVENT_WHEEL, GR_POINTER_MOUSE, x, y);
    event.steps = steps;
    return event;
}

GrEvent keyEvent(int type, int32_t key)
{
    GrEvent event = {};
    event.type = type;
    event.key = key;
    return event;
}

// The flight example's outputs, as its mapping files name them.
float g_bug = 0.0f;
float g_baro = 1013.0f;
int32_t g_page = 0;
const GrOutput kOutputs[] = {
    {"heading_bug", "deg", GR_INPUT_FLOAT, &g_bug, 0.0f, 360.0f},
    {"baro", "hPa", GR_INPUT_FLOAT, &g_baro, 900.0f, 1100.0f},
    {"page", "", GR_INPUT_INT32, &g_page, 0.0f, 3.0f},
};

std::map<int, double> collectAll()
{
    std::map<int, double> sent;
    grCollectOutputs([](int output, double value, void* context) { (*static_cast<std::map<int, double>*>(context))[output] = value; },
                     &sent);
    return sent;
}

}  // namespace

TEST(DisplayEvents, FloodsMergeToOneCallAFrameAndOrderIsKept)
{
    DisplayEvents events;
    g_received.clear();
    // A thousand wheel steps between two frames, as a fast knob gives them.
    for (int i = 0; i < 1000; ++i)
        events.Queue(wheelEvent(250.0f, 185.0f, 1));
    events.Queue(pointerEvent(GR_EVENT_POINTER_DOWN, 1, 10.0f, 10.0f));
    for (int i = 0; i < 500; ++i)
        events.Queue(pointerEvent(GR_EVENT_POINTER_MOVE, 1, 10.0f + i, 10.0f));
    events.Queue(pointerEvent(GR_EVENT_POINTER_MOVE, 2, -5.0f, 900.0f));  // a second finger, outside the area
    events.Queue(pointerEvent(GR_EVENT_POINTER_UP, 1, 509.0f, 10.0f));
    EXPECT_EQ(events.Deliver(recordEvent), 5);
    ASSERT_EQ(g_received.size(), 5u);
    EXPECT_EQ(g_received[0].type, GR_EVENT_WHEEL);
    EXPECT_EQ(g_received[0].steps, 1000);
    EXPECT_EQ(g_received[1].type, GR_EVENT_POINTER_DOWN);
    EXPECT_EQ(g_received[2].x, 509.0f) << "the last move of a run is the one kept";
    EXPECT_EQ(g_received[3].pointer, 2);
    EXPECT_EQ(g_received[4].type, GR_EVENT_POINTER_UP);
    EXPECT_TRUE(events.Empty());

    // A display without an event entry takes none, and the queue empties.
    events.Queue(pointerEvent(GR_EVENT_POINTER_DOWN, 0, 1.0f, 1.0f));
    EXPECT_EQ(events.Deliver(nullptr), 0);
    EXPECT_TRUE(events.Empty());

    // A stalled drawing thread: distinct events beyond the bound are counted.
    for (size_t i = 0; i < kMaxQueuedEvents + 10; ++i)
        events.Queue(pointerEvent(i % 2 ? GR_EVENT_POINTER_DOWN : GR_EVENT_POINTER_UP, 0, 1.0f, 1.0f));
    EXPECT_EQ(events.Dropped(), 10);
    g_received.clear();
    EXPECT_EQ(events.Deliver(recordEvent), static_cast<int>(kMaxQueuedEvents));

    // A host keeps the keys the display leaves unused (the kiosk's own
    // commands): exactly those, in order.
    events.Queue(keyEvent(GR_EVENT_KEY_DOWN, 'S'));
    events.Queue(keyEvent(GR_EVENT_KEY_DOWN, GR_KEY_RIGHT));
    events.Queue(keyEvent(GR_EVENT_KEY_DOWN, '8'));
    std::vector<int32_t> unused;
    const auto takesArrowsOnly = [](const GrEvent* e) -> int32_t { return e->key == GR_KEY_RIGHT; };
    EXPECT_EQ(events.Deliver(takesArrowsOnly, [&](const GrEvent& e) { unused.push_back(e.key); }), 3);
    EXPECT_EQ(unused, (std::vector<int32_t>{'S', '8'}));
}

TEST(HitTesting, ShapesAreHitInTheCurrentCoordinates)
{
    ASSERT_TRUE(grSelectBackend("cpu", nullptr));
    grPushMatrix(1);
    // The compass of the flight example: centred at 250, 185, scaled 0.92.
    grTranslate(250, 185);
    grScale(0.92f, 0.92f);
    EXPECT_TRUE(grHitCircle(250.0f, 185.0f + 0.92f * 99.0f, 0, 0, 100));
    EXPECT_FALSE(grHitCircle(250.0f, 185.0f + 0.92f * 101.0f, 0, 0, 100));
    float u = 0.0f, v = 0.0f;
    ASSERT_TRUE(grToLocal(250.0f + 46.0f, 185.0f, &u, &v));
    EXPECT_NEAR(u, 50.0f, 1e-3f);
    EXPECT_NEAR(v, 0.0f, 1e-3f);

    // Turned by 90 degrees: a rectangle along x now stands along y.
    grRotate(90.0f);
    EXPECT_TRUE(grHitRect(250.0f, 185.0f + 0.92f * 30.0f, 20, -5, 40, 5));
    EXPECT_FALSE(grHitRect(250.0f + 0.92f * 30.0f, 185.0f, 20, -5, 40, 5));
    EXPECT_TRUE(grHitRect(250.0f - 0.92f * 4.5f, 185.0f + 0.92f * 39.5f, 40, 5, 20, -5)) << "corners either way";
    grPopMatrix(1);

    // A concave polygon, an L: its notch is outside.
    const GrPoint el[] = {{0, 0}, {100, 0}, {100, 20}, {20, 20}, {20, 100}, {0, 100}};
    EXPECT_TRUE(grHitPolygon(10.0f, 90.0f, el, 6));
    EXPECT_TRUE(grHitPolygon(90.0f, 10.0f, el, 6));
    EXPECT_FALSE(grHitPolygon(60.0f, 60.0f, el, 6));
    EXPECT_TRUE(grHitPolygon(100.0f, 10.0f, el, 6)) << "on an edge";
    EXPECT_FALSE(grHitPolygon(10.0f, 10.0f, el, 2));

    // A matrix that cannot be undone hits nothing; nor does a NaN point.
    grPushMatrix(2);
    grScale(0.0f, 1.0f);
    EXPECT_FALSE(grHitRect(0.0f, 0.0f, -10, -10, 10, 10));
    grPopMatrix(2);
    EXPECT_FALSE(grHitCircle(std::nanf(""), 0.0f, 0, 0, 10));
    ASSERT_TRUE(grSelectBackend("gl1", nullptr));
}

TEST(DisplayOutputs, SentWhenChangedOrMarkedNeverInvalidAtMostOnceAFrame)
{
    g_bug = 0.0f;
    g_baro = 1013.0f;
    g_page = 0;
    ASSERT_TRUE(grUseOutputs(kOutputs, 3));
    EXPECT_TRUE(collectAll().empty()) << "nothing goes out by itself";
    EXPECT_EQ(grFindOutput("baro"), 1);
    EXPECT_EQ(grFindOutput("nothing"), -1);

    // Turned a thousand times within one frame: one value, the last.
    for (int i = 0; i < 1000; ++i)
        g_bug = std::fmod(g_bug + 1.0f, 360.0f);
    g_page = 2;
    EXPECT_EQ(collectAll(), (std::map<int, double>{{0, 280.0}, {2, 2.0}}));
    EXPECT_TRUE(collectAll().empty());

    // Marked: sent unchanged; a mark outside the table is ignored.
    grSendOutput(2);
    grSendOutput(3);
    grSendOutput(-1);
    EXPECT_EQ(collectAll(), (std::map<int, double>{{2, 2.0}}));

    // NaN, an infinity and values outside the range are refused and
    // counted, once each; the next valid value goes out.
    const long long before = grOutputsRefused();
    g_bug = std::nanf("");
    EXPECT_TRUE(collectAll().empty());
    EXPECT_TRUE(collectAll().empty()) << "a NaN left standing is refused once";
    g_baro = 1200.0f;
    g_page = -1;
    EXPECT_TRUE(collectAll().empty());
    g_baro = std::numeric_limits<float>::infinity();
    grSendOutput(1);
    EXPECT_TRUE(collectAll().empty());
    EXPECT_EQ(grOutputsRefused() - before, 4);
    g_bug = 90.0f;
    EXPECT_EQ(collectAll(), (std::map<int, double>{{0, 90.0}}));

    // A value a data source wrote into the same variable is not sent back.
    const GrInput bugInput[] = {{"heading_bug", "deg", GR_INPUT_FLOAT, &g_bug, 0.0f, 360.0f, 90.0f, 0}};
    ASSERT_TRUE(grUseInputs(bugInput, 1));
    grFeedInput(0, 200.0, 0.0);
    grApplyInputs(0.0);
    EXPECT_EQ(g_bug, 200.0f);
    EXPECT_TRUE(collectAll().empty()) << "the simulator's own value is not echoed";
    g_bug = 201.0f;
    EXPECT_EQ(collectAll(), (std::map<int, double>{{0, 201.0}}));
    ASSERT_TRUE(grUseInputs(nullptr, 0));

    EXPECT_FALSE(grUseOutputs(nullptr, 2));
    EXPECT_FALSE(grUseOutputs(kOutputs, GR_MAX_OUTPUTS + 1));
    ASSERT_TRUE(grUseOutputs(nullptr, 0));
    g_bug = 1.0f;
    EXPECT_TRUE(collectAll().empty()) << "detached";
}

TEST(OutputMapping, LinesParseAndMistakesNameFileLineAndCause)
{
    Mapping mapping;
    std::string error;
    ASSERT_TRUE(parseMapping("format xplane\noutput sim/a/b bug scale 2 offset 1\noutput command sim/c/d key\n",
                             "m.map", &mapping, &error))
        << error;
    ASSERT_EQ(mapping.outputs.size(), 2u);
    EXPECT_EQ(mapping.outputs[0].field, "sim/a/b");
    EXPECT_EQ(mapping.outputs[0].scale, 2.0);
    EXPECT_EQ(mapping.outputs[0].offset, 1.0);
    EXPECT_EQ(mapping.outputs[1].command, "sim/c/d");
    EXPECT_TRUE(mapping.fields.empty());

    const struct {
        const char* text;
        const char* message;
    } bad[] = {
        {"format generic\noutput 0 bug\n", "m.map:2: \"0\" is not an output field of the generic format"},
        {"format generic\noutput 1001 bug\n", "m.map:2: \"1001\" is not an output field"},
        {"format generic\noutput command x bug\n", "m.map:2: output command is for the xplane format only"},
        {"format json\noutput a\"b bug\n", "m.map:2: \"a\"b\" is not an output field of the json format"},
        {"format json\noutput a Bug\n", "m.map:2: \"Bug\" is not an output name"},
        {"format json\noutput a bug scale\n", "m.map:2: expected output FIELD OUTPUT"},
        {"format json\noutput a bug scale x\n", "m.map:2: expected scale NUMBER or offset NUMBER, not \"scale x\""},
        {"format json\noutput a bug offset nan\n", "m.map:2: expected scale NUMBER or offset NUMBER"},
        {"format json\noutput a bug\n\noutput a baro\n", "m.map:4: output field a is mapped twice (first on line 2)"},
        {"output 1 bug\n", "m.map:1: the first statement must be the format"},
        {"format xplane\noutput bug\n", "m.map:2: expected output FIELD OUTPUT"},
    };
    for (const auto& c : bad) {
        EXPECT_FALSE(parseMapping(c.text, "m.map", &mapping, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << c.text << " gave " << error;
    }
    const std::string longPath = "format xplane\noutput " + std::string(kXPlanePathBytes, 'p') + " bug\n";
    EXPECT_FALSE(parseMapping(longPath, "m.map", &mapping, &error));
}

struct SinkCase {
    const char* name;
    const char* mapping;  // the flight example's, beside its input fields
};

void PrintTo(const SinkCase& c, std::ostream* out) { *out << c.name; }

class OutputDestinations : public ::testing::TestWithParam<SinkCase> {};

INSTANTIATE_TEST_SUITE_P(Formats, OutputDestinations,
                         ::testing::Values(SinkCase{"generic", "flightgear-generic.map"},
                                           SinkCase{"xplane", "xplane-data.map"},
                                           SinkCase{"json", "json.map"}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// The datagrams that reach listener within a few seconds, until count.
std::vector<std::string> receive(UdpSocket& listener, size_t count)
{
    std::vector<std::string> got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        if (!listener.WaitReadable(100))
            continue;
        char buffer[2048];
        const int length = listener.Receive(buffer, sizeof buffer);
        if (length >= 0)
            got.emplace_back(buffer, static_cast<size_t>(length));
    }
    return got;
}

float floatAt(const std::string& bytes, size_t at)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

TEST_P(OutputDestinations, TheSimulatorReceivesWhatThePilotSet)
{
    UdpSocket listener;
    std::string error;
    ASSERT_TRUE(listener.Bind("127.0.0.1", 0, &error)) << error;
    g_bug = 0.0f;
    g_baro = 1013.0f;
    g_page = 0;
    OutputFeed feed;
    const std::string destination = "udp:" + std::to_string(listener.Port()) + ":" + kDataDir + "/" + GetParam().mapping;
    SinkOption wanted;
    ASSERT_TRUE(parseSinkOption(destination, &wanted, &error)) << error;
    ASSERT_TRUE(feed.Attach(kOutputs, 3, {wanted}, &error)) << error;

    feed.AfterModel();  // nothing changed: nothing sent
    g_bug = 123.5f;
    feed.AfterModel();
    g_baro = 1020.0f;
    g_page = 3;
    feed.AfterModel();
    const std::string format = GetParam().name;
    const size_t expected = format == "xplane" ? 3 : 2;
    const std::vector<std::string> got = receive(listener, expected);
    ASSERT_EQ(got.size(), expected);
    if (format == "generic") {
        EXPECT_EQ(got[0], "123.5,1013,0\n");
        EXPECT_EQ(got[1], "123.5,1020,3\n") << "every line carries every position";
    } else if (format == "json") {
        EXPECT_EQ(got[0], "{\"heading_bug\": 123.5}\n");
        EXPECT_EQ(got[1], "{\"baro\": 1020, \"page\": 3}\n") << "only what changed";
    } else {
        for (const std::string& datagram : got) {
            ASSERT_EQ(datagram.size(), 5 + 4 + kXPlanePathBytes);
            EXPECT_EQ(datagram.substr(0, 5), std::string("DREF\0", 5));
        }
        EXPECT_EQ(floatAt(got[0], 5), 123.5f);
        EXPECT_EQ(got[0].c_str() + 9, std::string("sim/cockpit/autopilot/heading_mag"));
        EXPECT_NEAR(floatAt(got[1], 5), 1020.0f * 0.02953f, 1e-4);
        EXPECT_EQ(got[1].c_str() + 9, std::string("sim/cockpit/misc/barometer_setting"));
        EXPECT_EQ(floatAt(got[2], 5), 3.0f);
    }
    EXPECT_EQ(feed.Counts().collected, 3);
    EXPECT_EQ(feed.Counts().frames, 2);
}

TEST(OutputDestinationsBad, RefusedNamingTheCauseAndASilentOneNeverBlocks)
{
    SinkOption wanted;
    std::string error;
    for (const char* text : {"udp:0:x.map", "tcp:1:x.map", "udp:5600", "replay:x.csv", "udp:70000:x.map"}) {
        EXPECT_FALSE(parseSinkOption(text, &wanted, &error)) << text;
        EXPECT_NE(error.find("--send takes udp:"), std::string::npos) << error;
    }
    OutputFeed feed;
    ASSERT_TRUE(parseSinkOption("udp:9:" + kDataDir + "/recorded-flight.csv", &wanted, &error));
    EXPECT_FALSE(feed.Attach(kOutputs, 3, {wanted}, &error));
    EXPECT_NE(error.find("recorded-flight.csv:1:"), std::string::npos) << error;
    const GrOutput fewer[] = {kOutputs[0]};
    ASSERT_TRUE(parseSinkOption("udp:9:" + kDataDir + "/json.map", &wanted, &error));
    EXPECT_FALSE(feed.Attach(fewer, 1, {wanted}, &error));
    EXPECT_NE(error.find("the display has no output \"baro\""), std::string::npos) << error;
    EXPECT_FALSE(feed.Attached());

    // Nobody listens on the port: every frame still goes by at once, and
    // each datagram is either sent or counted as not delivered.
    int silentPort = 0;
    {
        UdpSocket gone;
        ASSERT_TRUE(gone.Bind("127.0.0.1", 0, &error)) << error;
        silentPort = gone.Port();
    }
    ASSERT_TRUE(parseSinkOption("udp:" + std::to_string(silentPort) + ":" + kDataDir + "/json.map", &wanted, &error));
    constexpr int kFrames = 200;
    // Each frame changes the bug from what it was at attaching, so each sends.
    g_bug = 0.0f;
    ASSERT_TRUE(feed.Attach(kOutputs, 3, {wanted}, &error)) << error;
    for (int i = 0; i < kFrames; ++i) {
        g_bug = static_cast<float>(i + 1);
        feed.AfterModel();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (feed.Counts().datagrams + feed.Counts().failed < kFrames && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(feed.Counts().datagrams + feed.Counts().failed, kFrames);
    EXPECT_GT(feed.Counts().failed, 0) << "the refusals the system reports are counted";
    EXPECT_NE(feed.Status().find("не доставлено"), std::string::npos) << feed.Status();
}
