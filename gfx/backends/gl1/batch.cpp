// Built with -ffp-contract=off: the clip-coordinate arithmetic must round
// after every multiply and every add, as the GL's own transform does, or
// batched pixels would differ from exact ones.
#include "batch.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "backends/backend.h"
#include "backends/shared/transform.h"
#include "gl_state.h"

namespace {

struct Batch {
    float* positions;  // x, y, z, w per vertex
    float* colors;     // r, g, b, a per vertex
    float* texCoords;  // s, t per vertex
    int capacity;      // in vertices
    int count;
    gls::DrawKey key;
    bool clipSpace;          // positions are clip coordinates
    unsigned serial;         // modelview the raw positions belong to
    float modelview[16];     // that matrix, once captured
    bool modelviewCaptured;
};

Batch g_batch = {};
unsigned g_serial = 0;  // bumped by every modelview change

float g_modelview[16];  // the GL's modelview as of g_modelviewSerial
unsigned g_modelviewSerial = 0;
bool g_modelviewKnown = false;
float g_projection[16];
bool g_projectionKnown = false;
int g_clipPlanes = -1;  // -1 not known, else whether any user clip plane is on

// Between batched draws of a frame the colour array stays on and the array
// pointers stay on the batch's arrays; anything else that draws, and the
// end of the frame, puts them back.
bool g_colorArrayOn = false;
bool g_vertexPointerSet = false;
bool g_texCoordPointerSet = false;

// The current colour glColor3ub would give: byte / 255 as a float.
float byteToFloat(uint8_t b) { return static_cast<float>(b) / 255.0f; }

bool reserve(int vertices)
{
    if (vertices <= g_batch.capacity)
        return true;
    if (vertices > kMaxBatchVertices)
        return false;
    int capacity = g_batch.capacity < 1024 ? 1024 : g_batch.capacity;
    while (capacity < vertices)
        capacity = capacity + capacity / 2;
    if (capacity > kMaxBatchVertices)
        capacity = kMaxBatchVertices;
    const size_t n = static_cast<size_t>(capacity);
    float* positions = static_cast<float*>(std::malloc(n * 4 * sizeof(float)));
    float* colors = static_cast<float*>(std::malloc(n * 4 * sizeof(float)));
    float* texCoords = static_cast<float*>(std::malloc(n * 2 * sizeof(float)));
    if (!positions || !colors || !texCoords) {
        std::free(positions);
        std::free(colors);
        std::free(texCoords);
        return false;
    }
    const size_t kept = static_cast<size_t>(g_batch.count);
    if (kept) {
        std::memcpy(positions, g_batch.positions, kept * 4 * sizeof(float));
        std::memcpy(colors, g_batch.colors, kept * 4 * sizeof(float));
        std::memcpy(texCoords, g_batch.texCoords, kept * 2 * sizeof(float));
    }
    std::free(g_batch.positions);
    std::free(g_batch.colors);
    std::free(g_batch.texCoords);
    g_batch.positions = positions;
    g_batch.colors = colors;
    g_batch.texCoords = texCoords;
    g_batch.capacity = capacity;
    g_vertexPointerSet = g_texCoordPointerSet = false;
    return true;
}

const float* projection()
{
    if (!g_projectionKnown) {
        glGetFloatv(GL_PROJECTION_MATRIX, g_projection);
        g_projectionKnown = true;
    }
    return g_projection;
}

const float* currentModelview()
{
    if (!g_modelviewKnown || g_modelviewSerial != g_serial) {
        glGetFloatv(GL_MODELVIEW_MATRIX, g_modelview);
        g_modelviewSerial = g_serial;
        g_modelviewKnown = true;
    }
    return g_modelview;
}

bool clipPlanesOn()
{
    if (g_clipPlanes < 0) {
        g_clipPlanes = 0;
        for (GLenum plane : {GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE2, GL_CLIP_PLANE3})
            if (glIsEnabled(plane))
                g_clipPlanes = 1;
    }
    return g_clipPlanes != 0;
}

void toClipSpace(const float* modelview, int first, int count)
{
    float pm[16];
    projectModelview(projection(), modelview, pm);
    for (int i = first; i < first + count; ++i)
        transformVertex(pm, g_batch.positions + 4 * i);
}

// The raw positions go to clip coordinates with the matrix they were made
// under, so that draws under other matrices can join them.
void makeClipSpace()
{
    if (g_batch.clipSpace)
        return;
    toClipSpace(g_batch.modelviewCaptured ? g_batch.modelview : currentModelview(), 0, g_batch.count);
    g_batch.clipSpace = true;
}

// Vertex k of the triangle list that mode makes of count vertices.
int sourceIndex(GLenum mode, int k)
{
    const int triangle = k / 3, corner = k % 3;
    if (mode == GL_TRIANGLE_STRIP) {
        // Odd triangles swap their first two vertices, keeping the winding.
        if (triangle % 2 == 1 && corner < 2)
            return triangle + 1 - corner;
        return triangle + corner;
    }
    if (mode == GL_TRIANGLE_FAN)
        return corner == 0 ? 0 : triangle + corner;
    return k;
}

int triangleVertices(GLenum mode, int count)
{
    if (mode == GL_TRIANGLES)
        return count - count % 3;
    return count >= 3 ? 3 * (count - 2) : 0;
}

// A draw that cannot be collected goes out on its own, after the batch.
void drawAlone(GLenum mode, const float* vertices, const float* texCoords, int count, const GrColor& color)
{
    flushBatch();
    batchRestoreArrays();
    gls::apply(gls::currentKey());
    glColor3ub(color.r, color.g, color.b);
    if (texCoords)
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glDrawArrays(mode, 0, count);
    countDraw(count);
}

void withIdentityMatrices(bool on)
{
    if (on) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    } else {
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
}

}  // namespace

