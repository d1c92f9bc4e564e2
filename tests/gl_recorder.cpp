#include "gl_recorder.h"

#include <cmath>
#include <cstring>
#include <deque>

namespace rec {

std::ostream& operator<<(std::ostream& out, const Vec2& v);

namespace {

struct ArrayPointer {
    GLint size = 0;
    GLenum type = 0;
    GLsizei stride = 0;
    const void* pointer = nullptr;
};

// A set of GL enums that allocates nothing once built, so that switching
// capabilities on and off costs the recorder no allocation.
class EnumSet {
public:
    EnumSet() { values_.reserve(64); }
    void insert(GLenum v)
    {
        if (!count(v) && values_.size() < values_.capacity())
            values_.push_back(v);
    }
    void erase(GLenum v)
    {
        for (GLenum& x : values_)
            if (x == v) {
                x = values_.back();
                values_.pop_back();
                return;
            }
    }
    int count(GLenum v) const
    {
        for (GLenum x : values_)
            if (x == v)
                return 1;
        return 0;
    }
    std::set<GLenum> toSet() const { return {values_.begin(), values_.end()}; }

private:
    std::vector<GLenum> values_;
};

struct FakeGl {
    std::vector<Call> calls;
    std::vector<Draw> draws;
    EnumSet enabled;
    EnumSet clientStates;
    GrColor color = {0, 0, 0};
    ArrayPointer vertexPointer, texCoordPointer, colorPointer;
    // The GL's own matrix stacks, fixed in size like a GL's (no allocation).
    struct MatrixStack {
        float matrices[32][16];
        int depth = 0;
    } modelviewStack, projectionStack;
    GLenum matrixMode = GL_MODELVIEW;
    float modelview[16];
    float projection[16];
    GLuint nextTexture = 1;
    std::map<GLuint, Texture> textures;  // bound at least once
    std::set<GLuint> generated;
    GLuint bound1D = 0, bound2D = 0;
    std::deque<GLenum> errors;
    GLenum failTexImage = GL_NO_ERROR;
    GLint maxTextureSize = 2048;
    bool recording = true;
};

FakeGl& gl()
{
    static FakeGl state;
    return state;
}

void identity(float* m)
{
    std::memset(m, 0, 16 * sizeof(float));
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

// current := current * right (column-major, as GL post-multiplies).
void multiply(const float* right)
{
    float* m = gl().matrixMode == GL_PROJECTION ? gl().projection : gl().modelview;
    float out[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += m[k * 4 + row] * right[col * 4 + k];
            out[col * 4 + row] = sum;
        }
    std::memcpy(m, out, sizeof out);
}

float* currentMatrix() { return gl().matrixMode == GL_PROJECTION ? gl().projection : gl().modelview; }

void record(const char* name, std::initializer_list<double> args = {})
{
    if (!gl().recording)
        return;
    gl().calls.push_back({name, std::vector<double>(args)});
}

std::vector<Vec2> readPairs(const ArrayPointer& array, GLint first, GLsizei count)
{
    std::vector<Vec2> out;
    if (!array.pointer)
        return out;
    EXPECT_TRUE(array.size == 2 || array.size == 4) << "the library passes 2 or 4 components per vertex";
    EXPECT_EQ(array.type, static_cast<GLenum>(GL_FLOAT));
    EXPECT_EQ(array.stride, 0);
    const float* data = static_cast<const float*>(array.pointer);
    const int n = array.size;
    for (GLsizei i = 0; i < count; ++i)
        out.push_back({data[n * (first + i)], data[n * (first + i) + 1]});
    return out;
}

std::vector<float> readZw(const ArrayPointer& array, GLint first, GLsizei count)
{
    std::vector<float> out;
    if (!array.pointer || array.size != 4)
        return out;
    const float* data = static_cast<const float*>(array.pointer);
    for (GLsizei i = 0; i < count; ++i) {
        out.push_back(data[4 * (first + i) + 2]);
        out.push_back(data[4 * (first + i) + 3]);
    }
    return out;
}

// Float colours as glColor3ub would have given them, back to bytes.
std::vector<GrColor> readColors(const ArrayPointer& array, GLint first, GLsizei count)
{
    std::vector<GrColor> out;
    if (!array.pointer)
        return out;
    EXPECT_EQ(array.size, 4);
    EXPECT_EQ(array.type, static_cast<GLenum>(GL_FLOAT));
    const float* data = static_cast<const float*>(array.pointer);
    auto byte = [](float v) { return static_cast<uint8_t>(std::lround(v * 255)); };
    for (GLsizei i = 0; i < count; ++i) {
        const float* c = data + 4 * (first + i);
        EXPECT_EQ(c[3], 1.0f) << "opaque vertex colours";
        out.push_back({byte(c[0]), byte(c[1]), byte(c[2])});
    }
    return out;
}

GLuint& binding(GLenum target) { return target == GL_TEXTURE_1D ? gl().bound1D : gl().bound2D; }

Texture* boundTexture(GLenum target)
{
    auto it = gl().textures.find(binding(target));
    return it == gl().textures.end() ? nullptr : &it->second;
}

void texImage(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
              const void* pixels)
{
    if (gl().failTexImage != GL_NO_ERROR) {
        gl().errors.push_back(gl().failTexImage);
        gl().failTexImage = GL_NO_ERROR;
        return;
    }
    Texture* texture = boundTexture(target);
    if (!texture)
        return;
    const int bytes = format == GL_RGBA ? 4 : 1;
    texture->target = target;
    texture->internalFormat = internalFormat;
    texture->width = width;
    texture->height = height;
    const unsigned char* p = static_cast<const unsigned char*>(pixels);
    texture->texels.assign(p, p + static_cast<size_t>(width) * height * bytes);
}

// Writes one-byte (GL_ALPHA) texels into the bound texture, inside its bounds.
void texSubImage(GLenum target, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, const void* pixels)
{
    Texture* texture = boundTexture(target);
    if (!texture || format != GL_ALPHA || !pixels || x < 0 || y < 0 || x + w > texture->width ||
        y + h > texture->height)
        return;
    const unsigned char* p = static_cast<const unsigned char*>(pixels);
    for (GLsizei row = 0; row < h; ++row)
        std::memcpy(&texture->texels[static_cast<size_t>(y + row) * texture->width + x], p + row * w, w);
}

}  // namespace

void reset()
{
    gl() = FakeGl();
    identity(gl().modelview);
    identity(gl().projection);
    gl().clientStates.insert(GL_VERTEX_ARRAY);
}

void clearCalls()
{
    gl().calls.clear();
    gl().draws.clear();
}

const std::vector<Call>& calls() { return gl().calls; }

std::vector<std::string> callNames()
{
    std::vector<std::string> names;
    for (const Call& call : gl().calls)
        if (call.name != "glGetError")
            names.push_back(call.name);
    return names;
}

std::vector<Call> callsNamed(const std::string& name)
{
    std::vector<Call> out;
    for (const Call& call : gl().calls)
        if (call.name == name)
            out.push_back(call);
    return out;
}

const std::vector<Draw>& draws() { return gl().draws; }
bool isEnabled(GLenum cap) { return gl().enabled.count(cap) != 0; }
bool clientStateEnabled(GLenum array) { return gl().clientStates.count(array) != 0; }
const float* modelview() { return gl().modelview; }

const Texture* texture(GLuint name)
{
    auto it = gl().textures.find(name);
    return it == gl().textures.end() ? nullptr : &it->second;
}

int liveTextureCount() { return static_cast<int>(gl().textures.size()); }
void setRecording(bool on) { gl().recording = on; }
void failNextTexImage(GLenum error) { gl().failTexImage = error; }
void setMaxTextureSize(int side) { gl().maxTextureSize = side; }
void raiseError(GLenum error) { gl().errors.push_back(error); }

static ::testing::AssertionResult compareVertices(const char* what, const std::vector<Vec2>& actual,
                                                  const std::vector<Vec2>& expected, float tol)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure()
               << what << ": " << actual.size() << " vertices, expected " << expected.size();
    for (size_t i = 0; i < actual.size(); ++i)
        if (std::fabs(actual[i].x - expected[i].x) > tol || std::fabs(actual[i].y - expected[i].y) > tol)
            return ::testing::AssertionFailure() << what << " " << i << " is " << actual[i]
                                                 << ", expected " << expected[i];
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult isDraw(const Draw& draw, GLenum mode, GrColor color,
                                  const std::vector<Vec2>& vertices, float tol)
{
    if (draw.mode != mode)
        return ::testing::AssertionFailure() << "mode 0x" << std::hex << draw.mode << ", expected 0x" << mode;
    if (draw.color.r != color.r || draw.color.g != color.g || draw.color.b != color.b)
        return ::testing::AssertionFailure()
               << "colour (" << int(draw.color.r) << ", " << int(draw.color.g) << ", " << int(draw.color.b)
               << "), expected (" << int(color.r) << ", " << int(color.g) << ", " << int(color.b) << ")";
    return compareVertices("vertex", draw.vertices, vertices, tol);
}

::testing::AssertionResult isDraw(const Draw& draw, GLenum mode, GrColor color,
                                  std::initializer_list<Vec2> vertices, float tol)
{
    return isDraw(draw, mode, color, std::vector<Vec2>(vertices), tol);
}

::testing::AssertionResult hasTexCoords(const Draw& draw, std::initializer_list<Vec2> texCoords, float tol)
{
    return compareVertices("texture coordinate", draw.texCoords, std::vector<Vec2>(texCoords), tol);
}

::testing::AssertionResult atFrameBaseline()
{
    for (GLenum cap : {GL_BLEND, GL_TEXTURE_1D, GL_TEXTURE_2D})
        if (isEnabled(cap))
            return ::testing::AssertionFailure() << "capability 0x" << std::hex << cap << " left enabled";
    if (!clientStateEnabled(GL_VERTEX_ARRAY))
        return ::testing::AssertionFailure() << "vertex array left disabled";
    if (clientStateEnabled(GL_TEXTURE_COORD_ARRAY))
        return ::testing::AssertionFailure() << "texture-coordinate array left enabled";
    return ::testing::AssertionSuccess();
}

std::ostream& operator<<(std::ostream& out, const Vec2& v)
{
    return out << "(" << v.x << ", " << v.y << ")";
}

}  // namespace rec

using rec::gl;

// Recording starts clean in every test process.
static const bool kReset = (rec::reset(), true);

extern "C" {

void glEnable(GLenum cap) { rec::record("glEnable", {double(cap)}); gl().enabled.insert(cap); }
void glDisable(GLenum cap) { rec::record("glDisable", {double(cap)}); gl().enabled.erase(cap); }
GLboolean glIsEnabled(GLenum cap) { rec::record("glIsEnabled", {double(cap)}); return rec::isEnabled(cap); }

void glEnableClientState(GLenum array)
{
    rec::record("glEnableClientState", {double(array)});
    gl().clientStates.insert(array);
}

void glDisableClientState(GLenum array)
{
    rec::record("glDisableClientState", {double(array)});
    gl().clientStates.erase(array);
}

void glShadeModel(GLenum mode) { rec::record("glShadeModel", {double(mode)}); }
void glBlendFunc(GLenum s, GLenum d) { rec::record("glBlendFunc", {double(s), double(d)}); }
void glTexEnvi(GLenum t, GLenum p, GLint v) { rec::record("glTexEnvi", {double(t), double(p), double(v)}); }

void glColor3ub(GLubyte r, GLubyte g, GLubyte b)
{
    rec::record("glColor3ub", {double(r), double(g), double(b)});
    gl().color = {r, g, b};
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    rec::record("glColor4f", {r, g, b, a});
    auto byte = [](float v) { return static_cast<uint8_t>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255)); };
    gl().color = {byte(r), byte(g), byte(b)};
}

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer)
{
    rec::record("glVertexPointer", {double(size), double(type), double(stride)});
    gl().vertexPointer = {size, type, stride, pointer};
}

