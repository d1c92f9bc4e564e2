#include "scratch.h"

#include <cstdlib>

#include "state.h"

static bool ensureScratch(ScratchBuffer& buffer, int n)
{
    if (n < 1)
        n = 1;
    if (n > kMaxScratchPairs)
        return false;
    if (buffer.data && buffer.capacity >= n)
        return true;
    std::free(buffer.data);
    buffer.data = nullptr;
    buffer.capacity = 0;
    const double bytes = static_cast<double>(8 * static_cast<long long>(n)) * g_draw.scratchGrowth;
    const long long pairs = static_cast<long long>(bytes) / 8;
    buffer.data = static_cast<float*>(std::malloc(static_cast<size_t>(pairs) * 8));
    if (buffer.data)
        buffer.capacity = static_cast<int>(pairs);
    return buffer.data != nullptr;
}

bool ensureVertexScratch(int n) { return ensureScratch(g_draw.vertexScratch, n); }

bool ensureScratchPair(int n, int m)
{
    return ensureScratch(g_draw.vertexScratch, n) && ensureScratch(g_draw.texCoordScratch, m);
}

void freeScratch()
{
    std::free(g_draw.vertexScratch.data);
    std::free(g_draw.texCoordScratch.data);
    g_draw.vertexScratch = {};
    g_draw.texCoordScratch = {};
}
