#include "gles_backend.h"

#include <cstddef>
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "backends/shared/plane_clip.h"
#include "backends/shared/transform.h"
#include "subpixel_grid.h"

namespace {

// A streamed vertex: clip-space position, texture coordinates, colour bytes.
struct Vertex {
    float x, y, s, t;
    uint8_t rgba[4];
};

// Largest number of vertices one GL draw carries.
constexpr size_t kMaxStreamVertices = 1 << 16;
// Vertices the streaming store holds before it is replaced.
constexpr size_t kStreamBufferVertices = 1 << 18;
// A triangle cut by the clip planes becomes a fan of up to this many vertices.
constexpr size_t kMaxVerticesPerTriangle = 3 * (kMaxClippedCorners - 2);

constexpr GLint kPatternUnit = 0;
constexpr GLint kSurfaceUnit = 1;

// Without a current context some drivers report an error on every call.
constexpr int kMaxQueuedErrors = 64;

struct TextureInfo {
    TextureFormat format;
    int width;
    GLint filter, wrap;  // as the GL holds them
    bool linear;         // the filter asked for (the shader filters wrapped patterns itself)
};

// The state a draw needs; draws of equal keys share one GL draw.
struct DrawKey {
    FragmentMode mode;
    GLuint pattern, surface;
    bool blend;
    bool antialias;
    bool operator==(const DrawKey& o) const
    {
        return mode == o.mode && pattern == o.pattern && surface == o.surface && blend == o.blend &&
               antialias == o.antialias;
    }
};

// Vertex k of the triangle list that primitive makes of its vertices, in
// the order the GL itself splits strips and fans.
int sourceIndex(Primitive primitive, int k)
{
    const int triangle = k / 3, corner = k % 3;
    if (primitive == Primitive::TriangleStrip) {
        if (triangle % 2 == 1 && corner < 2)
            return triangle + 1 - corner;
        return triangle + corner;
    }
    if (primitive == Primitive::TriangleFan)
        return corner == 0 ? 0 : triangle + corner;
    return k;
}

int triangleCount(Primitive primitive, int count)
{
    if (primitive == Primitive::Triangles)
        return count / 3;
    return count >= 3 ? count - 2 : 0;
}

class GlesBackend : public Backend {
public:
    GlesBackend(GlslDialect dialect, ProcLoader loader) : dialect_(dialect), loader_(loader) {}

    const char* name() const override
    {
        switch (dialect_) {
        case GlslDialect::Es100: return "es2";
        case GlslDialect::Es300: return "es3";
        case GlslDialect::Core330: return "core";
        }
        return "es3";
    }

    const char* start() override
    {
        forget();
        if (const char* missing = loadGlesApi(loader_, &gl_)) {
            error_ = std::string("the GL has no ") + missing;
            return error_.c_str();
        }
        if (const char* refused = checkVersion())
            return refused;
        for (int mode = 0; mode < kFragmentModeCount; ++mode)
            if (const char* failed = buildGlesProgram(gl_, dialect_, static_cast<FragmentMode>(mode), &programs_[mode])) {
                error_ = failed;
                return error_.c_str();
            }
        useVertexArray_ = dialect_ != GlslDialect::Es100 && gl_.GenVertexArrays && gl_.BindVertexArray;
        if (dialect_ == GlslDialect::Core330 && !useVertexArray_) {
            error_ = "a core context without vertex array objects";
            return error_.c_str();
        }
        if (useVertexArray_)
            gl_.GenVertexArrays(1, &vertexArray_);
        gl_.GenBuffers(1, &buffer_);
        started_ = true;
        return nullptr;
    }

    void settle() override { flush(); }

    void stop() override
    {
        flush();
        if (started_) {
            gl_.DeleteBuffers(1, &buffer_);
            if (vertexArray_)
                gl_.DeleteVertexArrays(1, &vertexArray_);
            for (const GlesProgram& program : programs_)
                gl_.DeleteProgram(program.name);
        }
        forget();
    }

    void beginFrame() override
    {
        flush();
        if (!started_)
            return;
        gl_.Disable(GL_STENCIL_TEST);
        gl_.Disable(GL_DEPTH_TEST);
        gl_.Disable(GL_BLEND);
        gl_.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        if (dialect_ == GlslDialect::Core330)
            gl_.Disable(kGlMultisample);
        gl_.Viewport(0, 0, viewportWidth_, viewportHeight_);
        bindVertexBuffer();
        blendOn_ = false;
        multisampleOn_ = false;
        switches_ = {};
        program_ = -1;
        for (Uniforms& uniforms : uniforms_)
            uniforms = {-1.0f, -1};
        boundUnits_[0] = boundUnits_[1] = ~0u;
        activeUnit_ = -1;
    }

