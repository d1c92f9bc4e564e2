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

template <typename T, int N>
constexpr int countOf(const T (&)[N])
{
    return N;
}

const GrTables kTables = {
    kColors,       countOf(kColors),       kBorderColors, countOf(kBorderColors),
    kLineWidths,   countOf(kLineWidths),   kBorderWidths, countOf(kBorderWidths),
    kLinePatterns, countOf(kLinePatterns),
};

}  // namespace

const GrTables& displayTables() { return kTables; }
