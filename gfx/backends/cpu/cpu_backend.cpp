#include "cpu_backend.h"

#include <cmath>
#include <cstring>

namespace cpu {

namespace {

// Beyond this distance from the frame (pixels) a triangle is cut to the
// guard band first, so that the rasteriser's fixed point never overflows.
constexpr float kGuardBand = 8192.0f;

// The corners of triangle i of a primitive of count vertices.
void cornersOf(Primitive primitive, int i, int corners[3])
{
    if (primitive == Primitive::Triangles) {
        corners[0] = 3 * i;
        corners[1] = 3 * i + 1;
        corners[2] = 3 * i + 2;
    } else {
        corners[0] = primitive == Primitive::TriangleStrip ? i : 0;
        corners[1] = i + 1;
        corners[2] = i + 2;
    }
}

}  // namespace

bool CpuBackend::Resize(int width, int height, int samples)
{
    if (!validSamples(samples) || width <= 0 || height <= 0)
        return false;
    Finish();
    return frame_.Resize(width, height, samples);
}

void CpuBackend::SetProjection(const float* matrix) { std::memcpy(projection_, matrix, sizeof projection_); }

void CpuBackend::SetModelview(const float* matrix) { std::memcpy(modelview_, matrix, sizeof modelview_); }

void CpuBackend::SetClipPlanes(const double (*planes)[4], int count)
{
    eyePlaneCount_ = count < 0 ? 0 : (count > kMaxEyePlanes ? kMaxEyePlanes : count);
    for (int i = 0; i < eyePlaneCount_; ++i)
        eyePlanes_[i] = {planes[i][0], planes[i][1], planes[i][3]};  // z is 0 in eye space
}

void CpuBackend::SetStencil(StencilMode mode, uint8_t ref)
{
    stencil_ = mode;
    stencilRef_ = ref;
}

void CpuBackend::Clear(bool color, uint32_t rgba, bool stencil, uint8_t stencilValue)
{
    list_.Clear(color, rgba, stencil, stencilValue);
}

TextureName CpuBackend::CreateTexture()
{
    for (size_t i = 0; i < textures_.size(); ++i)
        if (!textures_[i]) {
            textures_[i] = std::make_unique<CpuTexture>();
            return static_cast<TextureName>(i + 1);
        }
    textures_.push_back(std::make_unique<CpuTexture>());
    return static_cast<TextureName>(textures_.size());
}

CpuTexture* CpuBackend::Texture(TextureName name)
{
    if (name == 0 || name > textures_.size())
        return nullptr;
    return textures_[name - 1].get();
}

bool CpuBackend::IsTexture(TextureName name) const
{
    return name != 0 && name <= textures_.size() && textures_[name - 1];
}

bool CpuBackend::DefineTexture(TextureName name, TexelFormat format, int width, int height, const void* texels,
                               bool oneDimensional)
{
    CpuTexture* texture = Texture(name);
    if (!texture || width < 0 || height < 0)
        return false;
    Finish();
    texture->Define(format, width, height, texels);
    texture->oneDimensional = oneDimensional;
    return true;
}

bool CpuBackend::UpdateTexture(TextureName name, int x, int y, int width, int height, const void* texels)
{
    CpuTexture* texture = Texture(name);
    if (!texture)
        return false;
    Finish();
    return texture->Update(x, y, width, height, texels);
}

void CpuBackend::SetTextureSampling(TextureName name, TextureFilter filter, TextureWrap wrap)
{
    CpuTexture* texture = Texture(name);
    if (!texture || (texture->filter == filter && texture->wrap == wrap))
        return;
    Finish();
    texture->filter = filter;
    texture->wrap = wrap;
}

void CpuBackend::DeleteTexture(TextureName name)
{
    if (!Texture(name))
        return;
    Finish();
    textures_[name - 1].reset();
}

inline RasterVertex CpuBackend::ToWindow(float eyeX, float eyeY, float s, float t) const
{
    const float* p = projection_;
    const float cx = p[0] * eyeX + p[4] * eyeY + p[12];
    const float cy = p[1] * eyeX + p[5] * eyeY + p[13];
    const float cw = p[3] * eyeX + p[7] * eyeY + p[15];
    const float halfWidth = static_cast<float>(frame_.Width()) * 0.5f;
    const float halfHeight = static_cast<float>(frame_.Height()) * 0.5f;
    return {(cx / cw) * halfWidth + halfWidth, (cy / cw) * halfHeight + halfHeight, s, t};
}

inline bool CpuBackend::FarOut(const RasterVertex& v)
{
    return !(std::fabs(v.x) < kGuardBand) || !(std::fabs(v.y) < kGuardBand);
}

// A triangle in the window: recorded, cut to the guard band first where it
// reaches far outside.
void CpuBackend::Record(const RasterVertex* triangle, bool far)
{
    if (!far) {
        triangles_.insert(triangles_.end(), triangle, triangle + 3);
        return;
    }
    const HalfPlane guard[] = {{1, 0, kGuardBand}, {-1, 0, kGuardBand}, {0, 1, kGuardBand}, {0, -1, kGuardBand}};
    RasterVertex cut[kMaxClippedVertices];
    const int kept = clipTriangle(triangle, guard, 4, cut);
    for (int k = 1; k + 1 < kept; ++k)
        triangles_.insert(triangles_.end(), {cut[0], cut[k], cut[k + 1]});
}

// One triangle in eye space: clipped to the planes, taken to the window
// and recorded.
void CpuBackend::Assemble(const RasterVertex* corners)
{
    RasterVertex polygon[kMaxClippedVertices];
    const int count = clipTriangle(corners, eyePlanes_, eyePlaneCount_, polygon);
    if (count < 3)
        return;
    bool far = false;
    for (int i = 0; i < count; ++i) {
        polygon[i] = ToWindow(polygon[i].x, polygon[i].y, polygon[i].s, polygon[i].t);
        far = far || FarOut(polygon[i]);
    }
    for (int i = 1; i + 1 < count; ++i) {
        const RasterVertex fan[3] = {polygon[0], polygon[i], polygon[i + 1]};
        Record(fan, far);
    }
}

void CpuBackend::Draw(Primitive primitive, const float* xy, const float* texCoords, int count, uint32_t rgba,
                      const DrawState& state)
{
    if (count < 3 || !xy)
        return;
    Paint paint;
    paint.color = rgba;
    paint.blend = state.blend;
    paint.multisample = state.antialias;
    paint.stencil = stencil_;
    paint.stencilRef = stencilRef_;
    CpuTexture* texture = Texture(state.texture);
    // An empty texture leaves the colour as it is, as an incomplete one does in the GL.
    if (texture && texCoords && texture->width > 0 && texture->height > 0)
        paint.texture = texture;

    // Without clip planes each vertex is taken to the window once, however
    // many triangles of a strip or fan share it.
    const bool clipped = eyePlaneCount_ > 0;
    const float* m = modelview_;
    vertices_.resize(static_cast<size_t>(count));
    far_.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const float x = xy[2 * i], y = xy[2 * i + 1];
        const float eyeX = m[0] * x + m[4] * y + m[12], eyeY = m[1] * x + m[5] * y + m[13];
        const float s = texCoords ? texCoords[2 * i] : 0.0f, t = texCoords ? texCoords[2 * i + 1] : 0.0f;
        vertices_[i] = clipped ? RasterVertex{eyeX, eyeY, s, t} : ToWindow(eyeX, eyeY, s, t);
        far_[i] = !clipped && FarOut(vertices_[i]);
    }
    triangles_.clear();
    const int triangles = primitive == Primitive::Triangles ? count / 3 : count - 2;
    for (int i = 0; i < triangles; ++i) {
        int c[3];
        cornersOf(primitive, i, c);
        const RasterVertex corners[3] = {vertices_[c[0]], vertices_[c[1]], vertices_[c[2]]};
        if (clipped)
            Assemble(corners);
        else
            Record(corners, far_[c[0]] || far_[c[1]] || far_[c[2]]);
    }
    list_.Triangles(triangles_.data(), static_cast<int>(triangles_.size()), paint);
}

void CpuBackend::Finish() { list_.Execute(frame_, pool_); }

void CpuBackend::ReadPixels(uint8_t* rgba) const
{
    const size_t row = static_cast<size_t>(frame_.Width()) * 4;
    const auto* pixels = reinterpret_cast<const uint8_t*>(frame_.Pixels());
    for (int y = 0; y < frame_.Height(); ++y)
        std::memcpy(rgba + row * y, pixels + row * (frame_.Height() - 1 - y), row);
}

void CpuBackend::ReadRows(int width, int height, uint8_t* rgba) const
{
    for (int y = 0; y < height; ++y)
        std::memcpy(rgba + static_cast<size_t>(y) * width * 4, frame_.Pixels() + static_cast<size_t>(y) * frame_.Width(),
                    static_cast<size_t>(width) * 4);
}

}  // namespace cpu