    void endFrame() override { flush(); }

    void syncState() override { flush(); }

    int drainErrors() override
    {
        if (!started_)
            return 0;
        int errors = 0;
        while (errors < kMaxQueuedErrors && gl_.GetError() != GL_NO_ERROR)
            ++errors;
        return errors;
    }

    void setProjection(int width, int height, const double box[6], int quarterTurns) override
    {
        flush();
        viewportWidth_ = width;
        viewportHeight_ = height;
        grid_.setViewport(width, height);
        if (started_)
            gl_.Viewport(0, 0, width, height);
        transform_.setOrtho(box, quarterTurns);
    }

    void clearFrame(const float rgba[4]) override
    {
        flush();
        gl_.ClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        gl_.ClearStencil(0);
        gl_.Clear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }

    void clearStencil() override
    {
        flush();
        gl_.Clear(GL_STENCIL_BUFFER_BIT);
    }

    bool readPixels(int width, int height, uint8_t* rgba) override
    {
        flush();
        drainErrors();
        gl_.PixelStorei(GL_PACK_ALIGNMENT, 1);
        gl_.ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return gl_.GetError() == GL_NO_ERROR;
    }

    void getModelview(float out[16]) override { std::memcpy(out, transform_.modelview(), 16 * sizeof(float)); }
    void loadModelview(const float matrix[16]) override { transform_.loadModelview(matrix); }
    void translate(float x, float y) override { transform_.translate(x, y); }
    void rotate(float degrees) override { transform_.rotate(degrees); }
    void scale(float sx, float sy) override { transform_.scale(sx, sy); }

    void clipWillChange() override { flush(); }

    void setClipPlane(int index, const double equation[4]) override
    {
        clipper_.setPlane(index, equation, transform_.modelview());
        clipperSerial_ = transform_.serial();
    }

    void enableClipPlane(int index, bool on) override { clipper_.enable(index, on); }

    void setStencil(StencilMode mode, int ref) override
    {
        if (mode == StencilMode::Write) {
            gl_.StencilFunc(GL_NEVER, ref, ~0u);
            gl_.StencilOp(GL_REPLACE, GL_KEEP, GL_KEEP);
        } else {
            gl_.StencilFunc(GL_EQUAL, ref, ~0u);
            gl_.StencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        }
        gl_.Enable(GL_STENCIL_TEST);
    }

    void disableStencil() override { gl_.Disable(GL_STENCIL_TEST); }

    int maxTextureSide() override
    {
        GLint side = 0;
        gl_.GetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
        return side;
    }

    TextureHandle createTexture(TextureFormat format, int width, int height, const uint8_t* texels) override
    {
        flush();
        std::vector<uint8_t> zeros;
        if (!texels) {
            zeros.assign(static_cast<size_t>(width) * height, 0);
            texels = zeros.data();
        }
        drainErrors();
        GLuint name = 0;
        gl_.GenTextures(1, &name);
        bindToUnit(kSurfaceUnit, name);
        gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
        const bool rgba = format == TextureFormat::ImageRgba;
        const GLint internal = rgba ? GL_RGBA : coverageInternalFormat();
        const GLenum layout = rgba ? GL_RGBA : coverageFormat();
        gl_.TexImage2D(GL_TEXTURE_2D, 0, internal, width, height, 0, layout, GL_UNSIGNED_BYTE, texels);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        if (gl_.GetError() != GL_NO_ERROR) {
            gl_.DeleteTextures(1, &name);
            boundUnits_[kSurfaceUnit] = ~0u;
            return 0;
        }
        textures_[name] = {format, width, GL_NEAREST, GL_CLAMP_TO_EDGE, false};
        countTextureUpload();
        return name;
    }

    void updateTexture(TextureHandle texture, int x, int y, int w, int h, const uint8_t* texels) override
    {
        if (textures_.find(texture) == textures_.end())
            return;
        flush();
        bindToUnit(kSurfaceUnit, texture);
        gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl_.TexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, coverageFormat(), GL_UNSIGNED_BYTE, texels);
        countTextureUpload();
    }

