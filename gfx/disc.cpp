#include "disc.h"

#include "band.h"
#include "scratch.h"
#include "segments.h"
#include "submit.h"

void fillDisc(float cx, float cy, float r)
{
    if (!acceptRadius(r) || !(r > 0.0f))
        return;
    const bool border = g_draw.border != 0;
    const float bw = border ? g_draw.borderWidth : 0.0f;
    const Sweep sweep = Sweep::fullTurn(circleSegments(r + bw));
    const int fanCount = sweep.fanVertices();
    const int bandCount = border ? sweep.stripVertices() : 0;
    if (!ensureVertexScratch(fanCount + bandCount))
        return;
    float* const fan = g_draw.vertexScratch.data;
    float* const band = fan + 2 * fanCount;
    BandPass pass(sweep, cx, cy);
    pass.fan(fan, r);
    if (border)
        pass.strip(band, r, r + bw);
    pass.write();

    drawVertices(GL_TRIANGLE_FAN, fan, fanCount, g_draw.color);
    if (border)
        drawVertices(GL_TRIANGLE_STRIP, band, bandCount, g_draw.borderColor);
    GR_CHECK_GL("fill disc");
}