void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer)
{
    rec::record("glTexCoordPointer", {double(size), double(type), double(stride)});
    gl().texCoordPointer = {size, type, stride, pointer};
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    rec::record("glDrawArrays", {double(mode), double(first), double(count)});
    if (!gl().recording)
        return;
    rec::Draw draw;
    draw.mode = mode;
    draw.color = gl().color;
    draw.vertexArray = rec::clientStateEnabled(GL_VERTEX_ARRAY);
    draw.texCoordArray = rec::clientStateEnabled(GL_TEXTURE_COORD_ARRAY);
    if (draw.vertexArray)
        draw.vertices = rec::readPairs(gl().vertexPointer, first, count);
    if (draw.texCoordArray)
        draw.texCoords = rec::readPairs(gl().texCoordPointer, first, count);
    if (draw.vertexArray)
        draw.zw = rec::readZw(gl().vertexPointer, first, count);
    if (rec::clientStateEnabled(GL_COLOR_ARRAY))
        draw.colors = rec::readColors(gl().colorPointer, first, count);
    std::memcpy(draw.projection, gl().projection, sizeof draw.projection);
    draw.enabled = gl().enabled.toSet();
    draw.texture1D = gl().bound1D;
    draw.texture2D = gl().bound2D;
    std::memcpy(draw.modelview, gl().modelview, sizeof draw.modelview);
    gl().draws.push_back(std::move(draw));
}

void glColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer)
{
    rec::record("glColorPointer", {double(size), double(type), double(stride)});
    gl().colorPointer = {size, type, stride, pointer};
}

void glPushMatrix()
{
    rec::record("glPushMatrix");
    auto& stack = gl().matrixMode == GL_PROJECTION ? gl().projectionStack : gl().modelviewStack;
    if (stack.depth == 32) {
        gl().errors.push_back(GL_STACK_OVERFLOW);
        return;
    }
    std::memcpy(stack.matrices[stack.depth++], rec::currentMatrix(), 16 * sizeof(float));
}

void glPopMatrix()
{
    rec::record("glPopMatrix");
    auto& stack = gl().matrixMode == GL_PROJECTION ? gl().projectionStack : gl().modelviewStack;
    if (stack.depth == 0) {
        gl().errors.push_back(GL_STACK_UNDERFLOW);
        return;
    }
    std::memcpy(rec::currentMatrix(), stack.matrices[--stack.depth], 16 * sizeof(float));
}

void glMatrixMode(GLenum mode) { rec::record("glMatrixMode", {double(mode)}); gl().matrixMode = mode; }
void glLoadIdentity() { rec::record("glLoadIdentity"); rec::identity(rec::currentMatrix()); }

void glLoadMatrixf(const GLfloat* m)
{
    rec::record("glLoadMatrixf");
    std::memcpy(rec::currentMatrix(), m, 16 * sizeof(float));
}

