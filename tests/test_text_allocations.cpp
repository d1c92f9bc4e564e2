// Text allocates only while it builds glyphs: once a string's glyphs are
// cached, drawing and measuring it again makes no heap allocation.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "recording_fixture.h"
#include "text/font_manager.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

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

class TextAllocations : public DrawingTest {};

}  // namespace

TEST_F(TextAllocations, NoneOnceTheGlyphsAreCached)
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
