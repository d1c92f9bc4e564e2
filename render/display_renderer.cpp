#include "display_renderer.h"

#include <GL/gl.h>

#include <clocale>
#include <cstdio>
#include <ctime>

#include "gr.h"
#include "gr_display.h"
#include "image/decoder_startup.h"

const char* const kImageLoadFailedText = "Ошибка загрузки символов.";
const char* const kFontLoadFailedText = "Ошибка загрузки шрифтов.";
const char* const kErrorCaption = "Ошибка";

std::string startupFailureLine(const char* text, const char* detail)
{
    std::string line = std::string(kErrorCaption) + ": " + text;
    if (detail && *detail)
        line += std::string(" ") + detail;
    return line;
}

namespace {

// True until the first paint of the program run, which computes the initial
// animated values even while paused.
bool firstPaint = true;

constexpr float kScratchGrowth = 1.5f;

}  // namespace

bool DisplayRenderer::Init(PixelFormatProbe& probe)
{
    if (!startImageDecoder())
        return false;
    surface_ = nullptr;
    hasContext_ = false;
    if (!formats_.Probe(probe))
        return false;
    std::setlocale(LC_CTYPE, "");
    grSeedRandom(static_cast<uint32_t>(std::time(nullptr)));
    return true;
}

bool DisplayRenderer::Create(RenderSurface* surface, int samples, const GrTables* tables)
{
    if (!surface || !surface->Bind())
        return false;
    surface_ = surface;
    const int format = formats_.FormatFor(samples);
    if (format < 0 || !surface->CreateContext(format))
        return false;
    hasContext_ = true;
    if (!surface->MakeCurrent())
        return false;

    grUseTables(tables ? tables : display_.descriptor->tables);
    grSetImageFolder(display_.imageFolder.empty() ? nullptr : display_.imageFolder.c_str());
    const int result = grInit(kScratchGrowth);
    if (result == GR_INIT_OK)
        return true;
    if (result == GR_INIT_IMAGES_FAILED || result == GR_INIT_FONTS_FAILED) {
        const bool images = result == GR_INIT_IMAGES_FAILED;
        const char* text = images ? kImageLoadFailedText : kFontLoadFailedText;
        const char* detail = images ? grImageError() : grFontError();
        // Whatever the surface shows, a terminal or a log learns the file.
        std::fprintf(stderr, "%s\n", startupFailureLine(text, detail).c_str());
        surface->ReportError(text, detail, kErrorCaption);
    }
    Destroy();
    return false;
}

void DisplayRenderer::Destroy()
{
    // The library deletes its textures in the context, so it goes first.
    if (hasContext_)
        grShutdown();
    if (!surface_)
        return;
    if (hasContext_) {
        surface_->DeleteContext();
        hasContext_ = false;
    }
    if (surface_->Exists()) {
        surface_->Release();
        surface_ = nullptr;
    }
}

void DisplayRenderer::Resize(int width, int height)
{
    if (hasContext_)
        setDisplayProjection(width, height);
}

void setDisplayProjection(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kDisplayMargin, width - kDisplayMargin, -kDisplayMargin, height - kDisplayMargin, 1.0, -1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Puts primitives' half-unit edges clear of pixel centres.
    glTranslatef(0.375f, 0.375f, 0.0f);
}

void clearFrame()
{
    glClearColor(0.082f, 0.082f, 0.082f, 0.0f);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void DisplayRenderer::Paint(bool running)
{
    if (firstPaint || running)
        display_.descriptor->updateDisplayModel();
    firstPaint = false;
    if (!hasContext_)
        return;
    clearFrame();
    grBeginFrame();
    display_.descriptor->drawDisplay();
    grEndFrame();
    surface_->SwapBuffers();
}