void glGetFloatv(GLenum pname, GLfloat* params)
{
    rec::record("glGetFloatv", {double(pname)});
    if (pname == GL_MODELVIEW_MATRIX)
        std::memcpy(params, gl().modelview, 16 * sizeof(float));
    else if (pname == GL_PROJECTION_MATRIX)
        std::memcpy(params, gl().projection, 16 * sizeof(float));
}

void glGetIntegerv(GLenum pname, GLint* params)
{
    rec::record("glGetIntegerv", {double(pname)});
    *params = pname == GL_MAX_TEXTURE_SIZE ? gl().maxTextureSize : 0;
    if (pname == GL_TEXTURE_BINDING_2D)
        *params = static_cast<GLint>(gl().bound2D);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    rec::record("glTranslatef", {x, y, z});
    float m[16];
    rec::identity(m);
    m[12] = x;
    m[13] = y;
    m[14] = z;
    rec::multiply(m);
}

void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    rec::record("glScalef", {x, y, z});
    float m[16];
    rec::identity(m);
    m[0] = x;
    m[5] = y;
    m[10] = z;
    rec::multiply(m);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    rec::record("glRotatef", {angle, x, y, z});
    const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (len == 0)
        return;
    const double a = angle * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    const double ux = x / len, uy = y / len, uz = z / len;
    float m[16];
    rec::identity(m);
    m[0] = float(ux * ux * (1 - c) + c);
    m[1] = float(uy * ux * (1 - c) + uz * s);
    m[2] = float(ux * uz * (1 - c) - uy * s);
    m[4] = float(ux * uy * (1 - c) - uz * s);
    m[5] = float(uy * uy * (1 - c) + c);
    m[6] = float(uy * uz * (1 - c) + ux * s);
    m[8] = float(ux * uz * (1 - c) + uy * s);
    m[9] = float(uy * uz * (1 - c) - ux * s);
    m[10] = float(uz * uz * (1 - c) + c);
    rec::multiply(m);
}

