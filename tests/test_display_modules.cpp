#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "display_module.h"
#include "display_option.h"
#include "gr_display.h"
#include "png_file.h"
#include "renderer_option.h"

namespace {

const std::string kOutput = PANEL_TEST_OUTPUT;

struct CommandResult {
    int status;  // the exit status, or -1 when the command did not exit
    std::string output;  // standard output and standard error together
};

CommandResult runCommand(const std::string& command)
{
    CommandResult result{-1, std::string()};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 512> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    if (WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    return result;
}

std::string writeFile(const std::string& name, const std::string& text)
{
    const std::string path = kOutput + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A module the runtime must refuse, and the reason it must give.
struct BadModule {
    std::string path;
    std::string reason;
};

// The first bytes of a real module: its headers promise segments the file
// no longer holds.
std::string truncatedModule(size_t bytes)
{
    std::ifstream module(FLIGHT_MODULE, std::ios::binary);
    std::string head(bytes, '\0');
    module.read(head.data(), static_cast<std::streamsize>(bytes));
    EXPECT_EQ(module.gcount(), static_cast<std::streamsize>(bytes)) << "the example module is smaller";
    return writeFile("truncated-" + std::to_string(bytes) + ".so", head);
}

std::vector<BadModule> badModules()
{
    return {
        {truncatedModule(1024), "truncated: the file has 1024 bytes"},
        {truncatedModule(4096), "truncated: the file has 4096 bytes, its segment"},
        {truncatedModule(16384), "truncated: the file has 16384 bytes, its segment"},
        {LINKS_TO_DISPLAY_MODULE, "exports no function grDisplayDescriptor of its own; the one found lies in"},
        {kOutput + "/no-such-module.so", "No such file or directory"},
        {writeFile("not-a-module.so", "plain text, not a shared library\n"), "cannot load the display module"},
        {WITHOUT_ENTRY_MODULE, "exports no function grDisplayDescriptor"},
        {WRONG_VERSION_MODULE, "built for display interface version 4, this runtime has version 3"},
        {VERSION1_MODULE, "display refused: it was built for display interface version 1, whose C++ names this "
                          "runtime no longer has; rebuild it"},
        {BAD_AREA_MODULE, "display area 320 x 0"},
    };
}

RgbaImage readImage(const std::string& path)
{
    RgbaImage image;
    std::string error;
    EXPECT_TRUE(readPng(path, &image, &error)) << error;
    return image;
}

std::vector<int> rgbAt(const RgbaImage& image, int x, int yFromTop)
{
    const uint8_t* p = &image.pixels[(static_cast<size_t>(yFromTop) * image.width + x) * 4];
    return {p[0], p[1], p[2]};
}

}  // namespace

TEST(DisplayModules, TheLoaderRefusesBadModulesNamingFileAndReason)
{
    for (const BadModule& bad : badModules()) {
        HostedDisplay display{nullptr, "untouched"};
        std::string error;
        EXPECT_FALSE(loadDisplayModule(bad.path, &display, &error)) << bad.path;
        EXPECT_EQ(error.rfind(bad.path + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(bad.reason), std::string::npos) << error;
        EXPECT_EQ(display.descriptor, nullptr);
        EXPECT_EQ(display.imageFolder, "untouched");
    }
}

TEST(DisplayModules, DescriptorsAreCheckedFieldByField)
{
    static const GrColor colors[] = {{1, 2, 3}};
    GrTables tables = {};
    tables.colors = colors;
    tables.colorCount = 1;
    GrTables negative = tables;
    negative.colorCount = -1;
    static const LinePattern patterns[GR_MAX_PATTERNS + 1] = {};
    static const ImageSpec images[GR_MAX_IMAGES + 1] = {};
    static const FontSpec fonts[GR_MAX_FONTS + 1] = {};
    GrTables manyPatterns = tables, manyImages = tables, manyFonts = tables, noWidths = tables;
    manyPatterns.patterns = patterns;
    manyPatterns.patternCount = GR_MAX_PATTERNS + 1;
    manyImages.images = images;
    manyImages.imageCount = GR_MAX_IMAGES + 1;
    manyFonts.fonts = fonts;
    manyFonts.fontCount = GR_MAX_FONTS + 1;
    noWidths.borderWidthCount = 2;
    auto nothing = [] {};
    const GrDisplay good = {GR_DISPLAY_INTERFACE_VERSION, "good", 100, 50, &tables, nothing, nothing, nullptr, 0, nullptr, nullptr, 0};
    EXPECT_EQ(descriptorProblem(&good), "");

    EXPECT_NE(descriptorProblem(nullptr).find("no descriptor"), std::string::npos);
    struct Case {
        GrDisplay display;
        const char* reason;
    };
    const Case cases[] = {
        {{0, "old", 100, 50, &tables, nothing, nothing, nullptr, 0, nullptr, nullptr, 0}, "version 0"},
        {{1, "v1", 100, 50, &tables, nothing, nothing, nullptr, 0, nullptr, nullptr, 0}, "rebuild it"},
        {{GR_DISPLAY_INTERFACE_VERSION, "lost", 100, 50, &tables, nothing, nothing, nullptr, 2, nullptr, nullptr, 0}, "inputs"},
        {{GR_DISPLAY_INTERFACE_VERSION, nullptr, 100, 50, &tables, nothing, nothing, nullptr, 0, nullptr, nullptr, 0}, "no name"},
        {{GR_DISPLAY_INTERFACE_VERSION, "wide", kMaxDisplaySide + 1, 50, &tables, nothing, nothing, nullptr, 0, nullptr, nullptr, 0}, "area"},
        {{GR_DISPLAY_INTERFACE_VERSION, "flat", 100, -5, &tables, nothing, nothing, nullptr, 0, nullptr, nullptr, 0}, "area"},
        {{GR_DISPLAY_INTERFACE_VERSION, "mute", 100, 50, &tables, nothing, nullptr, nullptr, 0, nullptr, nullptr, 0}, "entry point"},
        {{GR_DISPLAY_INTERFACE_VERSION, "still", 100, 50, &tables, nullptr, nothing, nullptr, 0, nullptr, nullptr, 0}, "entry point"},
        {{GR_DISPLAY_INTERFACE_VERSION, "bare", 100, 50, nullptr, nothing, nothing, nullptr, 0, nullptr, nullptr, 0}, "no tables"},
        {{GR_DISPLAY_INTERFACE_VERSION, "odd", 100, 50, &negative, nothing, nothing, nullptr, 0, nullptr, nullptr, 0},
         "its colour table has a negative count, -1"},
        {{GR_DISPLAY_INTERFACE_VERSION, "dashes", 100, 50, &manyPatterns, nothing, nothing, nullptr, 0, nullptr, nullptr, 0},
         "its pattern table has 17 entries, more than the 16 allowed (GR_MAX_PATTERNS)"},
        {{GR_DISPLAY_INTERFACE_VERSION, "album", 100, 50, &manyImages, nothing, nothing, nullptr, 0, nullptr, nullptr, 0},
         "its image table has 257 entries, more than the 256 allowed (GR_MAX_IMAGES)"},
        {{GR_DISPLAY_INTERFACE_VERSION, "typeset", 100, 50, &manyFonts, nothing, nothing, nullptr, 0, nullptr, nullptr, 0},
         "its font table has 65 entries, more than the 64 allowed (GR_MAX_FONTS)"},
        {{GR_DISPLAY_INTERFACE_VERSION, "thin", 100, 50, &noWidths, nothing, nothing, nullptr, 0, nullptr, nullptr, 0},
         "its border width table has 2 entries but no address"},
    };
    for (const Case& c : cases)
        EXPECT_NE(descriptorProblem(&c.display).find(c.reason), std::string::npos)
            << (c.display.name ? c.display.name : "(no name)") << ": " << descriptorProblem(&c.display);

    // The inputs: each fault of a table, after a good first input.
    float variable = 0.0f;
    const GrInput fine = {"fine", "deg", GR_INPUT_FLOAT, &variable, -1.0f, 1.0f, 0.0f, 0};
    struct InputCase {
        GrInput input;
        const char* reason;
    };
    const InputCase inputCases[] = {
        {{"", "", GR_INPUT_FLOAT, &variable, 0.0f, 1.0f, 0.0f, 0}, "no name"},
        {{"Upper", "", GR_INPUT_FLOAT, &variable, 0.0f, 1.0f, 0.0f, 0}, "lower-case"},
        {{"fine", "", GR_INPUT_FLOAT, &variable, 0.0f, 1.0f, 0.0f, 0}, "repeats the name of input 1"},
        {{"typed", "", 7, &variable, 0.0f, 1.0f, 0.0f, 0}, "unknown type"},
        {{"bare", "", GR_INPUT_INT32, nullptr, 0.0f, 1.0f, 0.0f, 0}, "no variable"},
        {{"upside", "", GR_INPUT_FLOAT, &variable, 1.0f, 0.0f, 0.5f, 0}, "range"},
        {{"outside", "", GR_INPUT_FLOAT, &variable, 0.0f, 1.0f, 2.0f, 0}, "range"},
        {{"slow", "", GR_INPUT_FLOAT, &variable, 0.0f, 1.0f, 0.0f, -1}, "freshness"},
    };
    for (const InputCase& c : inputCases) {
        const GrInput inputs[] = {fine, c.input};
        const GrDisplay display = {GR_DISPLAY_INTERFACE_VERSION, "fed", 100, 50, &tables, nothing, nothing, inputs, 2, nullptr, nullptr, 0};
        EXPECT_NE(descriptorProblem(&display).find(std::string("its input 2")), std::string::npos)
            << descriptorProblem(&display);
        EXPECT_NE(descriptorProblem(&display).find(c.reason), std::string::npos) << descriptorProblem(&display);
    }
    const GrInput one[] = {fine};
    const GrDisplay fed = {GR_DISPLAY_INTERFACE_VERSION, "fed", 100, 50, &tables, nothing, nothing, one, 1, nullptr, nullptr, 0};
    EXPECT_EQ(descriptorProblem(&fed), "");

    // Version 2 ends at the inputs: what lies after them is never read.
    const GrDisplay older = {2, "older", 100, 50, &tables, nothing, nothing, nullptr, 0, nullptr, nullptr, -5};
    EXPECT_EQ(descriptorProblem(&older), "");
    EXPECT_EQ(displayOutputCount(older), 0);
    EXPECT_EQ(displayEventEntry(older), nullptr);

    // The outputs: each fault of a table, after a good first output.
    const GrOutput sent = {"sent", "deg", GR_INPUT_FLOAT, &variable, 0.0f, 360.0f};
    struct OutputCase {
        GrOutput output;
        const char* reason;
    };
    const OutputCase outputCases[] = {
        {{nullptr, "", GR_INPUT_FLOAT, &variable, 0.0f, 1.0f}, "no name"},
        {{"a b", "", GR_INPUT_FLOAT, &variable, 0.0f, 1.0f}, "lower-case"},
        {{"sent", "", GR_INPUT_FLOAT, &variable, 0.0f, 1.0f}, "repeats the name of output 1"},
        {{"typed", "", 3, &variable, 0.0f, 1.0f}, "unknown type"},
        {{"bare", "", GR_INPUT_INT32, nullptr, 0.0f, 1.0f}, "no variable"},
        {{"upside", "", GR_INPUT_FLOAT, &variable, 1.0f, 0.0f}, "range"},
        {{"endless", "", GR_INPUT_FLOAT, &variable, 0.0f, INFINITY}, "range"},
    };
    for (const OutputCase& c : outputCases) {
        const GrOutput outputs[] = {sent, c.output};
        const GrDisplay display = {GR_DISPLAY_INTERFACE_VERSION, "out", 100, 50, &tables, nothing, nothing, nullptr, 0,
                                   nullptr, outputs, 2};
        EXPECT_NE(descriptorProblem(&display).find(std::string("its output 2")), std::string::npos)
            << descriptorProblem(&display);
        EXPECT_NE(descriptorProblem(&display).find(c.reason), std::string::npos) << descriptorProblem(&display);
    }
    const GrDisplay lost = {GR_DISPLAY_INTERFACE_VERSION, "lost", 100, 50, &tables, nothing, nothing, nullptr, 0,
                            nullptr, nullptr, 1};
    EXPECT_NE(descriptorProblem(&lost).find("table of outputs"), std::string::npos);
}

TEST(DisplayModules, TheExampleLoadsWithItsFolder)
{
    HostedDisplay display{nullptr, ""};
    std::string error;
    ASSERT_TRUE(loadDisplayModule(FLIGHT_MODULE, &display, &error)) << error;
    ASSERT_NE(display.descriptor, nullptr);
    EXPECT_EQ(display.descriptor->width, 1024);
    EXPECT_EQ(display.descriptor->height, 768);
    const std::string module = FLIGHT_MODULE;
    EXPECT_EQ(display.imageFolder, module.substr(0, module.rfind('/') + 1));
    EXPECT_NE(display.descriptor, selectedDisplay().descriptor) << "loading selects nothing";
}

TEST(DisplayModules, ToolsRefuseBadModulesWithANonZeroExit)
{
    std::vector<std::string> tools = {std::string(PANEL_SNAPSHOT) + " -o " + kOutput + "/refused.png --display "};
#ifdef PANEL_PROGRAM
    tools.push_back(std::string(PANEL_PROGRAM) + " --display ");
#endif
    for (const std::string& tool : tools) {
        for (const BadModule& bad : badModules()) {
            const CommandResult result = runCommand(tool + "'" + bad.path + "'");
            EXPECT_NE(result.status, 0) << tool << bad.path;
            EXPECT_GT(result.status, 0) << "no crash: " << tool << bad.path;
            EXPECT_NE(result.output.find(bad.path + ": "), std::string::npos) << result.output;
            EXPECT_NE(result.output.find(bad.reason), std::string::npos) << result.output;
        }
    }
}

// Relative image names resolve against the module's folder whatever the
// current directory: both lamps are lit at frame 150, the keyed magenta of
// the gear lamp shows the dark frame beneath.
TEST(DisplayModules, SnapshotSizesFromTheAreaAndFindsTheModulesImages)
{
    const std::string out = kOutput + "/flight_module_150.png";
    const CommandResult result = runCommand("cd / && " + std::string(PANEL_SNAPSHOT) + " --samples 0 --frames 150 --display " +
                           FLIGHT_MODULE + " -o " + out);
    ASSERT_EQ(result.status, 0) << result.output;
    const RgbaImage image = readImage(out);
    ASSERT_EQ(image.width, 1034);
    ASSERT_EQ(image.height, 778);
    // Display (x, y) with y up lies at image (x + 10, 777 - 10 - y).
    auto at = [&](int x, int y) { return rgbAt(image, x + 10, 767 - y); };
    EXPECT_EQ(at(561 + 6, 81 + 16), (std::vector<int>{255, 176, 0})) << "the fuel lamp's body";
    EXPECT_EQ(at(681 + 14, 81 + 16), (std::vector<int>{255, 32, 32})) << "the gear lamp's light";
    EXPECT_EQ(at(681 + 1, 81 + 1), (std::vector<int>{16, 18, 22})) << "keyed magenta is transparent";

    const std::string sized = kOutput + "/flight_module_sized.png";
    const CommandResult given = runCommand(std::string(PANEL_SNAPSHOT) + " --samples 0 --size 300x200 --display " + FLIGHT_MODULE +
                          " -o " + sized);
    ASSERT_EQ(given.status, 0) << given.output;
    const RgbaImage small = readImage(sized);
    EXPECT_EQ(small.width, 300);
    EXPECT_EQ(small.height, 200);
}

// The guide's running example: a 200 x 200 dial whose amber needle swings.
TEST(DisplayModules, TheMinimalDisplayDrawsItsMovingNeedle)
{
    auto needleColumns = [](int frames) {
        const std::string out = kOutput + "/minimal_" + std::to_string(frames) + ".png";
        const CommandResult result = runCommand(std::string(PANEL_SNAPSHOT) + " --samples 0 --frames " +
                                                std::to_string(frames) + " --display " + MINIMAL_MODULE +
                                                " -o " + out);
        EXPECT_EQ(result.status, 0) << result.output;
        const RgbaImage image = readImage(out);
        EXPECT_EQ(image.width, 210);
        EXPECT_EQ(image.height, 210);
        std::vector<int> columns;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (rgbAt(image, x, y) == std::vector<int>{255, 200, 0})
                    columns.push_back(x);
        return columns;
    };
    const std::vector<int> first = needleColumns(1);   // upright: one narrow column band
    const std::vector<int> later = needleColumns(11);  // swung by 90 sin 30 = 45 degrees
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(later.empty());
    EXPECT_LE(*std::max_element(first.begin(), first.end()) - *std::min_element(first.begin(), first.end()), 4);
    EXPECT_GE(*std::max_element(later.begin(), later.end()) - *std::min_element(later.begin(), later.end()), 40);
}

// grRect's far edges are exclusive: the guide's grRect(0, 0, 200, 200) paints
// the whole 200 x 200 area, its top row and right column included, and not
// the margin beside it.
TEST(DisplayModules, TheMinimalDisplayPaintsItsWholeArea)
{
    const std::string out = kOutput + "/minimal_area.png";
    const CommandResult result = runCommand(std::string(PANEL_SNAPSHOT) + " --samples 0 --display " +
                                            MINIMAL_MODULE + " -o " + out);
    ASSERT_EQ(result.status, 0) << result.output;
    const RgbaImage image = readImage(out);
    ASSERT_EQ(image.width, 210);
    ASSERT_EQ(image.height, 210);
    const std::vector<int> background = {20, 24, 32};
    // Display (x, y) with y up lies at image (x + 10, 199 - y).
    auto at = [&](int x, int y) { return rgbAt(image, x + 10, 199 - y); };
    int unpainted = 0;
    for (int i = 0; i < 200; ++i) {
        unpainted += at(i, 199) != background;  // top row
        unpainted += at(199, i) != background;  // right column
        unpainted += at(i, 0) != background;    // bottom row
        unpainted += at(0, i) != background;    // left column
    }
    EXPECT_EQ(unpainted, 0) << out;
    EXPECT_NE(rgbAt(image, 9, 100), background) << "the margin left of the area";
    EXPECT_NE(rgbAt(image, 100, 200), background) << "the margin below the area";
}

#ifdef PANEL_PROGRAM
// The program reads its whole command line before any window: --help is the
// usage and 0, anything it does not take is the usage and 2.
TEST(ProgramCommandLine, HelpAndBadOptionsEndBeforeTheWindow)
{
    struct Case {
        std::string args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {"--help", 0, "usage: instrument-panel [--display MODULE] [--renderer auto|gl|cpu] [--batched]"},
        {"-h", 0, "Exit status: 0 once the window is closed"},
        {"--dispaly x.so", 2, "instrument-panel: unknown option: --dispaly\nusage: instrument-panel"},
        {"--samples 3", 2, "instrument-panel: unknown option: --samples\nusage: instrument-panel"},
        {"extra", 2, "instrument-panel: unexpected argument: extra\nusage: instrument-panel"},
        {"--batched --display", 2, "--display needs the path of a display module\nusage: instrument-panel"},
        {"--renderer vulkan", 2, "instrument-panel: --renderer takes auto, gl or cpu, not 'vulkan'\nusage: instrument-panel"},
        {"--renderer", 2, "instrument-panel: --renderer needs auto, gl or cpu\nusage: instrument-panel"},
    };
    for (const Case& c : cases) {
        // No X display: the window could not even start.
        const CommandResult result = runCommand("DISPLAY= WAYLAND_DISPLAY= " + std::string(PANEL_PROGRAM) + " " + c.args);
        EXPECT_EQ(result.status, c.status) << c.args << ": " << result.output;
        EXPECT_NE(result.output.find(c.says), std::string::npos) << c.args << ": " << result.output;
    }
}
#endif

TEST(RendererOption, TakenOutOfTheCommandLine)
{
    struct Case {
        std::vector<const char*> args;
        bool ok;
        ProgramRenderer renderer;
        std::vector<std::string> rest;
    };
    const Case cases[] = {
        {{"prog"}, true, ProgramRenderer::Auto, {"prog"}},
        {{"prog", "--renderer", "cpu"}, true, ProgramRenderer::Cpu, {"prog"}},
        {{"prog", "--renderer", "auto"}, true, ProgramRenderer::Auto, {"prog"}},
        {{"prog", "--sync", "--renderer=gl", "--batched"}, true, ProgramRenderer::Gl, {"prog", "--sync", "--batched"}},
        {{"prog", "--renderer=cpu", "--display", "a.so"}, true, ProgramRenderer::Cpu, {"prog", "--display", "a.so"}},
        {{"prog", "--renderers"}, true, ProgramRenderer::Auto, {"prog", "--renderers"}},
        {{"prog", "--renderer"}, false, ProgramRenderer::Gl, {}},
        {{"prog", "--renderer="}, false, ProgramRenderer::Gl, {}},
        {{"prog", "--renderer", "CPU"}, false, ProgramRenderer::Gl, {}},
        {{"prog", "--renderer", "cpu", "--renderer", "gl"}, false, ProgramRenderer::Gl, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage(c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& s : storage)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(c.args.size());
        ProgramRenderer renderer = ProgramRenderer::Cpu;
        std::string error;
        const bool ok = takeRendererOption(&argc, argv.data(), &renderer, &error);
        ASSERT_EQ(ok, c.ok) << c.args.back() << " " << error;
        if (!ok) {
            EXPECT_NE(error.find("--renderer"), std::string::npos);
            continue;
        }
        EXPECT_EQ(renderer, c.renderer) << c.args.back();
        ASSERT_EQ(argc, static_cast<int>(c.rest.size()));
        for (int i = 0; i < argc; ++i)
            EXPECT_EQ(argv[i], c.rest[i]);
        EXPECT_EQ(argv[argc], nullptr);
    }
}

TEST(DisplayOption, TakenOutOfTheCommandLine)
{
    struct Case {
        std::vector<const char*> args;
        bool ok;
        std::string path;
        std::vector<std::string> rest;
    };
    const Case cases[] = {
        {{"prog"}, true, "", {"prog"}},
        {{"prog", "--display", "a.so"}, true, "a.so", {"prog"}},
        {{"prog", "--sync", "--display=b.so", "--name", "x"}, true, "b.so", {"prog", "--sync", "--name", "x"}},
        {{"prog", "--displayed"}, true, "", {"prog", "--displayed"}},
        {{"prog", "--display"}, false, "", {}},
        {{"prog", "--display="}, false, "", {}},
        {{"prog", "--display", "a.so", "--display", "b.so"}, false, "", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage(c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& s : storage)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(c.args.size());
        std::string path = "stale";
        std::string error;
        const bool ok = takeDisplayOption(&argc, argv.data(), &path, &error);
        ASSERT_EQ(ok, c.ok) << c.args.size() << " " << error;
        if (!ok) {
            EXPECT_NE(error.find("--display"), std::string::npos);
            continue;
        }
        EXPECT_EQ(path, c.path);
        ASSERT_EQ(argc, static_cast<int>(c.rest.size()));
        for (int i = 0; i < argc; ++i)
            EXPECT_EQ(argv[i], c.rest[i]);
        EXPECT_EQ(argv[argc], nullptr);
    }
}
