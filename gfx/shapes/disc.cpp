#include "disc.h"

#include "band.h"
#include "scratch.h"
#include "segments.h"
#include "submit.h"

bool drawRimmedFan(const Sweep& sweep, float cx, float cy, float r)
{
    const bool border = g_draw.border != 0;
    const int fanCount = sweep.fanVertices();
    const int bandCount = border ? sweep.stripVertices() : 0;
    if (!ensureVertexScratch(fanCount + bandCount))
        return false;
    float* const fan = g_draw.vertexScratch.data;
    float* const band = fan + 2 * fanCount;
    BandPass pass(sweep, cx, cy);
    pass.fan(fan, r);
    if (border)
        pass.strip(band, r, r + g_draw.borderWidth);
    pass.write();

    drawVertices(Primitive::TriangleFan, fan, fanCount, g_draw.color);
    if (border)
        drawVertices(Primitive::TriangleStrip, band, bandCount, g_draw.borderColor);
    return true;
}

void fillDisc(float cx, float cy, float r)
{
    if (!acceptRadius(r) || !(r > 0.0f))
        return;
    const float bw = g_draw.border ? g_draw.borderWidth : 0.0f;
    drawRimmedFan(Sweep::fullTurn(circleSegments(r + bw)), cx, cy, r);
    GR_CHECK_GL("fill disc");
}
