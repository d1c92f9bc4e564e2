// The backend the library draws through, and the host's side of it: the
// choice, the frame's projection, its clear and its read-back.
#include <cmath>

#include "backends/backends.h"
#include "backends/shared/thread_count.h"
#include "gr_display.h"
#include "state.h"

namespace {

std::unique_ptr<Backend> g_backend;
const char* g_backendError = "";
bool g_batching = false;
bool g_upsideDown = false;
float g_pixelOffset = 0.0f;

}  // namespace

Backend& backend()
{
    if (!g_backend)
        g_backend = makeBackend("gl1", nullptr);
    return *g_backend;
}

bool batching() { return g_batching; }

void countDraw(int vertices)
{
    ++g_draw.counters.draws;
    g_draw.counters.vertices += vertices;
}

void countTextureUpload() { ++g_draw.counters.textureUploads; }

bool startBackend()
{
    const char* error = backend().start();
    g_backendError = error ? error : "";
    return !error;
}

void grSetBatching(bool on)
{
    backend().syncState();
    g_batching = on;
}

bool grBatching() { return g_batching; }

bool grSelectBackend(const char* name, GrProcLoader loader)
{
    if (!name)
        return false;
    std::unique_ptr<Backend> chosen = makeBackend(name, loader);
    if (!chosen)
        return false;
    g_backend = std::move(chosen);
    return true;
}

const char* grBackendName() { return backend().name(); }

const char* grBackendError() { return g_backendError; }

void grSetUpsideDown(bool on) { g_upsideDown = on; }

void grSetProjection(int width, int height, double originX, double originY, float pixelOffset)
{
    const GrPlacement placement = {originX, originY, 1.0, 0, 0};
    grSetPlacedProjection(width, height, &placement, pixelOffset);
}

bool grSetPlacedProjection(int width, int height, const GrPlacement* placement, float pixelOffset)
{
    if (!placement || width < 1 || height < 1 || !std::isfinite(placement->scale) || placement->scale <= 0.0 ||
        placement->rotation % 90 != 0 || placement->rotation < 0 || placement->rotation > 270)
        return false;
    // The box spans the view in turned display units; a mirror negates its
    // left and right, upside down swaps its bottom and top (negating the
    // projection's y terms exactly).
    const double scale = placement->scale;
    const double left = -placement->originX / scale;
    const double right = (width - placement->originX) / scale;
    const double bottom = -placement->originY / scale;
    const double top = (height - placement->originY) / scale;
    const double box[6] = {placement->mirrored ? -left : left, placement->mirrored ? -right : right,
                           g_upsideDown ? top : bottom, g_upsideDown ? bottom : top, 1.0, -1.0};
    backend().setProjection(width, height, box, placement->rotation / 90);
    backend().translate(pixelOffset, pixelOffset);
    g_pixelOffset = pixelOffset;
    return true;
}

float projectionPixelOffset() { return g_pixelOffset; }

bool grSetThreadCount(int threads)
{
    if (threads < 0 || threads > kMaxDrawingThreads)
        return false;
    setRequestedThreadCount(threads);
    return true;
}

int grThreadCount() { return drawingThreadCount(); }

void grClearFrame(float r, float g, float b, float a)
{
    const float rgba[4] = {r, g, b, a};
    backend().clearFrame(rgba);
}

bool grReadPixels(int width, int height, uint8_t* rgba)
{
    if (width <= 0 || height <= 0 || !rgba)
        return false;
    return backend().readPixels(width, height, rgba);
}
