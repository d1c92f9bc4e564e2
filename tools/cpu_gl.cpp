#include "cpu_gl.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "backends/cpu/pixel_ops.h"

namespace {

constexpr int kStackDepth = 32;
constexpr int kPlanes = 4;
constexpr GLint kMaxTextureSide = 8192;

struct Matrix {
    float m[16];
};

constexpr Matrix kIdentity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

struct Stack {
    Matrix items[kStackDepth] = {kIdentity};
    int top = 0;
    Matrix& Top() { return items[top]; }
};

struct Array {
    GLint size = 2;
    const float* data = nullptr;
};

struct State {
    cpu::CpuBackend backend;
    Stack modelview, projection;
    Stack* current = &modelview;
    float color[4] = {1, 1, 1, 1};
    float clearColor[4] = {0, 0, 0, 0};
    int clearStencil = 0;
    bool blend = false, texture1D = false, texture2D = false, multisample = true, stencilTest = false;
    bool texCoordArray = false, colorArray = false;
    bool planeOn[kPlanes] = {};
    double planes[kPlanes][4] = {};
    GLenum stencilFunc = GL_ALWAYS;
    int stencilRef = 0;
    GLenum stencilFail = GL_KEEP;
    GLuint bound1D = 0, bound2D = 0;
    Array vertices, texCoords, colors;
    std::vector<float> xy;  // a batched draw's positions, taken to two coordinates
};

State& gl()
{
    static State state;
    return state;
}

void multiply(Matrix& target, const Matrix& by)
{
    Matrix out{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = target.m[row] * by.m[col * 4];
            for (int k = 1; k < 4; ++k)
                sum = sum + target.m[k * 4 + row] * by.m[col * 4 + k];
            out.m[col * 4 + row] = sum;
        }
    target = out;
}

uint8_t unorm(float f)
{
    const float c = f < 0 ? 0 : (f > 1 ? 1 : f);
    return static_cast<uint8_t>(std::lround(c * 255.0f));
}

uint32_t packed(const float* c) { return cpu::packRgba(unorm(c[0]), unorm(c[1]), unorm(c[2]), unorm(c[3])); }

void syncClipPlanes()
{
    State& s = gl();
    double on[kPlanes][4];
    int count = 0;
    for (int i = 0; i < kPlanes; ++i)
        if (s.planeOn[i])
            std::memcpy(on[count++], s.planes[i], sizeof on[0]);
    s.backend.SetClipPlanes(on, count);
}

void syncStencil()
{
    State& s = gl();
    cpu::StencilMode mode = cpu::StencilMode::Off;
    if (s.stencilTest)
        mode = s.stencilFunc == GL_NEVER && s.stencilFail == GL_REPLACE ? cpu::StencilMode::Write
                                                                          : cpu::StencilMode::Test;
    s.backend.SetStencil(mode, static_cast<uint8_t>(s.stencilRef));
}

void setCap(GLenum cap, bool on)
{
    State& s = gl();
    switch (cap) {
    case GL_BLEND:
        s.blend = on;
        break;
    case GL_TEXTURE_1D:
        s.texture1D = on;
        break;
    case GL_TEXTURE_2D:
        s.texture2D = on;
        break;
    case GL_MULTISAMPLE:
        s.multisample = on;
        break;
    case GL_STENCIL_TEST:
        s.stencilTest = on;
        syncStencil();
        break;
    case GL_CLIP_PLANE0:
    case GL_CLIP_PLANE1:
    case GL_CLIP_PLANE2:
    case GL_CLIP_PLANE3:
        s.planeOn[cap - GL_CLIP_PLANE0] = on;
        syncClipPlanes();
        break;
    default:
        break;
    }
}

GLuint* binding(GLenum target) { return target == GL_TEXTURE_1D ? &gl().bound1D : &gl().bound2D; }

cpu::Primitive primitiveOf(GLenum mode)
{
    if (mode == GL_TRIANGLE_STRIP)
        return cpu::Primitive::TriangleStrip;
    return mode == GL_TRIANGLE_FAN ? cpu::Primitive::TriangleFan : cpu::Primitive::Triangles;
}

}  // namespace

cpu::CpuBackend& cpuGlBackend() { return gl().backend; }