void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f)
{
    rec::record("glOrtho", {l, r, b, t, n, f});
}

void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { rec::record("glViewport", {double(x), double(y), double(w), double(h)}); }

void glGenTextures(GLsizei n, GLuint* names)
{
    rec::record("glGenTextures", {double(n)});
    for (GLsizei i = 0; i < n; ++i) {
        names[i] = gl().nextTexture++;
        gl().generated.insert(names[i]);
    }
}

void glBindTexture(GLenum target, GLuint name)
{
    rec::record("glBindTexture", {double(target), double(name)});
    rec::binding(target) = name;
    if (name != 0 && gl().generated.count(name))
        gl().textures[name].target = target;
}

void glDeleteTextures(GLsizei n, const GLuint* names)
{
    rec::record("glDeleteTextures", {double(n), n > 0 ? double(names[0]) : 0.0});
    for (GLsizei i = 0; i < n; ++i) {
        gl().textures.erase(names[i]);
        gl().generated.erase(names[i]);
        if (gl().bound1D == names[i])
            gl().bound1D = 0;
        if (gl().bound2D == names[i])
            gl().bound2D = 0;
    }
}

GLboolean glIsTexture(GLuint name)
{
    rec::record("glIsTexture", {double(name)});
    return gl().textures.count(name) ? GL_TRUE : GL_FALSE;
}

void glTexImage1D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLint border,
                  GLenum format, GLenum type, const void* pixels)
{
    rec::record("glTexImage1D", {double(target), double(level), double(internalFormat), double(width),
                                 double(border), double(format), double(type)});
    rec::texImage(target, internalFormat, width, 1, format, pixels);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels)
{
    rec::record("glTexImage2D", {double(target), double(level), double(internalFormat), double(width),
                                 double(height), double(border), double(format), double(type)});
    rec::texImage(target, internalFormat, width, height, format, pixels);
}

void glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format,
                     GLenum type, const void* pixels)
{
    rec::record("glTexSubImage2D", {double(target), double(level), double(x), double(y), double(w),
                                    double(h), double(format), double(type)});
    rec::texSubImage(target, x, y, w, h, format, pixels);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
    rec::record("glTexParameteri", {double(target), double(pname), double(param)});
    if (rec::Texture* texture = rec::boundTexture(target))
        texture->parameters[pname] = param;
}

void glPixelStorei(GLenum pname, GLint param) { rec::record("glPixelStorei", {double(pname), double(param)}); }

GLenum glGetError()
{
    rec::record("glGetError");
    if (gl().errors.empty())
        return GL_NO_ERROR;
    const GLenum error = gl().errors.front();
    gl().errors.pop_front();
    return error;
}

void glClipPlane(GLenum plane, const GLdouble* equation)
{
    rec::record("glClipPlane", {double(plane), equation[0], equation[1], equation[2], equation[3]});
}

void glStencilFunc(GLenum func, GLint ref, GLuint mask)
{
    rec::record("glStencilFunc", {double(func), double(ref), double(mask)});
}

void glStencilOp(GLenum fail, GLenum zfail, GLenum zpass)
{
    rec::record("glStencilOp", {double(fail), double(zfail), double(zpass)});
}

void glClear(GLbitfield mask) { rec::record("glClear", {double(mask)}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { rec::record("glClearColor", {r, g, b, a}); }
void glClearStencil(GLint s) { rec::record("glClearStencil", {double(s)}); }

// Nothing is drawn: the frame reads back black and transparent.
void glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void* pixels)
{
    rec::record("glReadPixels", {double(x), double(y), double(w), double(h), double(format), double(type)});
    if (format == GL_RGBA && type == GL_UNSIGNED_BYTE && w > 0 && h > 0)
        std::memset(pixels, 0, static_cast<size_t>(w) * h * 4);
}

}  // extern "C"
