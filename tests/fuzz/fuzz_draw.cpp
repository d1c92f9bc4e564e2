// The drawing API on fuzzed call sequences through the recording GL: the
// library is started with a fuzzed scratch growth factor on tables whose
// widths include NaN, infinities and extremes, then every entry point is
// called with coordinates, radii, angles, segment counts, table indices
// and stack depths in and out of range. The recorder reads every vertex a
// draw names (so a draw past the scratch buffers is a heap overflow), and
// each call must leave the GL at the frame baseline.
#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include "fuzz_input.h"
#include "gl_recorder.h"
#include "state.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

const GrColor kColors[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
const float kWidths[] = {1.0f, 3.0f, 0.0f, -2.0f, kNaN, kInf, -kInf, FLT_MAX, 1e6f, 0.25f};
const LinePattern kPatterns[] = {{0xFFFF, 0}, {0xF0F0, 1}, {0x0000, 0}, {0x8001, 15}, {0xF18F, -3}};
const ImageSpec kMissingImage[] = {{u"no such image.png", 0, 0}};
// One face, bold and not: loading the display's six on every input would
// leave little time for drawing.
const FontSpec kFonts[] = {{"Arial", 20, 0, 0, u"arial.ttf"}, {"Arial", 12, 1, 0, u"arialbd.ttf"}};

GrTables fuzzTables(bool fonts, bool missingImage)
{
    GrTables t = {};
    t.colors = kColors;
    t.colorCount = 3;
    t.borderColors = kColors;
    t.borderColorCount = 2;
    t.lineWidths = kWidths;
    t.lineWidthCount = sizeof kWidths / sizeof kWidths[0];
    t.borderWidths = kWidths;
    t.borderWidthCount = sizeof kWidths / sizeof kWidths[0];
    t.patterns = kPatterns;
    t.patternCount = sizeof kPatterns / sizeof kPatterns[0];
    if (missingImage) {
        t.images = kMissingImage;
        t.imageCount = 1;
    }
    if (fonts) {
        t.fonts = kFonts;
        t.fontCount = sizeof kFonts / sizeof kFonts[0];
    }
    return t;
}

// A table index: mostly in range, sometimes anything.
int index(FuzzInput& in) { return in.below(4) == 0 ? in.integer() : in.below(12) - 1; }

std::vector<GrPoint> points(FuzzInput& in)
{
    std::vector<GrPoint> p(in.below(12));
    for (GrPoint& q : p)
        q = {in.coordinate(), in.coordinate()};
    return p;
}

// A count no larger than the array (larger ones are the caller's memory
// error, which no library can see), or a negative or zero one.
int countFor(FuzzInput& in, const std::vector<GrPoint>& p)
{
    const int pick = in.below(8);
    if (pick == 0)
        return in.below(2) ? -1 : INT_MIN;
    return static_cast<int>(p.size()) - (pick == 1 && !p.empty() ? 1 : 0);
}

void call(FuzzInput& in)
{
    switch (in.below(34)) {
    case 0: grPushMatrix(in.integer()); break;
    case 1: grPopMatrix(in.integer()); break;
    case 2: grTranslate(in.coordinate(), in.coordinate()); break;
    case 3: grRotate(in.real()); break;
    case 4: grScale(in.real(), in.real()); break;
    case 5: grSetColor(index(in)); break;
    case 6: grSetBorderColor(index(in)); break;
    case 7: grSetLineWidth(index(in)); break;
    case 8: grSetBorderWidth(index(in)); break;
    case 9: grSetLinePattern(index(in)); break;
    case 10: grSetFont(index(in)); break;
    case 11: grSetImage(index(in)); break;
    case 12: grSetTextAlign(in.integer(), in.integer()); break;
    case 13: grSetMode(in.below(5) - 1, in.integer()); break;
    case 14: grPushClip(in.integer()); break;
    case 15: grPopClip(in.integer()); break;
    case 16: grClipOp(in.below(12) - 2); break;
    case 17: grClipHalfPlane(in.below(6) - 1, in.coordinate()); break;
    case 18: grClipRect(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate()); break;
    case 19: grPoint(in.coordinate(), in.coordinate()); break;
    case 20: grLine(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate()); break;
    case 21: {
        const std::vector<GrPoint> p = points(in);
        grPolyline(p.empty() ? nullptr : p.data(), countFor(in, p));
        break;
    }
    case 22: grArc(in.coordinate(), in.coordinate(), in.coordinate(), in.real(), in.real()); break;
    case 23: {
        const std::vector<GrPoint> p = points(in);
        grBezier(p.empty() ? nullptr : p.data(), countFor(in, p), in.below(2) ? in.integer() : in.below(50));
        break;
    }
    case 24: grCircle(in.coordinate(), in.coordinate(), in.coordinate()); break;
    case 25: grSector(in.coordinate(), in.coordinate(), in.coordinate(), in.real(), in.real()); break;
    case 26: grRing(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate()); break;
    case 27:
        grRingSector(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(), in.real(), in.real());
        break;
    case 28: grRect(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate()); break;
    case 29: {
        const std::vector<GrPoint> p = points(in);
        grPolygon(p.empty() ? nullptr : p.data(), countFor(in, p));
        break;
    }
    case 30: {
        const std::vector<GrPoint> p = points(in);
        grTriangleStrip(p.empty() ? nullptr : p.data(), countFor(in, p));
        break;
    }
    case 31: grEllipse(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate()); break;
    case 32: {
        const std::u16string text = in.text(16);
        grText(in.coordinate(), in.coordinate(), in.real(), in.below(8) == 0 ? nullptr : text.c_str());
        break;
    }
    default: grImage(in.coordinate(), in.coordinate()); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    rec::reset();
    const int setup = in.byte();
    static GrTables tables;
    tables = fuzzTables((setup & 7) == 0, (setup & 0x38) == 0x38);
    FUZZ_CHECK(grUseTables(&tables));
    grResetDiagnostics();
    const float growth = in.below(2) ? 1.5f : in.real();
    const int result = grInit(growth);
    if (result == GR_INIT_OK) {
        grBeginFrame();
        for (int i = 0; i < 64 && !in.empty(); ++i) {
            call(in);
            FUZZ_CHECK(rec::atFrameBaseline());
            rec::clearCalls();
        }
        grEndFrame();
    }
    grShutdown();
    FUZZ_CHECK(rec::liveTextureCount() == 0);
    FUZZ_CHECK(g_draw.vertexScratch.data == nullptr && g_draw.texCoordScratch.data == nullptr);
    return 0;
}