extern "C" {

void glMatrixMode(GLenum mode) { gl().current = mode == GL_PROJECTION ? &gl().projection : &gl().modelview; }
void glLoadIdentity() { gl().current->Top() = kIdentity; }
void glLoadMatrixf(const GLfloat* m) { std::memcpy(gl().current->Top().m, m, sizeof(Matrix)); }
void glPushMatrix()
{
    Stack& s = *gl().current;
    if (s.top + 1 < kStackDepth) {
        s.items[s.top + 1] = s.items[s.top];
        ++s.top;
    }
}
void glPopMatrix()
{
    if (gl().current->top > 0)
        --gl().current->top;
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    Matrix t = kIdentity;
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    multiply(gl().current->Top(), t);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    Matrix t = kIdentity;
    t.m[0] = x;
    t.m[5] = y;
    t.m[10] = z;
    multiply(gl().current->Top(), t);
}
void glRotatef(GLfloat degrees, GLfloat, GLfloat, GLfloat)
{
    // The library turns about z only.
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
    Matrix t = kIdentity;
    t.m[0] = c;
    t.m[1] = s;
    t.m[4] = -s;
    t.m[5] = c;
    multiply(gl().current->Top(), t);
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f)
{
    Matrix o = kIdentity;
    o.m[0] = static_cast<float>(2.0 / (r - l));
    o.m[5] = static_cast<float>(2.0 / (t - b));
    o.m[10] = static_cast<float>(-2.0 / (f - n));
    o.m[12] = static_cast<float>(-(r + l) / (r - l));
    o.m[13] = static_cast<float>(-(t + b) / (t - b));
    o.m[14] = static_cast<float>(-(f + n) / (f - n));
    multiply(gl().current->Top(), o);
}
void glGetFloatv(GLenum pname, GLfloat* params)
{
    const Matrix& m = pname == GL_PROJECTION_MATRIX ? gl().projection.Top() : gl().modelview.Top();
    std::memcpy(params, m.m, sizeof(Matrix));
}
void glGetIntegerv(GLenum pname, GLint* params)
{
    if (pname == GL_MAX_TEXTURE_SIZE)
        *params = kMaxTextureSide;
    else if (pname == GL_TEXTURE_BINDING_2D)
        *params = static_cast<GLint>(gl().bound2D);
    else
        *params = 0;
}
GLenum glGetError() { return GL_NO_ERROR; }
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glShadeModel(GLenum) {}
void glBlendFunc(GLenum, GLenum) {}
void glTexEnvi(GLenum, GLenum, GLint) {}
void glPixelStorei(GLenum, GLint) {}
void glFinish() { gl().backend.Finish(); }

void glEnable(GLenum cap) { setCap(cap, true); }
void glDisable(GLenum cap) { setCap(cap, false); }
GLboolean glIsEnabled(GLenum cap)
{
    if (cap >= GL_CLIP_PLANE0 && cap < GL_CLIP_PLANE0 + kPlanes)
        return gl().planeOn[cap - GL_CLIP_PLANE0] ? GL_TRUE : GL_FALSE;
    return GL_FALSE;
}
void glEnableClientState(GLenum array)
{
    if (array == GL_TEXTURE_COORD_ARRAY)
        gl().texCoordArray = true;
    if (array == GL_COLOR_ARRAY)
        gl().colorArray = true;
}
void glDisableClientState(GLenum array)
{
    if (array == GL_TEXTURE_COORD_ARRAY)
        gl().texCoordArray = false;
    if (array == GL_COLOR_ARRAY)
        gl().colorArray = false;
}

void glColor3ub(GLubyte r, GLubyte g, GLubyte b)
{
    float* c = gl().color;
    c[0] = r / 255.0f;
    c[1] = g / 255.0f;
    c[2] = b / 255.0f;
    c[3] = 1.0f;
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    float* c = gl().color;
    c[0] = r;
    c[1] = g;
    c[2] = b;
    c[3] = a;
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    float* c = gl().clearColor;
    c[0] = r;
    c[1] = g;
    c[2] = b;
    c[3] = a;
}
void glClearStencil(GLint s) { gl().clearStencil = s; }
void glClear(GLbitfield mask)
{
    State& s = gl();
    s.backend.Clear((mask & GL_COLOR_BUFFER_BIT) != 0, packed(s.clearColor), (mask & GL_STENCIL_BUFFER_BIT) != 0,
                    static_cast<uint8_t>(s.clearStencil));
}

void glClipPlane(GLenum plane, const GLdouble* equation)
{
    // Taken into eye space by the inverse of the current modelview (2-D
    // affine here), as the GL stores it.
    const float* m = gl().modelview.Top().m;
    const double det = static_cast<double>(m[0]) * m[5] - static_cast<double>(m[1]) * m[4];
    if (det == 0.0 || plane < GL_CLIP_PLANE0 || plane >= GL_CLIP_PLANE0 + kPlanes)
        return;
    const double ia = m[5] / det, ib = -m[1] / det, ic = -m[4] / det, id = m[0] / det;
    const double ie = -(ia * m[12] + ic * m[13]), iff = -(ib * m[12] + id * m[13]);
    double* out = gl().planes[plane - GL_CLIP_PLANE0];
    const double a = equation[0], b = equation[1];
    out[0] = a * ia + b * ib;
    out[1] = a * ic + b * id;
    out[2] = equation[2];
    out[3] = a * ie + b * iff + equation[3];
    syncClipPlanes();
}

void glStencilFunc(GLenum func, GLint ref, GLuint)
{
    gl().stencilFunc = func;
    gl().stencilRef = ref;
    syncStencil();
}
void glStencilOp(GLenum fail, GLenum, GLenum)
{
    gl().stencilFail = fail;
    syncStencil();
}

void glGenTextures(GLsizei n, GLuint* names)
{
    for (GLsizei i = 0; i < n; ++i)
        names[i] = gl().backend.CreateTexture();
}
void glDeleteTextures(GLsizei n, const GLuint* names)
{
    for (GLsizei i = 0; i < n; ++i) {
        gl().backend.DeleteTexture(names[i]);
        for (GLuint* bound : {&gl().bound1D, &gl().bound2D})
            if (*bound == names[i])
                *bound = 0;
    }
}
GLboolean glIsTexture(GLuint name) { return gl().backend.IsTexture(name) ? GL_TRUE : GL_FALSE; }
void glBindTexture(GLenum target, GLuint name) { *binding(target) = name; }
void glTexImage1D(GLenum, GLint, GLint, GLsizei width, GLint, GLenum format, GLenum, const void* texels)
{
    gl().backend.DefineTexture(gl().bound1D, format == GL_ALPHA ? cpu::TexelFormat::Alpha : cpu::TexelFormat::Rgba,
                               width, 1, texels, true);
}
void glTexImage2D(GLenum, GLint, GLint, GLsizei width, GLsizei height, GLint, GLenum format, GLenum,
                  const void* texels)
{
    gl().backend.DefineTexture(gl().bound2D, format == GL_ALPHA ? cpu::TexelFormat::Alpha : cpu::TexelFormat::Rgba,
                               width, height, texels, false);
}
void glTexSubImage2D(GLenum, GLint, GLint x, GLint y, GLsizei w, GLsizei h, GLenum, GLenum, const void* texels)
{
    gl().backend.UpdateTexture(gl().bound2D, x, y, w, h, texels);
}
void glTexParameteri(GLenum target, GLenum pname, GLint value)
{
    // What a texture was given last for each parameter, kept here.
    static std::vector<cpu::TextureFilter> filters;
    static std::vector<cpu::TextureWrap> wraps;
    const GLuint name = *binding(target);
    if (name >= filters.size()) {
        filters.resize(name + 1, cpu::TextureFilter::Linear);
        wraps.resize(name + 1, cpu::TextureWrap::Repeat);
    }
    if (pname == GL_TEXTURE_MAG_FILTER || pname == GL_TEXTURE_MIN_FILTER)
        filters[name] = value == GL_NEAREST ? cpu::TextureFilter::Nearest : cpu::TextureFilter::Linear;
    if (pname == GL_TEXTURE_WRAP_S)
        wraps[name] = value == GL_REPEAT ? cpu::TextureWrap::Repeat : cpu::TextureWrap::Clamp;
    gl().backend.SetTextureSampling(name, filters[name], wraps[name]);
}

void glVertexPointer(GLint size, GLenum, GLsizei, const void* data)
{
    gl().vertices = {size, static_cast<const float*>(data)};
}
void glTexCoordPointer(GLint size, GLenum, GLsizei, const void* data)
{
    gl().texCoords = {size, static_cast<const float*>(data)};
}
void glColorPointer(GLint size, GLenum, GLsizei, const void* data)
{
    gl().colors = {size, static_cast<const float*>(data)};
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    State& s = gl();
    if (!s.vertices.data || count < 3)
        return;
    s.backend.SetProjection(s.projection.Top().m);
    s.backend.SetModelview(s.modelview.Top().m);
    cpu::DrawState state;
    state.blend = s.blend;
    state.antialias = s.multisample;
    state.texture = s.texture2D ? s.bound2D : (s.texture1D ? s.bound1D : 0);
    const float* tex = s.texCoordArray && s.texCoords.data ? s.texCoords.data + 2 * first : nullptr;
    const float* xy = s.vertices.data + s.vertices.size * first;
    if (s.vertices.size != 2) {
        // Batched positions come in clip space with w = 1.
        s.xy.resize(static_cast<size_t>(count) * 2);
        for (GLsizei i = 0; i < count; ++i) {
            s.xy[2 * i] = xy[s.vertices.size * i];
            s.xy[2 * i + 1] = xy[s.vertices.size * i + 1];
        }
        xy = s.xy.data();
    }
    if (!s.colorArray || !s.colors.data) {
        s.backend.Draw(primitiveOf(mode), xy, tex, count, packed(s.color), state);
        return;
    }
    // A colour per vertex, shaded flat: each triangle takes its last
    // vertex's; runs of one colour are drawn together.
    const float* colors = s.colors.data + 4 * first;
    GLsizei run = 0;
    for (GLsizei i = 0; i + 2 < count; i += 3) {
        const uint32_t color = packed(colors + 4 * (i + 2));
        const bool last = i + 5 >= count;
        if (!last && packed(colors + 4 * (i + 5)) == color)
            continue;
        s.backend.Draw(cpu::Primitive::Triangles, xy + 2 * run, tex ? tex + 2 * run : nullptr, i + 3 - run, color,
                       state);
        run = i + 3;
    }
}

void glReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void* pixels)
{
    gl().backend.Finish();
    gl().backend.ReadPixels(static_cast<uint8_t*>(pixels));
}

}  // extern "C"
