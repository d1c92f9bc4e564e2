#include "tables.h"

namespace {

const GrColor kColors[] = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0},
    {121, 121, 140}, {102, 104, 124}, {255, 255, 255}, {0, 0, 0},
};

const GrColor kBorderColors[] = {
    {0, 255, 0}, {255, 0, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0},
};

const float kLineWidths[] = {1.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f};

const float kBorderWidths[] = {1.0f, 1.0f};

const LinePattern kLinePatterns[] = {
    {0xFFFF, 0}, {0xF0F0, 0}, {0xF0F0, 1}, {0xF18F, 0}, {0xF18F, 1},
};

// The display names no image file.
const ImageSpec kImages[] = {
    {nullptr, 0, 0},
};

const FontSpec kFonts[] = {
    {"Arial", 30, 0, 0, u"arial.ttf"},
    {"Arial Narrow", 14, 1, 0, u"arialnb.ttf"},
    {"Arial Narrow", 18, 0, 0, u"arialn.ttf"},
    {"Arial Narrow", 20, 0, 0, u"arialn.ttf"},
    {"Arial Narrow", 24, 0, 0, u"arialn.ttf"},
    {"Arial Narrow", 10, 1, 0, u"arialnb.ttf"},
};

template <typename T, int N>
constexpr int countOf(const T (&)[N])
{
    return N;
}

const GrTables kTables = {
    kColors,       countOf(kColors),       kBorderColors, countOf(kBorderColors),
    kLineWidths,   countOf(kLineWidths),   kBorderWidths, countOf(kBorderWidths),
    kLinePatterns, countOf(kLinePatterns), kImages,       countOf(kImages),
    kFonts,        countOf(kFonts),
};

}  // namespace

const GrTables& displayTables() { return kTables; }
