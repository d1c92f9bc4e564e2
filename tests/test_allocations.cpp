// Drawing allocates nothing once the scratch buffers are big enough and the
// glyphs are cached: every primitive and every text, drawn a second time,
// makes no heap allocation at all.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "counting_allocator.h"
#include "display.h"
#include "model.h"
#include "recording_fixture.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

// Every form of new that the deletes below free is replaced, so no block
// from the runtime's (or a sanitizer's) allocator reaches them. The aligned
// forms stay the runtime's, new and delete alike, and are not counted: the
// library has no over-aligned types.
namespace {

void* countedAllocation(std::size_t size) noexcept
{
    ++g_allocations;
    return std::malloc(size ? size : 1);
}

}  // namespace

void* operator new(std::size_t size)
{
    if (void* p = countedAllocation(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    if (void* p = countedAllocation(size))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return countedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return countedAllocation(size); }

// These deletes free what the news above took from malloc; once inlined at a
// new-expression, GCC takes the new there for the standard one and warns.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

const GrPoint kNeedle[] = {{0, -144}, {6, -120}, {3, -120}, {3, 0}, {-3, 0}, {-3, -120}, {-6, -120}};
const GrPoint kCurve[] = {{0, 0}, {30, 80}, {90, -40}, {120, 20}};

// One of everything, in every mode the display and generated code use.
void drawEverything()
{
    for (int fill : {0, 1})
        for (int border : {0, 1})
            for (int pattern : {0, 3}) {
                grSetMode(GR_MODE_FILL, fill);
                grSetMode(GR_MODE_BORDER, border);
                grSetLinePattern(pattern);
                grSetLineWidth(3);
                grPoint(5, 5);
                grLine(0, 0, 100, 40);
                grPolyline(kNeedle, 7);
                grArc(0, 0, 92, 102, 112);
                grCircle(0, 0, 123);
                grSector(0, 0, 80, 30, 120);
                grRing(0, 0, 150, 123);
                grRingSector(0, 0, 150, 123, 57, 35);
                grRect(-108, 155, -12, 189);
                grEllipse(0, 0, 60, 20);
                grPolygon(kNeedle, 7);
                grTriangleStrip(kNeedle, 7);
                grBezier(kCurve, 4, 40);
            }
}

void drawTexts()
{
    for (int aa : {0, 1})
        for (int h = 0; h < 3; ++h) {
            grSetMode(GR_MODE_ANTIALIAS, aa);
            grSetMode(GR_MODE_BORDER, h == 1);
            grSetTextAlign(h, h + 1);
            grSetFont(h + 2);
            grText(10, 20, 30.0f * h, u"x100C° тк% масло 0123456789");
        }
}

class Allocations : public DrawingTest {};

}  // namespace

TEST_F(Allocations, NoneOnceTheScratchBuffersHaveGrown)
{
    drawEverything();
    ASSERT_GT(rec::draws().size(), 100u) << "everything was drawn";
    const float* vertices = g_draw.vertexScratch.data;
    const float* texCoords = g_draw.texCoordScratch.data;

    rec::setRecording(false);
    const long before = g_allocations.load();
    grBeginFrame();
    drawEverything();
    const long allocations = g_allocations.load() - before;
    rec::setRecording(true);

    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(g_draw.vertexScratch.data, vertices) << "a scratch buffer grew again";
    EXPECT_EQ(g_draw.texCoordScratch.data, texCoords);
}

// The display's whole layout cycle once, then its frames again in both
// submission modes: the model, the display and the library, batching
// included, allocate nothing in a steady-state frame.
TEST_F(Allocations, NoneInSteadyStateDisplayFramesInEitherMode)
{
    auto frames = [](int n) {
        for (int i = 0; i < n; ++i) {
            UpdateDisplayModel();
            grBeginFrame();
            DrawDisplay();
            grEndFrame();
        }
    };
    if (allocationCount().allocations < 0)
        GTEST_SKIP() << "no counting allocator for this C library";
    rec::setRecording(false);
    resetDisplayModel();
    frames(500);
    grSetBatching(true);
    frames(500);
    for (bool batched : {false, true}) {
        grSetBatching(batched);
        resetDisplayModel();
        const AllocationCount before = allocationCount();  // malloc and new alike
        frames(500);
        EXPECT_EQ(allocationCount().allocations - before.allocations, 0) << (batched ? "batched" : "exact");
    }
    grSetBatching(false);
    rec::setRecording(true);
    grBeginFrame();
    DrawDisplay();
    EXPECT_GT(rec::draws().size(), 500u) << "the frames drew";
}

// Text allocates only while it builds glyphs.
TEST_F(Allocations, NoneOnceTheGlyphsAreCached)
{
    const long cold = g_allocations.load();
    drawTexts();
    ASSERT_GT(g_allocations.load(), cold) << "building the glyphs allocates";
    ASSERT_GE(rec::draws().size(), 6u);

    rec::setRecording(false);
    const long before = g_allocations.load();
    grBeginFrame();
    drawTexts();
    const long allocations = g_allocations.load() - before;
    rec::setRecording(true);
    EXPECT_EQ(allocations, 0);
}
