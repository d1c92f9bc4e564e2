#include "cpu_seam.h"

#include <cmath>
#include <cstring>
#include <string>

#include "backends/shared/thread_count.h"
#include "backends/shared/transform.h"
#include "cpu_backend.h"
#include "gr_display.h"
#include "pixel_ops.h"

static_assert(cpu::kExactCoverage == GR_EXACT_COVERAGE_SAMPLES, "one value for the exact coverage level");

namespace {

constexpr const char* kExactName = "cpu-exact";

// Largest texture side, as the GL backends allow.
constexpr int kMaxTextureSide = 8192;

uint8_t unorm(float f)
{
    const float c = f < 0 ? 0 : (f > 1 ? 1 : f);
    return static_cast<uint8_t>(std::lround(c * 255.0f));
}

class CpuSeamBackend final : public Backend {
public:
    CpuSeamBackend(int samples, int threads) : samples_(samples), threads_(threads)
    {
        name_ = samples == 0 ? "cpu" : (samples == cpu::kExactCoverage ? kExactName : "cpu" + std::to_string(samples));
    }

    const char* name() const override { return name_.c_str(); }
    // The drawing threads live from grInit to grShutdown only: a selected
    // backend outlives both, and on Windows the library's statics go after
    // the process's other threads are gone, so a pool still held there
    // would wait for its workers for ever.
    const char* start() override
    {
        cpu_.SetThreads(threads_ > 0 ? threads_ : drawingThreadCount());
        return nullptr;
    }
    void settle() override { cpu_.Finish(); }
    void stop() override
    {
        cpu_.Finish();
        cpu_.SetThreads(1);
    }
    void beginFrame() override
    {
        blend_ = patternTexture_ = surfaceTexture_ = texCoords_ = antialias_ = false;
        cpu_.SetStencil(cpu::StencilMode::Off, 0);
    }
    void endFrame() override { cpu_.Finish(); }
    void syncState() override {}
    int drainErrors() override { return 0; }

    void setProjection(int width, int height, const double box[6], int quarterTurns) override
    {
        if (width != cpu_.Width() || height != cpu_.Height())
            cpu_.Resize(width, height, samples_);
        transform_.setOrtho(box, quarterTurns);
        cpu_.SetProjection(transform_.projection());
    }
    void clearFrame(const float rgba[4]) override
    {
        cpu_.Clear(true, cpu::packRgba(unorm(rgba[0]), unorm(rgba[1]), unorm(rgba[2]), unorm(rgba[3])), true, 0);
    }
    void clearStencil() override { cpu_.Clear(false, 0, true, 0); }
    bool readPixels(int width, int height, uint8_t* rgba) override
    {
        if (width > cpu_.Width() || height > cpu_.Height())
            return false;
        cpu_.Finish();
        cpu_.ReadRows(width, height, rgba);
        return true;
    }

    void getModelview(float out[16]) override { std::memcpy(out, transform_.modelview(), 16 * sizeof(float)); }
    void loadModelview(const float matrix[16]) override { transform_.loadModelview(matrix); }
    void translate(float x, float y) override { transform_.translate(x, y); }
    void rotate(float degrees) override { transform_.rotate(degrees); }
    void scale(float sx, float sy) override { transform_.scale(sx, sy); }

    void clipWillChange() override {}
    void setClipPlane(int index, const double equation[4]) override
    {
        if (index < 0 || index >= kClipPlaneCount)
            return;
        // Kept in eye coordinates: the plane times the inverse of the
        // modelview (2-D affine here) current now, as glClipPlane keeps it.
        const float* m = transform_.modelview();
        const double det = static_cast<double>(m[0]) * m[5] - static_cast<double>(m[1]) * m[4];
        if (det == 0.0)
            return;
        const double ia = m[5] / det, ib = -m[1] / det, ic = -m[4] / det, id = m[0] / det;
        const double ie = -(ia * m[12] + ic * m[13]), iff = -(ib * m[12] + id * m[13]);
        double* out = planes_[index];
        out[0] = equation[0] * ia + equation[1] * ib;
        out[1] = equation[0] * ic + equation[1] * id;
        out[2] = equation[2];
        out[3] = equation[0] * ie + equation[1] * iff + equation[3];
        SyncPlanes();
    }
    void enableClipPlane(int index, bool on) override
    {
        if (index < 0 || index >= kClipPlaneCount)
            return;
        planeOn_[index] = on;
        SyncPlanes();
    }
    void setStencil(StencilMode mode, int ref) override
    {
        cpu_.SetStencil(mode == StencilMode::Write ? cpu::StencilMode::Write : cpu::StencilMode::Test,
                        static_cast<uint8_t>(ref));
    }
    void disableStencil() override { cpu_.SetStencil(cpu::StencilMode::Off, 0); }