    void deleteTexture(TextureHandle texture) override
    {
        if (textures_.erase(texture) == 0)
            return;
        flush();
        gl_.DeleteTextures(1, &texture);
        for (GLuint& bound : boundUnits_)
            if (bound == texture)
                bound = ~0u;
        for (TextureHandle& selected : switches_.textures)
            if (selected == texture)
                selected = 0;
    }

    void bindTexture(TextureSlot slot, TextureHandle texture) override
    {
        switches_.textures[static_cast<int>(slot)] = texture;
    }

    void setTextureFilter(TextureSlot slot, TextureFilter filter) override
    {
        TextureInfo* info = selected(slot);
        if (!info)
            return;
        const bool linear = filter == TextureFilter::Linear;
        // Patterns the shader wraps are sampled at texel centres: the shader
        // filters them.
        const GLint value = linear && !shaderWraps(*info) ? GL_LINEAR : GL_NEAREST;
        if (info->filter == value && info->linear == linear)
            return;
        flush();
        info->linear = linear;
        if (info->filter == value)
            return;
        bindToUnit(unitOf(slot), switches_.textures[static_cast<int>(slot)]);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, value);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, value);
        info->filter = value;
    }

    void setTextureWrap(TextureSlot slot, TextureWrap wrap) override
    {
        TextureInfo* info = selected(slot);
        if (!info)
            return;
        const GLint value = wrap == TextureWrap::Repeat && !shaderWraps(*info) ? GL_REPEAT : GL_CLAMP_TO_EDGE;
        if (info->wrap == value)
            return;
        flush();
        bindToUnit(unitOf(slot), switches_.textures[static_cast<int>(slot)]);
        gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, value);
        info->wrap = value;
    }

    void setCapability(Capability capability, bool on) override
    {
        switches_.on[static_cast<int>(capability)] = on;
    }

    void draw(const DrawCall& call) override
    {
        if (!started_ || call.count <= 0)
            return;
        const int triangles = triangleCount(call.primitive, call.count);
        if (triangles == 0)
            return;
        const DrawKey key = currentKey();
        if (!pending_.empty() && (!(key == pendingKey_) || pending_.size() + kMaxVerticesPerTriangle * triangles > kMaxStreamVertices))
            flush();
        pendingKey_ = key;

        const bool textured = switches_.on[static_cast<int>(Capability::TexCoords)] && call.st;
        // Glyph pages and images are filtered between texels, where a
        // coordinate interpolated from rounded corners shows. Dashed lines
        // stay as given: moving their thin slanted edges costs more pixels
        // than their patterns' few ends gain.
        const bool onGrid = textured && (key.mode == FragmentMode::Glyph || key.mode == FragmentMode::Image);
        const uint8_t rgba[4] = {call.color.r, call.color.g, call.color.b, 255};
        const float* pm = transform_.combined();
        const bool clipping = clipper_.active();
        if (clipping && clipperSerial_ != transform_.serial()) {
            clipper_.useModelview(transform_.modelview());
            clipperSerial_ = transform_.serial();
        }
        for (int triangle = 0; triangle < triangles; ++triangle) {
            PlaneClipVertex corners[kMaxClippedCorners];
            for (int c = 0; c < 3; ++c) {
                const int i = sourceIndex(call.primitive, 3 * triangle + c);
                corners[c] = {call.xy[2 * i], call.xy[2 * i + 1], textured ? call.st[2 * i] : 0.0f,
                              textured ? call.st[2 * i + 1] : 0.0f};
            }
            int n = 3;
            if (clipping && !clipper_.keepsWhole(corners)) {
                PlaneClipVertex kept[kMaxClippedCorners];
                n = clipper_.clipTriangle(corners, kept);
                std::memcpy(corners, kept, sizeof kept);
            }
            for (int k = 1; k + 1 < n; ++k) {
                GridCorner fan[3] = {toClip(pm, corners[0]), toClip(pm, corners[k]), toClip(pm, corners[k + 1])};
                if (onGrid)
                    grid_.snapTexturedTriangle(fan);
                for (const GridCorner& corner : fan)
                    pending_.push_back({corner.x, corner.y, corner.s, corner.t, {rgba[0], rgba[1], rgba[2], rgba[3]}});
            }
        }
        if (!batching())
            flush();
    }

