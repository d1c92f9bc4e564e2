#include "gl1_backend.h"

#include <cstdlib>

#include "batch.h"
#include "gl.h"
#include "gl_state.h"
#include "backends/shared/transform.h"

namespace {

const GLenum kClipPlanes[kClipPlaneCount] = {GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE2, GL_CLIP_PLANE3};

// Without a current context some drivers report an error on every call, so
// the loop is bounded.
constexpr int kMaxQueuedGlErrors = 64;

GLenum target(TextureSlot slot) { return slot == TextureSlot::Pattern ? GL_TEXTURE_1D : GL_TEXTURE_2D; }

GLenum mode(Primitive primitive)
{
    switch (primitive) {
    case Primitive::Triangles: return GL_TRIANGLES;
    case Primitive::TriangleStrip: return GL_TRIANGLE_STRIP;
    case Primitive::TriangleFan: return GL_TRIANGLE_FAN;
    }
    return GL_TRIANGLES;
}

void deleteIfTexture(GLuint name)
{
    if (name != 0 && glIsTexture(name))
        gls::deleteTexture(name);
}

// A dash pattern as a 1-D GL_ALPHA texture.
GLuint createPattern(int width, const uint8_t* texels)
{
    GLuint name = 0;
    drainGlErrors();
    glGenTextures(1, &name);
    gls::bindTextureNow(GL_TEXTURE_1D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage1D(GL_TEXTURE_1D, 0, GL_ALPHA, width, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels);
    // Selecting the pattern binds it again: the upload's binding is not the
    // selection's.
    gls::forgetBinding(GL_TEXTURE_1D);
    if (glGetError() != GL_NO_ERROR) {
        deleteIfTexture(name);
        return 0;
    }
    countTextureUpload();
    return name;
}

GLuint createImage(int width, int height, const uint8_t* texels)
{
    GLuint name = 0;
    drainGlErrors();
    glGenTextures(1, &name);
    gls::bindTextureNow(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    if (glGetError() == GL_NO_ERROR) {
        countTextureUpload();
        return name;
    }
    deleteIfTexture(name);
    return 0;
}

// An all-zero alpha texture, left bound.
GLuint createGlyphPage(int width, int height)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    gls::bindTextureNow(GL_TEXTURE_2D, name);
    void* zeros = std::calloc(static_cast<size_t>(width) * height, 1);
    if (!zeros) {
        gls::deleteTexture(name);
        return 0;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    drainGlErrors();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, zeros);
    const GLenum error = glGetError();
    std::free(zeros);
    if (error != GL_NO_ERROR) {
        gls::deleteTexture(name);
        return 0;
    }
    countTextureUpload();
    return name;
}

class Gl1Backend : public Backend {
public:
    const char* name() const override { return "gl1"; }

    const char* start() override
    {
        releaseBatch();
        gls::forgetAll();
        batchForgetGlState();
        return nullptr;
    }

    void settle() override
    {
        flushBatch();
        batchRestoreArrays();
    }

    void stop() override
    {
        releaseBatch();
        gls::forgetAll();  // names of this context mean nothing in the next
    }

    // Between frames the host may have changed anything, so the state cache
    // starts from the baseline set here.
    void beginFrame() override
    {
        flushBatch();
        batchRestoreArrays();
        gls::forgetAll();
        batchForgetGlState();
        glDisable(GL_STENCIL_TEST);
        glDisable(GL_DEPTH_TEST);
        glShadeModel(GL_FLAT);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_TEXTURE_1D);
        glDisable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glDisable(GL_BLEND);
        glEnableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_MULTISAMPLE);
        gls::noteFrameBaseline();
    }

    // Batched draws reach the GL here at the latest, and the GL is left as
    // exact mode leaves it. In exact mode there is nothing to do.
    void endFrame() override
    {
        if (batching())
            syncState();
    }

    void syncState() override
    {
        flushBatch();
        batchRestoreArrays();
        gls::applyRecorded();
    }

    int drainErrors() override { return drainGlErrors(); }