    int maxTextureSide() override { return kMaxTextureSide; }
    TextureHandle createTexture(TextureFormat format, int width, int height, const uint8_t* texels) override
    {
        if (width <= 0 || height <= 0 || width > kMaxTextureSide || height > kMaxTextureSide)
            return 0;
        const TextureHandle name = cpu_.CreateTexture();
        const cpu::TexelFormat texelFormat =
            format == TextureFormat::ImageRgba ? cpu::TexelFormat::Rgba : cpu::TexelFormat::Alpha;
        cpu_.DefineTexture(name, texelFormat, width, height, texels, format == TextureFormat::PatternAlpha);
        countTextureUpload();
        return name;
    }
    void updateTexture(TextureHandle texture, int x, int y, int w, int h, const uint8_t* texels) override
    {
        if (cpu_.UpdateTexture(texture, x, y, w, h, texels))
            countTextureUpload();
    }
    void deleteTexture(TextureHandle texture) override
    {
        cpu_.DeleteTexture(texture);
        for (TextureHandle* bound : {&pattern_, &surface_})
            if (*bound == texture)
                *bound = 0;
    }
    void bindTexture(TextureSlot slot, TextureHandle texture) override
    {
        (slot == TextureSlot::Pattern ? pattern_ : surface_) = texture;
    }
    void setTextureFilter(TextureSlot slot, TextureFilter filter) override
    {
        Sampling& s = sampling(slot);
        s.filter = filter == TextureFilter::Linear ? cpu::TextureFilter::Linear : cpu::TextureFilter::Nearest;
        cpu_.SetTextureSampling(bound(slot), s.filter, s.wrap);
    }
    void setTextureWrap(TextureSlot slot, TextureWrap wrap) override
    {
        Sampling& s = sampling(slot);
        s.wrap = wrap == TextureWrap::Repeat ? cpu::TextureWrap::Repeat : cpu::TextureWrap::Clamp;
        cpu_.SetTextureSampling(bound(slot), s.filter, s.wrap);
    }

    void setCapability(Capability capability, bool on) override
    {
        switch (capability) {
        case Capability::Blend:
            blend_ = on;
            break;
        case Capability::PatternTexture:
            patternTexture_ = on;
            break;
        case Capability::SurfaceTexture:
            surfaceTexture_ = on;
            break;
        case Capability::TexCoords:
            texCoords_ = on;
            break;
        case Capability::Antialias:
            antialias_ = on;
            break;
        }
    }

    void draw(const DrawCall& call) override
    {
        cpu_.SetModelview(transform_.modelview());
        cpu::DrawState state;
        state.blend = blend_;
        state.antialias = antialias_;
        // A surface texture wins over the pattern, as 2-D texturing over 1-D.
        state.texture = surfaceTexture_ ? surface_ : (patternTexture_ ? pattern_ : 0);
        const uint32_t color =
            call.untinted ? cpu::packRgba(255, 255, 255, 255) : cpu::packRgba(call.color.r, call.color.g, call.color.b, 255);
        const cpu::Primitive primitive = call.primitive == Primitive::TriangleStrip ? cpu::Primitive::TriangleStrip
                                         : call.primitive == Primitive::TriangleFan ? cpu::Primitive::TriangleFan
                                                                                    : cpu::Primitive::Triangles;
        cpu_.Draw(primitive, call.xy, texCoords_ ? call.st : nullptr, call.count, color, state);
        countDraw(call.count);
    }

private:
    struct Sampling {
        cpu::TextureFilter filter = cpu::TextureFilter::Linear;
        cpu::TextureWrap wrap = cpu::TextureWrap::Repeat;
    };
    Sampling& sampling(TextureSlot slot) { return slot == TextureSlot::Pattern ? patternSampling_ : surfaceSampling_; }
    TextureHandle bound(TextureSlot slot) const { return slot == TextureSlot::Pattern ? pattern_ : surface_; }

    void SyncPlanes()
    {
        double on[kClipPlaneCount][4];
        int count = 0;
        for (int i = 0; i < kClipPlaneCount; ++i)
            if (planeOn_[i])
                std::memcpy(on[count++], planes_[i], sizeof on[0]);
        cpu_.SetClipPlanes(on, count);
    }

    int samples_;
    int threads_;  // drawing threads, the caller's included
    std::string name_;
    cpu::CpuBackend cpu_;
    Transform transform_;
    double planes_[kClipPlaneCount][4] = {};
    bool planeOn_[kClipPlaneCount] = {};
    TextureHandle pattern_ = 0, surface_ = 0;
    Sampling patternSampling_, surfaceSampling_;
    bool blend_ = false, patternTexture_ = false, surfaceTexture_ = false, texCoords_ = false, antialias_ = false;
};

}  // namespace

int cpuBackendSamples(const char* name)
{
    if (std::strncmp(name, "cpu", 3) != 0)
        return -1;
    const char* rest = name + 3;
    if (*rest == '\0')
        return 0;
    if (std::strcmp(name, kExactName) == 0)
        return cpu::kExactCoverage;
    for (int samples : {2, 4, 8})
        if (std::strcmp(rest, std::to_string(samples).c_str()) == 0)
            return samples;
    return -1;
}

std::unique_ptr<Backend> makeCpuBackend(int samples, int threads)
{
    return std::make_unique<CpuSeamBackend>(samples, threads);
}