void batchDraw(GLenum mode, const float* vertices, const float* texCoords, int count, const GrColor& color)
{
    if (mode != GL_TRIANGLES && mode != GL_TRIANGLE_STRIP && mode != GL_TRIANGLE_FAN) {
        drawAlone(mode, vertices, texCoords, count, color);
        return;
    }
    const int added = triangleVertices(mode, count);
    if (added == 0)
        return;
    const gls::DrawKey key = gls::currentKey();
    if (g_batch.count > 0 && (!(key == g_batch.key) || g_batch.count + added > kMaxBatchVertices))
        flushBatch();
    if (!reserve(g_batch.count + added)) {
        drawAlone(mode, vertices, texCoords, count, color);
        return;
    }
    if (g_batch.count == 0) {
        g_batch.key = key;
        g_batch.clipSpace = false;
        g_batch.serial = g_serial;
        g_batch.modelviewCaptured = false;
    } else if (g_batch.clipSpace || g_batch.serial != g_serial) {
        makeClipSpace();
    }

    const int first = g_batch.count;
    const float rgba[4] = {byteToFloat(color.r), byteToFloat(color.g), byteToFloat(color.b), 1.0f};
    const bool textured = (key.caps & gls::kCapTexCoordArray) != 0;
    for (int k = 0; k < added; ++k) {
        const int i = sourceIndex(mode, k);
        float* p = g_batch.positions + 4 * (first + k);
        p[0] = vertices[2 * i];
        p[1] = vertices[2 * i + 1];
        p[2] = 0.0f;
        p[3] = 1.0f;
        std::memcpy(g_batch.colors + 4 * (first + k), rgba, sizeof rgba);
        float* t = g_batch.texCoords + 2 * (first + k);
        t[0] = textured && texCoords ? texCoords[2 * i] : 0.0f;
        t[1] = textured && texCoords ? texCoords[2 * i + 1] : 0.0f;
    }
    g_batch.count += added;
    if (g_batch.clipSpace)
        toClipSpace(currentModelview(), first, added);
}

void flushBatch()
{
    if (g_batch.count == 0)
        return;
    if (!g_batch.clipSpace && g_batch.serial != g_serial)
        makeClipSpace();  // the modelview has moved on since these were made
    gls::apply(g_batch.key);
    if (g_batch.clipSpace)
        withIdentityMatrices(true);
    if (!g_colorArrayOn) {
        glEnableClientState(GL_COLOR_ARRAY);
        g_colorArrayOn = true;
    }
    if (!g_vertexPointerSet) {
        glColorPointer(4, GL_FLOAT, 0, g_batch.colors);
        glVertexPointer(4, GL_FLOAT, 0, g_batch.positions);
        g_vertexPointerSet = true;
    }
    if ((g_batch.key.caps & gls::kCapTexCoordArray) && !g_texCoordPointerSet) {
        glTexCoordPointer(2, GL_FLOAT, 0, g_batch.texCoords);
        g_texCoordPointerSet = true;
    }
    glDrawArrays(GL_TRIANGLES, 0, g_batch.count);
    if (g_batch.clipSpace)
        withIdentityMatrices(false);
    countDraw(g_batch.count);
    g_batch.count = 0;
}

void batchMatrixWillChange()
{
    if (g_batch.count > 0 && !g_batch.clipSpace && g_batch.serial == g_serial) {
        // Clip planes act in eye coordinates, which identity matrices
        // would change: such a batch is drawn under its own matrix.
        if (clipPlanesOn()) {
            flushBatch();
        } else if (!g_batch.modelviewCaptured) {
            std::memcpy(g_batch.modelview, currentModelview(), sizeof g_batch.modelview);
            g_batch.modelviewCaptured = true;
        }
    }
    ++g_serial;
}

void batchNoteModelview(const float* matrix)
{
    std::memcpy(g_modelview, matrix, sizeof g_modelview);
    g_modelviewSerial = g_serial;
    g_modelviewKnown = true;
}

void batchClipWillChange()
{
    flushBatch();
    g_clipPlanes = -1;
}

void batchRestoreArrays()
{
    if (g_colorArrayOn)
        glDisableClientState(GL_COLOR_ARRAY);
    g_colorArrayOn = false;
    g_vertexPointerSet = g_texCoordPointerSet = false;
}

void batchForgetGlState()
{
    g_projectionKnown = false;
    g_modelviewKnown = false;
    g_clipPlanes = -1;
}

void releaseBatch()
{
    g_colorArrayOn = false;
    g_vertexPointerSet = g_texCoordPointerSet = false;
    g_batch.count = 0;
    std::free(g_batch.positions);
    std::free(g_batch.colors);
    std::free(g_batch.texCoords);
    g_batch = {};
}
