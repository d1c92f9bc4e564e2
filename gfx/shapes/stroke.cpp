#include "stroke.h"

#include "scratch.h"
#include "segments.h"
#include "submit.h"

StrokeRadii strokeRadii(float r, float hw, float bw, float lo, float hi)
{
    const float in = maxf(lo, r - hw);
    const float out = minf(hi, r + hw);
    return {in, out, maxf(lo, in - bw), minf(hi, out + bw)};
}

DashRun dashAlong(float s0, float radius, float angle, int segments)
{
    return {s0, radius * angle / static_cast<float>(segments) / dashLength()};
}

StrokeSet::StrokeSet(const Sweep& sweep, float cx, float cy, bool border, bool dashed)
    : sweep_(sweep), cx_(cx), cy_(cy), border_(border), dashed_(dashed), strokes_{}
{
}

int StrokeSet::add(const StrokeRadii& radii, DashRun dash)
{
    if (count_ == kMaxStrokes)
        return -1;
    strokes_[count_] = {radii, dash};
    return count_++;
}

bool StrokeSet::build()
{
    const int q = sweep_.stripVertices();
    const int vertexCount = count_ * bandsPerStroke() * q;
    const int texCount = count_ * texPerStroke() * q;
    if (dashed_ ? !ensureScratchPair(vertexCount, texCount) : !ensureVertexScratch(vertexCount))
        return false;

    float* const v = g_draw.vertexScratch.data;
    BandPass pass(sweep_, cx_, cy_);
    for (int i = 0; i < count_; ++i) {
        const StrokeRadii& r = strokes_[i].radii;
        float* const band = v + 2 * q * i * bandsPerStroke();
        pass.strip(band, r.in, r.out);
        if (border_) {
            pass.strip(band + 2 * q, r.in, r.borderIn);
            pass.strip(band + 4 * q, r.out, r.borderOut);
        }
    }
    pass.write();

    if (dashed_) {
        float* const t = g_draw.texCoordScratch.data;
        for (int i = 0; i < count_; ++i) {
            float* const tex = t + 2 * q * i * texPerStroke();
            writeDashCoords(tex, sweep_.segments(), strokes_[i].dash, g_draw.lineWidth);
            if (border_)
                writeDashCoords(tex + 2 * q, sweep_.segments(), strokes_[i].dash, g_draw.borderWidth);
        }
    }
    return true;
}

void StrokeSet::drawBand(int band, int texBand, const GrColor* color) const
{
    const int q = sweep_.stripVertices();
    const float* const v = g_draw.vertexScratch.data + 2 * q * band;
    if (dashed_)
        drawTexturedVertices(Primitive::TriangleStrip, v, g_draw.texCoordScratch.data + 2 * q * texBand, q, color);
    else
        drawVertices(Primitive::TriangleStrip, v, q, color);
}

void StrokeSet::drawBody(int i) const
{
    if (i < 0 || i >= count_)
        return;
    drawBand(i * bandsPerStroke(), i * texPerStroke(), g_draw.color);
}

void StrokeSet::drawBorders(int i) const
{
    if (!border_ || i < 0 || i >= count_)
        return;
    drawBand(i * bandsPerStroke() + 1, i * texPerStroke() + 1, g_draw.borderColor);
    drawBand(i * bandsPerStroke() + 2, i * texPerStroke() + 1, g_draw.borderColor);
}
