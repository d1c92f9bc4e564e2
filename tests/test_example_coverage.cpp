// The example display, compiled with display_probe.h in front, drawn on the
// recording GL for a few hundred frames: between them its instruments must
// call every drawing entry point of gr.h (read from the header itself), and
// each primitive must reach the GL, with the border switch on and off, with
// antialiasing on and off, text at several angles and every alignment.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gl_recorder.h"
#include "gr_display.h"
#include "image/image_path.h"
#include "state.h"

extern "C" const GrDisplay* grDisplayDescriptor();

namespace {

// What the library's state was when an entry point was called, and whether
// the call reached the GL.
struct ProbeCall {
    std::string name;
    int border, antialias, fill;
    int alignH, alignV;
    float angle;
    int argument;
    size_t drawsBefore;
    bool drew;
};

std::vector<ProbeCall> g_calls;
bool g_probing = false;

// The names declared "void gr...(" between two section titles of gr.h.
std::vector<std::string> declaredBetween(const std::string& from, const std::string& to)
{
    std::ifstream in(GR_HEADER);
    std::stringstream text;
    text << in.rdbuf();
    const std::string header = text.str();
    const size_t begin = header.find("// " + from);
    const size_t end = header.find("// " + to);
    if (begin == std::string::npos || end == std::string::npos || end < begin)
        return {};
    const std::string section = header.substr(begin, end - begin);
    std::vector<std::string> names;
    const std::regex declaration(R"(\nvoid (gr\w+)\()");
    for (std::sregex_iterator it(section.begin(), section.end(), declaration), stop; it != stop; ++it)
        names.push_back((*it)[1]);
    return names;
}

class ExampleCoverage : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        rec::reset();
        const GrDisplay* display = grDisplayDescriptor();
        ASSERT_TRUE(grUseTables(display->tables));
        grSetImageFolder(EXAMPLE_FOLDER);
        ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
        g_probing = true;
        for (int frame = 0; frame < kFrames; ++frame) {
            rec::clearCalls();
            grBeginFrame();
            display->updateDisplayModel();
            display->drawDisplay();
            grEndFrame();
        }
        g_probing = false;
        grShutdown();
        grSetImageFolder(nullptr);
    }

    static std::vector<const ProbeCall*> callsOf(const std::string& name)
    {
        std::vector<const ProbeCall*> found;
        for (const ProbeCall& call : g_calls)
            if (call.name == name)
                found.push_back(&call);
        return found;
    }

    // Enough frames for both lamps to light and the animations to turn.
    static constexpr int kFrames = 200;
};

}  // namespace

void probeEnter(const char* name, float angle, int argument)
{
    if (!g_probing)
        return;
    g_calls.push_back({name, g_draw.border, g_draw.antialias, g_draw.fill, g_draw.alignHorizontal,
                       g_draw.alignVertical, angle, argument, rec::draws().size(), false});
}

void probeLeave()
{
    if (g_probing)
        g_calls.back().drew = rec::draws().size() > g_calls.back().drawsBefore;
}

TEST_F(ExampleCoverage, CallsEveryDrawingEntryPointOfTheHeader)
{
    const std::vector<std::string> entryPoints = declaredBetween("Transforms", "Diagnostics");
    ASSERT_GE(entryPoints.size(), 30u) << "gr.h no longer reads as expected";
    for (const std::string& name : entryPoints)
        EXPECT_FALSE(callsOf(name).empty()) << name << " is never called";
    EXPECT_EQ(grDiagnostics().rejectedIndices, 0) << "every table index is in range";
    EXPECT_EQ(grDiagnostics().matrixUnderflows + grDiagnostics().matrixOverflows, 0);
    EXPECT_EQ(grDiagnostics().clipUnderflows + grDiagnostics().clipOverflows, 0);
}

TEST_F(ExampleCoverage, EveryPrimitiveDrawsWithAndWithoutItsBorder)
{
    const std::vector<std::string> primitives = declaredBetween("Primitives", "Diagnostics");
    ASSERT_GE(primitives.size(), 15u);
    for (const std::string& name : primitives) {
        bool drew = false, drewWithBorder = false, drewWithout = false;
        for (const ProbeCall* call : callsOf(name)) {
            drew = drew || call->drew;
            drewWithBorder = drewWithBorder || (call->drew && call->border);
            drewWithout = drewWithout || (call->drew && !call->border);
        }
        EXPECT_TRUE(drew) << name << " never reaches the GL";
        // Images have no border; every other family shows its switch both ways.
        if (name != "grImage") {
            EXPECT_TRUE(drewWithBorder) << name << " never draws with the border switch on";
            EXPECT_TRUE(drewWithout) << name << " never draws with the border switch off";
        }
    }
}

