// The kiosk host under a headless Weston of its own (private runtime folder
// and socket, pixman): it shows the built-in display and a module's
// display, held at a frame, through the shader backend on OpenGL ES 3,
// through gl1 and through the CPU backend into shared memory, and
// weston-screenshooter's capture of
// the output is compared with panel-snapshot's frame of the same number, as
// the goldens are compared. Without a compositor, or without a usable EGL,
// it says so and fails. Captures and difference images go to
// test-output/kiosk. Time limits only stop a process that hangs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "gr_display.h"
#include "frame_comparison.h"
#include "test_broker.h"
#include "kiosk_options.h"
#include "png_file.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Limits that only end a hung process; nothing is asserted about speed.
constexpr auto kStartLimit = std::chrono::seconds(60);
constexpr auto kFramesLimit = std::chrono::seconds(100);
constexpr auto kExitLimit = std::chrono::seconds(60);
constexpr auto kPollStep = std::chrono::milliseconds(20);

constexpr const char* kSocket = "panel-kiosk";

using Environment = std::map<std::string, std::string>;

struct Child {
    pid_t pid = -1;
    int output = -1;  // the read end of its standard output and error
};

// Starts argv in folder with the environment's changes; its standard output
// and error go to a pipe, or to logPath when given.
Child spawn(const std::vector<std::string>& argv, const Environment& environment, const std::string& folder,
            const std::string& logPath = {})
{
    int ends[2] = {-1, -1};
    if (logPath.empty() && pipe(ends) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = logPath.empty() ? ends[1] : open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        for (const auto& [name, value] : environment)
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        if (!folder.empty() && chdir(folder.c_str()) != 0)
            _exit(127);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    if (logPath.empty()) {
        close(ends[1]);
        fcntl(ends[0], F_SETFL, O_NONBLOCK);
    }
    return {pid, logPath.empty() ? ends[0] : -1};
}

// Reads what the child has written so far onto text.
void drain(const Child& child, std::string* text)
{
    char buffer[4096];
    ssize_t n;
    while (child.output >= 0 && (n = read(child.output, buffer, sizeof buffer)) > 0)
        text->append(buffer, static_cast<size_t>(n));
}

// The exit status (128 + signal for a signal); -1 when the limit passed, and
// then the child is killed.
int waitForExit(Child& child, Clock::duration limit, std::string* text = nullptr)
{
    const auto end = Clock::now() + limit;
    int status = 0;
    while (waitpid(child.pid, &status, WNOHANG) == 0) {
        if (text)
            drain(child, text);
        if (Clock::now() > end) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, &status, 0);
            child.pid = -1;
            return -1;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    if (text)
        drain(child, text);
    child.pid = -1;
    if (child.output >= 0)
        close(child.output);
    child.output = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Reads the child's output until it contains needle or the child ends; false
// when it did not appear (the child is then stopped).
bool waitForOutput(Child& child, const std::string& needle, Clock::duration limit, std::string* text)
{
    const auto end = Clock::now() + limit;
    while (text->find(needle) == std::string::npos) {
        pollfd descriptor = {child.output, POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(std::chrono::milliseconds(kPollStep).count()));
        drain(child, text);
        int status = 0;
        if (waitpid(child.pid, &status, WNOHANG) == child.pid) {
            drain(child, text);
            child.pid = -1;
            return text->find(needle) != std::string::npos;
        }
        if (Clock::now() > end) {
            kill(child.pid, SIGKILL);
            waitForExit(child, kExitLimit);
            return false;
        }
    }
    return true;
}

std::string outputFolder(const std::string& name)
{
    const std::string folder = std::string(PANEL_TEST_OUTPUT) + "/kiosk/" + name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// A headless Weston with the desktop shell (its kiosk shell shows no
// window headless) on a private runtime folder, its
// output width x height; the screenshooter needs its debug protocols.
class HeadlessWeston {
public:
    ~HeadlessWeston() { Stop(); }

    bool Start(int width, int height, const std::string& logPath, std::string* error)
    {
        char folder[] = "/tmp/panel-kiosk-XXXXXX";
        if (!mkdtemp(folder)) {
            *error = "cannot make a runtime folder";
            return false;
        }
        runtime_ = folder;
        // The shell fades its desktop in from black and animates new
        // windows: a screenshot during either would show them dimmed.
        const std::string config = runtime_ + "/weston.ini";
        if (FILE* file = std::fopen(config.c_str(), "w")) {
            std::fputs("[shell]\nstartup-animation=none\nanimation=none\nclose-animation=none\n", file);
            std::fclose(file);
        }
        weston_ = spawn({"weston", "--config=" + config, "--backend=headless-backend.so", "--use-pixman",
                         "--shell=desktop-shell.so", std::string("--socket=") + kSocket,
                         "--width=" + std::to_string(width),
                         "--height=" + std::to_string(height), "--idle-time=0", "--debug"},
                        {{"XDG_RUNTIME_DIR", runtime_}, {"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""}}, runtime_,
                        logPath);
        const auto end = Clock::now() + kStartLimit;
        const fs::path socket = fs::path(runtime_) / kSocket;
        int status = 0;
        while (!fs::exists(socket)) {
            if (waitpid(weston_.pid, &status, WNOHANG) == weston_.pid) {
                weston_.pid = -1;
                *error = "weston ended at start; see " + logPath;
                return false;
            }
            if (Clock::now() > end) {
                *error = "weston made no socket; see " + logPath;
                return false;
            }
            std::this_thread::sleep_for(kPollStep);
        }
        return true;
    }

    // The environment of a client of this compositor.
    Environment ClientEnvironment() const
    {
        return {{"XDG_RUNTIME_DIR", runtime_}, {"WAYLAND_DISPLAY", kSocket}, {"DISPLAY", ""}};
    }

    void Stop()
    {
        if (weston_.pid > 0) {
            kill(weston_.pid, SIGTERM);
            waitForExit(weston_, kExitLimit);
        }
        if (!runtime_.empty())
            fs::remove_all(runtime_);
        runtime_.clear();
    }

private:
    Child weston_;
    std::string runtime_;
};

// The one PNG the screenshooter wrote into folder.
bool readCapture(const std::string& folder, RgbaImage* image, std::string* error)
{
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".png")
            return readPng(entry.path().string(), image, error);
    *error = "weston-screenshooter wrote no PNG into " + folder;
    return false;
}

struct KioskFrame {
    const char* name;
    const char* module;  // null: the built-in display
    int frame;
    int samples;
    // The kiosk's --gl, or "cpu" for --renderer cpu; panel-snapshot draws
    // with gl1, or at exact coverage with the CPU backend (gl1 has none).
    const char* gl;
};

void PrintTo(const KioskFrame& frame, std::ostream* out) { *out << frame.name; }

const KioskFrame kFrames[] = {
    {"builtin_frame40_s0_es3", nullptr, 40, 0, "es3"},
    {"flight_frame60_s0_es3", FLIGHT_MODULE, 60, 0, "es3"},
    {"builtin_frame20_s4_es3", nullptr, 20, 4, "es3"},
    {"flight_frame30_s0_gl1", FLIGHT_MODULE, 30, 0, "gl1"},
    {"builtin_frame40_s0_cpu", nullptr, 40, 0, "cpu"},
    {"flight_frame60_s4_cpu", FLIGHT_MODULE, 60, 4, "cpu"},
    {"flight_frame60_exact_cpu", FLIGHT_MODULE, 60, GR_EXACT_COVERAGE_SAMPLES, "cpu"},
};

class KioskUnderWeston : public ::testing::TestWithParam<KioskFrame> {};

// Under the sanitizers a kiosk drawing through EGL goes without leak checks:
// LeakSanitizer's tracer crashes on the software GL's threads of a
// multisampled window, and the GL driver unloaded by eglTerminate leaves its
// own allocations without a module that suppressions could name (the probe
// of a refused sample count is enough).
Environment withoutLeakChecks(Environment environment)
{
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    environment["ASAN_OPTIONS"] = std::string(sanitizerOptions ? sanitizerOptions : "") + ":detect_leaks=0";
    return environment;
}

}  // namespace

TEST_P(KioskUnderWeston, ShowsTheFramePanelSnapshotRenders)
{
    const KioskFrame& shown = GetParam();
    const std::string folder = outputFolder(shown.name);
    std::vector<std::string> displayArgs;
    if (shown.module)
        displayArgs = {"--display", shown.module};

    // The reference, and from its size the compositor's output.
    const std::string referencePath = folder + "/panel-snapshot.png";
    const bool exact = shown.samples == GR_EXACT_COVERAGE_SAMPLES;
    std::vector<std::string> snapshot = {PANEL_SNAPSHOT, "--frames", std::to_string(shown.frame), "--samples",
                                         std::to_string(shown.samples), "-o", referencePath};
    if (exact)
        snapshot.insert(snapshot.end(), {"--gl", "cpu"});
    snapshot.insert(snapshot.end(), displayArgs.begin(), displayArgs.end());
    Child snapshotChild = spawn(snapshot, {}, folder);
    std::string snapshotText;
    ASSERT_EQ(waitForExit(snapshotChild, kFramesLimit, &snapshotText), 0) << snapshotText;
    RgbaImage reference;
    std::string error;
    ASSERT_TRUE(readPng(referencePath, &reference, &error)) << error;

    HeadlessWeston weston;
    ASSERT_TRUE(weston.Start(reference.width, reference.height, folder + "/weston.log", &error)) << error;
    std::vector<std::string> kiosk = {PANEL_KIOSK, "--frames", std::to_string(shown.frame), "--samples",
                                      exact ? "exact" : std::to_string(shown.samples)};
    if (std::string(shown.gl) == "cpu")
        kiosk.insert(kiosk.end(), {"--renderer", "cpu"});
    else
        kiosk.insert(kiosk.end(), {"--gl", shown.gl});
    kiosk.insert(kiosk.end(), displayArgs.begin(), displayArgs.end());
    Child kioskChild = spawn(kiosk, withoutLeakChecks(weston.ClientEnvironment()), folder);
    std::string kioskText;
    const std::string held = "holding frame " + std::to_string(shown.frame);
    ASSERT_TRUE(waitForOutput(kioskChild, held, kFramesLimit, &kioskText)) << "no \"" << held << "\":\n" << kioskText;

    const std::string captureFolder = folder + "/capture";
    fs::create_directories(captureFolder);
    Child shooter = spawn({"weston-screenshooter"}, weston.ClientEnvironment(), captureFolder);
    std::string shooterText;
    ASSERT_EQ(waitForExit(shooter, kExitLimit, &shooterText), 0) << shooterText;

    // The kiosk ends cleanly on SIGTERM, as under a service manager.
    kill(kioskChild.pid, SIGTERM);
    EXPECT_EQ(waitForExit(kioskChild, kExitLimit, &kioskText), 0) << kioskText;

    RgbaImage capture;
    ASSERT_TRUE(readCapture(captureFolder, &capture, &error)) << error;
    ASSERT_EQ(capture.width, reference.width);
    ASSERT_EQ(capture.height, reference.height);
    const FrameComparison result = compareFrames(capture, reference);
    std::cout << shown.name << ": " << result.differing << " of " << capture.width * capture.height
              << " pixels differ by more than " << kChannelTolerance << "\n";
    if (result.Agrees())
        return;
    const std::string differencePath = folder + "/difference.png";
    ASSERT_TRUE(writePng(differencePath, result.difference, &error)) << error;
    ADD_FAILURE() << shown.name << ": " << result.differing << " pixels differ by more than " << kChannelTolerance
                  << " (at most " << result.allowed << " may)\n  capture: " << captureFolder
                  << "\n  difference (red): " << differencePath << "\n  panel-snapshot: " << referencePath;
}

// The kiosk starts before its broker and shows that it waits, over the
// display; then one panel-feed publishes an instant of flight to the
// broker, and the kiosk and panel-snapshot subscribed show what
// panel-snapshot shows for the same values replayed. Frame 200: the flow
// trend's history then holds only the fed value, whenever the first came.
TEST(KioskOverMqtt, WaitsForItsBrokerThenShowsWhatPanelSnapshotShows)
{
    const std::string folder = outputFolder("mqtt");
    const std::string recording = folder + "/instant.csv";
    std::ofstream(recording) << "time,input,value\n0,pitch,6\n0,roll,20\n0,heading,90\n0,altitude,3400\n"
                                "0,fuel,80\n0,fuel_flow,30\n";
    TestBroker broker(std::string(MQTT_TEST_DIR) + "/mosquitto.conf.in", folder);
    std::string error;
    ASSERT_TRUE(broker.Start(&error)) << error;  // its ports chosen, then away
    broker.Stop();
    const std::string url = broker.Url("cockpit");

    auto snapshot = [&](const std::string& source, const std::string& name, RgbaImage* image) {
        Child child = spawn({PANEL_SNAPSHOT, "--display", FLIGHT_MODULE, "--frames", "200", "--samples", "0",
                             "--data", source, "-o", folder + "/" + name},
                            {}, folder);
        std::string text;
        ASSERT_EQ(waitForExit(child, kFramesLimit, &text), 0) << text;
        ASSERT_TRUE(readPng(folder + "/" + name, image, &error)) << error;
    };
    RgbaImage reference;
    snapshot("replay:" + recording + ":loop", "replayed.png", &reference);

    HeadlessWeston weston;
    ASSERT_TRUE(weston.Start(reference.width, reference.height, folder + "/weston.log", &error)) << error;
    Child kiosk = spawn({PANEL_KIOSK, "--display", FLIGHT_MODULE, "--frames", "200", "--samples", "0", "--data", url},
                        withoutLeakChecks(weston.ClientEnvironment()), folder);
    auto capture = [&](const std::string& name, RgbaImage* image) {
        const std::string captureFolder = folder + "/" + name;
        fs::remove_all(captureFolder);
        fs::create_directories(captureFolder);
        Child shooter = spawn({"weston-screenshooter"}, weston.ClientEnvironment(), captureFolder);
        std::string shooterText;
        ASSERT_EQ(waitForExit(shooter, kExitLimit, &shooterText), 0) << shooterText;
        ASSERT_TRUE(readCapture(captureFolder, image, &error)) << error;
        ASSERT_EQ(image->width, reference.width);
        ASSERT_EQ(image->height, reference.height);
    };
    std::string kioskText;
    ASSERT_TRUE(waitForOutput(kiosk, "Connection refused", kStartLimit, &kioskText)) << kioskText;
    // The data state covers the top left corner, where the display has
    // only its dark background: bright text there is the state. The kiosk
    // is looked at until it has drawn.
    auto brightPixels = [](const RgbaImage& image, int fromRow, int rows) {
        int count = 0;
        for (int y = fromRow; y < fromRow + rows && y < image.height; ++y)
            for (int x = 0; x < 400 && x < image.width; ++x) {
                const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
                count += p[0] > 200 && p[1] > 200 && p[2] > 200;
            }
        return count;
    };
    // Drawn: the display's own background where nothing else lies, as in
    // the reference (before, the compositor's desktop shows there).
    auto drawn = [&reference](const RgbaImage& image) {
        for (const auto& [x, y] : {std::pair<int, int>{20, image.height - 24}, {image.width - 5, 20}}) {
            const size_t at = (static_cast<size_t>(y) * image.width + x) * 4;
            for (int c = 0; c < 3; ++c)
                if (std::abs(image.pixels[at + c] - reference.pixels[at + c]) > 2)
                    return false;
        }
        return true;
    };
    RgbaImage waiting;
    const auto drawnBy = Clock::now() + kStartLimit;
    do
        capture("waiting", &waiting);
    while (!drawn(waiting) && Clock::now() < drawnBy);
    ASSERT_TRUE(drawn(waiting)) << "the waiting kiosk shows nothing";
    EXPECT_EQ(brightPixels(reference, 0, 26), 0);
    EXPECT_GT(brightPixels(waiting, 0, 26), 200) << "no data state over the waiting kiosk";

    ASSERT_TRUE(broker.Start(&error)) << error;
    Child feed = spawn({PANEL_FEED, "--to", url, "--loop", "--seconds", "120", recording}, {}, folder,
                       folder + "/panel-feed.log");
    RgbaImage subscribed;
    snapshot(url, "subscribed.png", &subscribed);
    ASSERT_TRUE(waitForOutput(kiosk, "holding frame 200", kFramesLimit, &kioskText)) << kioskText;
    RgbaImage shown;
    capture("capture", &shown);
    kill(kiosk.pid, SIGTERM);
    EXPECT_EQ(waitForExit(kiosk, kExitLimit, &kioskText), 0) << kioskText;
    kill(feed.pid, SIGTERM);
    EXPECT_EQ(waitForExit(feed, kExitLimit), 0);

    for (const auto& [name, frame] : {std::pair<const char*, const RgbaImage*>{"panel-snapshot", &subscribed},
                                      {"kiosk", &shown}}) {
        const FrameComparison result = compareFrames(*frame, reference);
        if (result.Agrees())
            continue;
        const std::string differencePath = folder + "/" + name + "-difference.png";
        writePng(differencePath, result.difference, &error);
        ADD_FAILURE() << name << " over MQTT: " << result.differing << " pixels differ from the replay (at most "
                      << result.allowed << " may); difference (red): " << differencePath;
    }
}

INSTANTIATE_TEST_SUITE_P(Frames, KioskUnderWeston, ::testing::ValuesIn(kFrames),
                         [](const ::testing::TestParamInfo<KioskFrame>& info) { return std::string(info.param.name); });

TEST(KioskWithoutCompositor, SaysSoAndFails)
{
    const std::string folder = outputFolder("no_compositor");
    Child kiosk = spawn({PANEL_KIOSK}, {{"XDG_RUNTIME_DIR", folder}, {"WAYLAND_DISPLAY", "no-such-socket"}}, folder);
    std::string text;
    EXPECT_EQ(waitForExit(kiosk, kExitLimit, &text), 1);
    EXPECT_NE(text.find("instrument-panel-kiosk: cannot connect to a Wayland compositor (WAYLAND_DISPLAY=no-such-socket)"),
              std::string::npos)
        << text;
}

// On a compositor: with no EGL vendor library at all the kiosk says what is
// missing, and a sample count the configurations lack is refused with the
// counts there are.
TEST(KioskOnACompositor, RefusesWhatItCannotDrawWith)
{
    const std::string folder = outputFolder("refusals");
    HeadlessWeston weston;
    std::string error;
    ASSERT_TRUE(weston.Start(320, 240, folder + "/weston.log", &error)) << error;

    Environment withoutEgl = weston.ClientEnvironment();
    withoutEgl["__EGL_VENDOR_LIBRARY_FILENAMES"] = folder + "/no-such-vendor.json";
    Child kiosk = spawn({PANEL_KIOSK, "--renderer", "gl"}, withoutEgl, folder);
    std::string text;
    EXPECT_EQ(waitForExit(kiosk, kExitLimit, &text), 1);
    EXPECT_NE(text.find("instrument-panel-kiosk: EGL: "), std::string::npos) << text;

    Child oddSamples = spawn({PANEL_KIOSK, "--renderer", "gl", "--samples", "3"},
                             withoutLeakChecks(weston.ClientEnvironment()), folder);
    text.clear();
    EXPECT_EQ(waitForExit(oddSamples, kExitLimit, &text), 2);
    EXPECT_NE(text.find("instrument-panel-kiosk: no pixel format with 3 samples; available: 0"), std::string::npos)
        << text;
}

// The CPU backend needs no EGL at all: without any EGL vendor library the
// kiosk still shows its frames, and offers the CPU backend's sample counts.
TEST(KioskOnACompositor, DrawsOnTheProcessorWithoutEgl)
{
    const std::string folder = outputFolder("cpu_without_egl");
    HeadlessWeston weston;
    std::string error;
    ASSERT_TRUE(weston.Start(320, 240, folder + "/weston.log", &error)) << error;
    Environment withoutEgl = weston.ClientEnvironment();
    withoutEgl["__EGL_VENDOR_LIBRARY_FILENAMES"] = folder + "/no-such-vendor.json";

    Child kiosk = spawn({PANEL_KIOSK, "--renderer", "cpu", "--frames", "3"}, withoutEgl, folder);
    std::string text;
    ASSERT_TRUE(waitForOutput(kiosk, "holding frame 3", kFramesLimit, &text)) << text;
    kill(kiosk.pid, SIGTERM);
    EXPECT_EQ(waitForExit(kiosk, kExitLimit, &text), 0) << text;

    Child oddSamples = spawn({PANEL_KIOSK, "--renderer", "cpu", "--samples", "3"}, withoutEgl, folder);
    text.clear();
    EXPECT_EQ(waitForExit(oddSamples, kExitLimit, &text), 2);
    // 256: the CPU backend's exact coverage.
    EXPECT_NE(text.find("instrument-panel-kiosk: no pixel format with 3 samples; available: 0 2 4 8 256\n"),
              std::string::npos)
        << text;
}

// Without --renderer the kiosk chooses by itself and says so: the processor
// where EGL is missing, and where the GL is Mesa's software rasteriser (as
// under this headless Weston); a named output it cannot find is refused
// with the outputs it has.
TEST(KioskOnACompositor, ChoosesTheProcessorWhereTheGlIsMissingOrSoftware)
{
    const std::string folder = outputFolder("auto_renderer");
    HeadlessWeston weston;
    std::string error;
    ASSERT_TRUE(weston.Start(320, 240, folder + "/weston.log", &error)) << error;
    Environment withoutEgl = weston.ClientEnvironment();
    withoutEgl["__EGL_VENDOR_LIBRARY_FILENAMES"] = folder + "/no-such-vendor.json";
    struct Case {
        Environment environment;
        const char* said;
    };
    for (const Case& c : {Case{withoutEgl, "drawing on the processor: no usable GL"},
                          Case{withoutLeakChecks(weston.ClientEnvironment()),
                               "drawing on the processor: the GL is a software rasteriser (llvmpipe"}}) {
        Child kiosk = spawn({PANEL_KIOSK, "--frames", "2"}, c.environment, folder);
        std::string text;
        ASSERT_TRUE(waitForOutput(kiosk, "holding frame 2", kFramesLimit, &text)) << text;
        EXPECT_NE(text.find(c.said), std::string::npos) << text;
        kill(kiosk.pid, SIGTERM);
        EXPECT_EQ(waitForExit(kiosk, kExitLimit, &text), 0) << text;
    }
    Child nowhere = spawn({PANEL_KIOSK, "--renderer", "cpu", "--output", "no-such-output"}, withoutEgl, folder);
    std::string text;
    EXPECT_EQ(waitForExit(nowhere, kExitLimit, &text), 1);
    EXPECT_NE(text.find("no output named 'no-such-output'; it has: "), std::string::npos) << text;
}

// On an output smaller than the display (a 400 x 300 panel) the whole
// display shows, scaled to fit and centred: its background's bounding box
// reaches from the top to the bottom and leaves equal room left and right,
// where drawing 1:1 from the lower left corner would fill the output and
// lose the display's top and right.
TEST(KioskOnACompositor, FitsTheDisplayToASmallOutput)
{
    const std::string folder = outputFolder("fitted");
    HeadlessWeston weston;
    std::string error;
    ASSERT_TRUE(weston.Start(400, 300, folder + "/weston.log", &error)) << error;
    Child kiosk =
        spawn({PANEL_KIOSK, "--renderer", "gl", "--frames", "2"}, withoutLeakChecks(weston.ClientEnvironment()), folder);
    std::string text;
    ASSERT_TRUE(waitForOutput(kiosk, "holding frame 2", kFramesLimit, &text)) << text;
    const std::string captureFolder = folder + "/capture";
    fs::create_directories(captureFolder);
    Child shooter = spawn({"weston-screenshooter"}, weston.ClientEnvironment(), captureFolder);
    ASSERT_EQ(waitForExit(shooter, kExitLimit, &text), 0) << text;
    kill(kiosk.pid, SIGTERM);
    EXPECT_EQ(waitForExit(kiosk, kExitLimit, &text), 0) << text;

    RgbaImage capture;
    ASSERT_TRUE(readCapture(captureFolder, &capture, &error)) << error;
    ASSERT_EQ(capture.width, 400);
    ASSERT_EQ(capture.height, 300);
    // The display area's background (121, 121, 140), within a level.
    int left = capture.width, right = -1, top = capture.height, bottom = -1;
    for (int y = 0; y < capture.height; ++y)
        for (int x = 0; x < capture.width; ++x) {
            const uint8_t* p = &capture.pixels[(static_cast<size_t>(y) * capture.width + x) * 4];
            if (std::abs(p[0] - 121) <= 1 && std::abs(p[1] - 121) <= 1 && std::abs(p[2] - 140) <= 1) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    // 778 x 1034 at 300 / 1034: 226 x 300, from x = 87; the display itself
    // lies inside its 3-pixel margin at the left and bottom.
    EXPECT_LE(top, 2);
    EXPECT_GE(bottom, capture.height - 6);
    EXPECT_NEAR(left, 87 + 3, 3) << "right " << right;
    EXPECT_NEAR(right, 87 + 226, 3) << "left " << left;
}

TEST(KioskOptions, ParsesTheCommandLineAndRefusesBadValues)
{
    KioskOptions options;
    std::string error;
    EXPECT_EQ(options.glKind, GlContextKind::Es3);
    EXPECT_TRUE(options.autoRenderer);
    const char* good[] = {"kiosk", "--samples", "4", "--frames", "150", "--batched", "--gl", "gl1"};
    ASSERT_TRUE(parseKioskArgs(8, good, &options, &error)) << error;
    EXPECT_EQ(options.glKind, GlContextKind::Compatibility);
    EXPECT_EQ(options.samples, 4);
    EXPECT_EQ(options.holdFrame, 150);
    EXPECT_TRUE(options.batched);
    EXPECT_FALSE(options.cpu);
    EXPECT_FALSE(options.autoRenderer);  // a GL named with --gl is the user's choice
    const char* cpu[] = {"kiosk", "--renderer", "cpu"};
    ASSERT_TRUE(parseKioskArgs(3, cpu, &options, &error)) << error;
    EXPECT_TRUE(options.cpu);
    const char* gl[] = {"kiosk", "--renderer", "gl", "--output", "HDMI-A-1"};
    ASSERT_TRUE(parseKioskArgs(5, gl, &options, &error)) << error;
    EXPECT_FALSE(options.cpu);
    EXPECT_EQ(options.output, "HDMI-A-1");

    const std::vector<std::vector<const char*>> bad = {
        {"kiosk", "--samples"}, {"kiosk", "--samples", "-1"}, {"kiosk", "--frames", "0"},
        {"kiosk", "--frames", "12x"}, {"kiosk", "--size", "10x10"}, {"kiosk", "--gl", "gles"},
        {"kiosk", "--renderer"}, {"kiosk", "--renderer", "vulkan"}};
    for (const auto& args : bad) {
        KioskOptions refused;
        error.clear();
        EXPECT_FALSE(parseKioskArgs(static_cast<int>(args.size()), args.data(), &refused, &error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}