    void setProjection(int width, int height, const double box[6], int quarterTurns) override
    {
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        if (quarterTurns & 3) {
            // Formed as the GL forms glOrtho, then turned exactly.
            Transform turned;
            turned.setOrtho(box, quarterTurns);
            glLoadMatrixf(turned.projection());
        } else {
            glLoadIdentity();
            glOrtho(box[0], box[1], box[2], box[3], box[4], box[5]);
        }
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    void clearFrame(const float rgba[4]) override
    {
        glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }

    void clearStencil() override { glClear(GL_STENCIL_BUFFER_BIT); }

    bool readPixels(int width, int height, uint8_t* rgba) override
    {
        flushBatch();
        drainGlErrors();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return glGetError() == GL_NO_ERROR;
    }

    void getModelview(float out[16]) override
    {
        glGetFloatv(GL_MODELVIEW_MATRIX, out);
        batchNoteModelview(out);
    }

    void loadModelview(const float matrix[16]) override
    {
        batchMatrixWillChange();
        glLoadMatrixf(matrix);
        batchNoteModelview(matrix);
    }

    void translate(float x, float y) override
    {
        batchMatrixWillChange();
        glTranslatef(x, y, 0.0f);
    }

    void rotate(float degrees) override
    {
        batchMatrixWillChange();
        glRotatef(degrees, 0.0f, 0.0f, 1.0f);
    }

    void scale(float sx, float sy) override
    {
        batchMatrixWillChange();
        glScalef(sx, sy, 1.0f);
    }

    void clipWillChange() override { batchClipWillChange(); }

    void setClipPlane(int index, const double equation[4]) override { glClipPlane(kClipPlanes[index], equation); }

    void enableClipPlane(int index, bool on) override
    {
        if (on)
            glEnable(kClipPlanes[index]);
        else
            glDisable(kClipPlanes[index]);
    }

    void setStencil(StencilMode mode, int ref) override
    {
        if (mode == StencilMode::Write) {
            glStencilFunc(GL_NEVER, ref, ~0u);
            glStencilOp(GL_REPLACE, GL_KEEP, GL_KEEP);
        } else {
            glStencilFunc(GL_EQUAL, ref, ~0u);
            glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        }
        glEnable(GL_STENCIL_TEST);
    }

    void disableStencil() override { glDisable(GL_STENCIL_TEST); }

    int maxTextureSide() override
    {
        GLint side = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
        return side;
    }

    TextureHandle createTexture(TextureFormat format, int width, int height, const uint8_t* texels) override
    {
        switch (format) {
        case TextureFormat::PatternAlpha: return createPattern(width, texels);
        case TextureFormat::ImageRgba: return createImage(width, height, texels);
        case TextureFormat::GlyphAlpha: return createGlyphPage(width, height);
        }
        return 0;
    }

    void updateTexture(TextureHandle texture, int x, int y, int w, int h, const uint8_t* texels) override
    {
        // Draws collected earlier come first; the GL itself says what is bound.
        flushBatch();
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        if (static_cast<GLuint>(bound) != texture)
            glBindTexture(GL_TEXTURE_2D, texture);
        gls::noteBound(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_ALPHA, GL_UNSIGNED_BYTE, texels);
        countTextureUpload();
    }

    void deleteTexture(TextureHandle texture) override { deleteIfTexture(texture); }

    void bindTexture(TextureSlot slot, TextureHandle texture) override { gls::bindTexture(target(slot), texture); }

    void setTextureFilter(TextureSlot slot, TextureFilter filter) override
    {
        const GLint value = filter == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST;
        gls::texParameter(target(slot), GL_TEXTURE_MIN_FILTER, value);
        gls::texParameter(target(slot), GL_TEXTURE_MAG_FILTER, value);
    }

    void setTextureWrap(TextureSlot slot, TextureWrap wrap) override
    {
        const GLint value = wrap == TextureWrap::Repeat ? GL_REPEAT : GL_CLAMP;
        gls::texParameter(target(slot), GL_TEXTURE_WRAP_S, value);
        gls::texParameter(target(slot), GL_TEXTURE_WRAP_T, value);
    }

    void setCapability(Capability capability, bool on) override
    {
        switch (capability) {
        case Capability::Blend: return on ? gls::enable(GL_BLEND) : gls::disable(GL_BLEND);
        case Capability::PatternTexture: return on ? gls::enable(GL_TEXTURE_1D) : gls::disable(GL_TEXTURE_1D);
        case Capability::SurfaceTexture: return on ? gls::enable(GL_TEXTURE_2D) : gls::disable(GL_TEXTURE_2D);
        case Capability::TexCoords: return on ? gls::enableTexCoordArray() : gls::disableTexCoordArray();
        case Capability::Antialias: return on ? gls::enable(GL_MULTISAMPLE) : gls::disable(GL_MULTISAMPLE);
        }
    }

    void draw(const DrawCall& call) override
    {
        if (batching()) {
            batchDraw(mode(call.primitive), call.xy, call.st, call.count, call.color);
            return;
        }
        if (call.untinted) {
            glColor4f(1, 1, 1, 1);
            glVertexPointer(2, GL_FLOAT, 0, call.xy);
            glTexCoordPointer(2, GL_FLOAT, 0, call.st);
        } else {
            if (call.st)
                glTexCoordPointer(2, GL_FLOAT, 0, call.st);
            // One colour call a part, even when it repeats the current
            // colour: the per-part call sequence is part of the library's
            // contract.
            glColor3ub(call.color.r, call.color.g, call.color.b);
            glVertexPointer(2, GL_FLOAT, 0, call.xy);
        }
        glDrawArrays(mode(call.primitive), 0, call.count);
        countDraw(call.count);
    }
};

}  // namespace

int drainGlErrors()
{
    int errors = 0;
    while (errors < kMaxQueuedGlErrors && glGetError() != GL_NO_ERROR)
        ++errors;
    return errors;
}

std::unique_ptr<Backend> makeGl1Backend() { return std::make_unique<Gl1Backend>(); }