private:
    // What the library has switched on and selected, applied at the next draw.
    struct Switches {
        bool on[5];
        TextureHandle textures[2];
    };
    struct Uniforms {
        float patternWidth;
        int patternLinear;
    };

    void forget()
    {
        gl_ = {};
        for (GlesProgram& program : programs_)
            program = {};
        buffer_ = vertexArray_ = 0;
        bufferCapacity_ = bufferUsed_ = 0;
        started_ = false;
        textures_.clear();
        pending_.clear();
        switches_ = {};
        clipper_ = {};
    }

    const char* checkVersion()
    {
        const char* version = reinterpret_cast<const char*>(gl_.GetString(GL_VERSION));
        if (!version) {
            error_ = "no current GL context";
            return error_.c_str();
        }
        const bool es = std::strncmp(version, "OpenGL ES ", 10) == 0;
        const char major = es ? version[10] : version[0];
        const bool fits = dialect_ == GlslDialect::Es100   ? es && major >= '2'
                          : dialect_ == GlslDialect::Es300 ? es && major >= '3'
                                                           : !es && (major > '3' || (major == '3' && version[2] >= '3'));
        if (fits)
            return nullptr;
        error_ = std::string("the context (") + version + ") cannot serve the " + name() + " backend";
        return error_.c_str();
    }

    // ES 2 samples coverage as GL_ALPHA; ES 3 and core as one red channel.
    GLint coverageInternalFormat() const { return dialect_ == GlslDialect::Es100 ? GL_ALPHA : GL_R8; }
    GLenum coverageFormat() const { return dialect_ == GlslDialect::Es100 ? GL_ALPHA : GL_RED; }

    // ES 2 cannot repeat a texture whose width is not a power of two.
    bool shaderWraps(const TextureInfo& info) const
    {
        return info.format == TextureFormat::PatternAlpha && dialect_ == GlslDialect::Es100;
    }

    static GLint unitOf(TextureSlot slot) { return slot == TextureSlot::Pattern ? kPatternUnit : kSurfaceUnit; }

    TextureInfo* selected(TextureSlot slot)
    {
        auto found = textures_.find(switches_.textures[static_cast<int>(slot)]);
        return found == textures_.end() ? nullptr : &found->second;
    }

    void bindToUnit(GLint unit, GLuint texture)
    {
        if (activeUnit_ != unit) {
            gl_.ActiveTexture(GL_TEXTURE0 + unit);
            activeUnit_ = unit;
        }
        if (boundUnits_[unit] != texture) {
            gl_.BindTexture(GL_TEXTURE_2D, texture);
            boundUnits_[unit] = texture;
        }
    }

    DrawKey currentKey() const
    {
        const bool* on = switches_.on;
        DrawKey key = {FragmentMode::Flat, 0, 0, on[static_cast<int>(Capability::Blend)], false};
        if (dialect_ == GlslDialect::Core330)
            key.antialias = on[static_cast<int>(Capability::Antialias)];
        const TextureHandle surface = switches_.textures[static_cast<int>(TextureSlot::Surface)];
        const TextureHandle pattern = switches_.textures[static_cast<int>(TextureSlot::Pattern)];
        if (on[static_cast<int>(Capability::SurfaceTexture)] && surface) {
            auto found = textures_.find(surface);
            const bool image = found != textures_.end() && found->second.format == TextureFormat::ImageRgba;
            key.mode = image ? FragmentMode::Image : FragmentMode::Glyph;
            key.surface = surface;
        } else if (on[static_cast<int>(Capability::PatternTexture)] && pattern) {
            key.mode = FragmentMode::Pattern;
            key.pattern = pattern;
        }
        return key;
    }

    static GridCorner toClip(const float* pm, const PlaneClipVertex& corner)
    {
        float v[4] = {corner.x, corner.y, 0.0f, 1.0f};
        transformVertex(pm, v);
        return {v[0] / v[3], v[1] / v[3], corner.s, corner.t};
    }

    void bindVertexBuffer()
    {
        if (useVertexArray_)
            gl_.BindVertexArray(vertexArray_);
        gl_.BindBuffer(GL_ARRAY_BUFFER, buffer_);
        const GLsizei stride = sizeof(Vertex);
        gl_.EnableVertexAttribArray(kPositionAttribute);
        gl_.EnableVertexAttribArray(kTexCoordAttribute);
        gl_.EnableVertexAttribArray(kColorAttribute);
        gl_.VertexAttribPointer(kPositionAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(offsetof(Vertex, x)));
        gl_.VertexAttribPointer(kTexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(offsetof(Vertex, s)));
        gl_.VertexAttribPointer(kColorAttribute, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                                reinterpret_cast<const void*>(offsetof(Vertex, rgba)));
    }

    void applyKey(const DrawKey& key)
    {
        if (key.blend != blendOn_) {
            key.blend ? gl_.Enable(GL_BLEND) : gl_.Disable(GL_BLEND);
            blendOn_ = key.blend;
        }
        if (dialect_ == GlslDialect::Core330 && key.antialias != multisampleOn_) {
            key.antialias ? gl_.Enable(kGlMultisample) : gl_.Disable(kGlMultisample);
            multisampleOn_ = key.antialias;
        }
        const int mode = static_cast<int>(key.mode);
        if (program_ != mode) {
            gl_.UseProgram(programs_[mode].name);
            program_ = mode;
        }
        Uniforms wanted = {0.0f, 0};
        if (key.mode == FragmentMode::Pattern) {
            bindToUnit(kPatternUnit, key.pattern);
            auto info = textures_.find(key.pattern);
            if (info != textures_.end() && shaderWraps(info->second)) {
                wanted.patternWidth = static_cast<float>(info->second.width);
                wanted.patternLinear = info->second.linear ? 1 : 0;
            }
        } else if (key.mode == FragmentMode::Image || key.mode == FragmentMode::Glyph) {
            bindToUnit(kSurfaceUnit, key.surface);
        }
        if (key.mode != FragmentMode::Pattern)
            return;
        Uniforms& held = uniforms_[mode];
        if (wanted.patternWidth != held.patternWidth)
            gl_.Uniform1f(programs_[mode].patternWidth, wanted.patternWidth);
        if (wanted.patternLinear != held.patternLinear)
            gl_.Uniform1i(programs_[mode].patternLinear, wanted.patternLinear);
        held = wanted;
    }

    void flush()
    {
        if (pending_.empty())
            return;
        applyKey(pendingKey_);
        if (!useVertexArray_)
            gl_.BindBuffer(GL_ARRAY_BUFFER, buffer_);
        // Draws append to one store; a full store is replaced by a fresh one
        // (orphaned), so that the GL never waits for a draw to finish with it.
        const size_t count = pending_.size();
        const size_t capacity = std::max(kStreamBufferVertices, count);
        if (bufferUsed_ + count > bufferCapacity_ || bufferCapacity_ < capacity) {
            bufferCapacity_ = capacity;
            gl_.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(capacity * sizeof(Vertex)), nullptr,
                           GL_STREAM_DRAW);
            bufferUsed_ = 0;
        }
        gl_.BufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(bufferUsed_ * sizeof(Vertex)),
                          static_cast<GLsizeiptr>(count * sizeof(Vertex)), pending_.data());
        gl_.DrawArrays(GL_TRIANGLES, static_cast<GLint>(bufferUsed_), static_cast<GLsizei>(count));
        bufferUsed_ += count;
        countDraw(static_cast<int>(count));
        pending_.clear();
    }

    GlslDialect dialect_;
    ProcLoader loader_;
    GlesApi gl_;
    GlesProgram programs_[kFragmentModeCount];
    GLuint buffer_ = 0;
    size_t bufferCapacity_ = 0, bufferUsed_ = 0;  // in vertices
    GLuint vertexArray_ = 0;
    bool useVertexArray_ = false;
    bool started_ = false;
    std::string error_;

    Transform transform_;
    PlaneClipper clipper_;
    SubpixelGrid grid_;
    unsigned clipperSerial_ = 0;
    int viewportWidth_ = 0, viewportHeight_ = 0;

    std::unordered_map<GLuint, TextureInfo> textures_;
    Switches switches_ = {};
    std::vector<Vertex> pending_;
    DrawKey pendingKey_ = {};

    // What the GL holds.
    bool blendOn_ = false;
    bool multisampleOn_ = false;
    int program_ = -1;  // the FragmentMode whose program is in use
    Uniforms uniforms_[kFragmentModeCount] = {};
    GLuint boundUnits_[2] = {~0u, ~0u};
    GLint activeUnit_ = -1;
};

}  // namespace

std::unique_ptr<Backend> makeGlesBackend(GlslDialect dialect, ProcLoader loader)
{
    return std::make_unique<GlesBackend>(dialect, loader);
}
