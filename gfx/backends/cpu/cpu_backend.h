// The CPU backend: the library's finished vertices drawn without any GL
// into an image in memory, with the GL's arithmetic where the picture
// depends on it: vertices taken through the modelview and the projection
// in float, clip planes in eye coordinates, flat colour, stencil, textures
// modulated and blended, multisampling switched per draw.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "band_pool.h"
#include "cpu_frame.h"
#include "cpu_texture.h"
#include "draw_list.h"
#include "polygon_clip.h"

namespace cpu {

enum class Primitive { Triangles, TriangleStrip, TriangleFan };

// A texture's name; 0 is none.
using TextureName = unsigned;

struct DrawState {
    TextureName texture = 0;  // modulates the colour when not 0
    bool blend = false;
    bool antialias = false;   // multisampling for this draw
};

constexpr int kMaxEyePlanes = 6;

class CpuBackend {
public:
    // A width x height frame with samples per pixel (0, 2, 4, 8 or
    // kExactCoverage); false,
    // nothing changed, for anything else. Draws recorded so far are drawn
    // first.
    bool Resize(int width, int height, int samples);
    int Width() const { return frame_.Width(); }
    int Height() const { return frame_.Height(); }
    int Samples() const { return frame_.Samples(); }
    // Threads drawing each frame (1: only the caller's).
    void SetThreads(int threads) { pool_.SetThreads(threads); }

    // Column-major 4 x 4 matrices as the GL takes them. The projection maps
    // to normalised device coordinates over the whole frame (the viewport).
    void SetProjection(const float* matrix);
    void SetModelview(const float* matrix);
    // Keeps eye positions p with a * x + b * y + c * z + d >= 0 (z = 0 here)
    // for each plane; count at most kMaxEyePlanes, 0 switches clipping off.
    void SetClipPlanes(const double (*planes)[4], int count);
    void SetStencil(StencilMode mode, uint8_t ref);

    void Clear(bool color, uint32_t rgba, bool stencil, uint8_t stencilValue);

    // Textures: names are never 0; defining or changing one draws what was
    // recorded with it first.
    TextureName CreateTexture();
    bool DefineTexture(TextureName name, TexelFormat format, int width, int height, const void* texels,
                       bool oneDimensional);
    bool UpdateTexture(TextureName name, int x, int y, int width, int height, const void* texels);
    void SetTextureSampling(TextureName name, TextureFilter filter, TextureWrap wrap);
    void DeleteTexture(TextureName name);
    bool IsTexture(TextureName name) const;

    // count vertices (x, y pairs; texCoords pairs or null) as primitive in
    // rgba (packed as pixel_ops.h packs).
    void Draw(Primitive primitive, const float* xy, const float* texCoords, int count, uint32_t rgba,
              const DrawState& state);

    // Draws everything recorded; the frame is then complete.
    void Finish();
    // The finished frame, top row first, 4 bytes a pixel (RGBA).
    void ReadPixels(uint8_t* rgba) const;
    // Its lower left width x height pixels, bottom row first (as glReadPixels).
    void ReadRows(int width, int height, uint8_t* rgba) const;

private:
    CpuTexture* Texture(TextureName name);
    void Assemble(const RasterVertex* corners);
    void Record(const RasterVertex* triangle, bool far);
    static bool FarOut(const RasterVertex& v);
    RasterVertex ToWindow(float eyeX, float eyeY, float s, float t) const;

    CpuFrame frame_;
    BandPool pool_;
    DrawList list_;
    float projection_[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float modelview_[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    HalfPlane eyePlanes_[kMaxEyePlanes] = {};
    int eyePlaneCount_ = 0;
    StencilMode stencil_ = StencilMode::Off;
    uint8_t stencilRef_ = 0;
    std::vector<std::unique_ptr<CpuTexture>> textures_;  // name - 1
    std::vector<RasterVertex> vertices_;  // the draw's: in the window, or in eye space with clip planes
    std::vector<uint8_t> far_;            // per vertex in the window: beyond the guard band
    std::vector<RasterVertex> triangles_; // the draw's triangles in the window
};

}  // namespace cpu