TEST_F(ExampleCoverage, ShapesFilledAndOutlinedAntialiasedAndNot)
{
    for (const char* name : {"grCircle", "grSector", "grRing", "grRingSector", "grRect", "grEllipse"}) {
        std::set<int> fills;
        for (const ProbeCall* call : callsOf(name))
            fills.insert(call->fill != 0);
        EXPECT_EQ(fills, (std::set<int>{0, 1})) << name << " is not drawn both filled and outlined";
    }
    std::set<int> antialias;
    for (const ProbeCall& call : g_calls)
        if (call.drew)
            antialias.insert(call.antialias != 0);
    EXPECT_EQ(antialias, (std::set<int>{0, 1}));
    std::set<int> points;
    for (const ProbeCall* call : callsOf("grPoint"))
        points.insert(call->antialias != 0);
    EXPECT_EQ(points, (std::set<int>{0, 1})) << "round and square points";
}

TEST_F(ExampleCoverage, TextAtSeveralAnglesWithEveryAlignment)
{
    std::set<float> angles;
    std::set<int> horizontal, vertical;
    for (const ProbeCall* call : callsOf("grText")) {
        if (!call->drew)
            continue;
        angles.insert(call->angle);
        horizontal.insert(call->alignH);
        vertical.insert(call->alignV);
    }
    EXPECT_GE(angles.size(), 3u);
    EXPECT_EQ(horizontal, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(vertical, (std::set<int>{0, 1, 2, 3}));
}

TEST_F(ExampleCoverage, EveryPatternKindAndTheStencilOperations)
{
    const GrTables& tables = *grDisplayDescriptor()->tables;
    bool solid = false, empty = false, repeatZero = false, repeatOne = false;
    for (int i = 0; i < tables.patternCount; ++i) {
        const LinePattern& p = tables.patterns[i];
        solid = solid || p.mask == 0xFFFF;
        empty = empty || p.mask == 0;
        repeatZero = repeatZero || (p.mask != 0xFFFF && p.mask != 0 && p.repeat == 0);
        repeatOne = repeatOne || (p.mask != 0xFFFF && p.mask != 0 && p.repeat == 1);
    }
    EXPECT_TRUE(solid && empty && repeatZero && repeatOne);
    EXPECT_GE(tables.fontCount, 3);
    EXPECT_EQ(tables.imageCount, 2);
    EXPECT_TRUE(tables.images[0].colorKeyEnabled || tables.images[1].colorKeyEnabled);

    std::set<int> ops;
    for (const ProbeCall* call : callsOf("grClipOp"))
        ops.insert(call->argument);
    EXPECT_EQ(ops, (std::set<int>{0, 1, 2, 3, 4, 5}));
}

// A module's images are looked up in the folder the host chose for it, with
// or without a trailing separator; the default stays the executable's folder.
TEST(ImageFolder, RelativeNamesResolveAgainstTheChosenFolder)
{
    std::string path;
    grSetImageFolder("/data/panel");
    ASSERT_TRUE(resolveImagePath(u"lamps\\fuel.png", &path));
    EXPECT_EQ(path, "/data/panel/lamps/fuel.png");
    grSetImageFolder("/data/panel/");
    ASSERT_TRUE(resolveImagePath(u"fuel.png", &path));
    EXPECT_EQ(path, "/data/panel/fuel.png");
    ASSERT_TRUE(resolveImagePath(u"/abs/fuel.png", &path));
    EXPECT_EQ(path, "/abs/fuel.png");

    grSetImageFolder(nullptr);
    ASSERT_TRUE(resolveImagePath(u"fuel.png", &path));
    EXPECT_EQ(path, std::string(TEST_BINARY_DIR) + "/fuel.png");
    grSetImageFolder("");
    ASSERT_TRUE(resolveImagePath(u"fuel.png", &path));
    EXPECT_EQ(path, std::string(TEST_BINARY_DIR) + "/fuel.png");
}
