#include <cmath>

#include "image/image_table.h"
#include "pattern.h"
#include "scratch.h"
#include "state.h"
#include "text/font_table.h"

int grInit(float scratchGrowth)
{
    // A new context: nothing the library knew of the GL holds.
    if (!startBackend())
        return GR_INIT_BACKEND_FAILED;
    g_draw.matrixIndex = -1;
    g_draw.clip.halfPlaneActive = 0;
    g_draw.clip.rectActive = 0;
    g_draw.clip.stencilActive = 0;
    g_draw.clipIndex = -1;

    // A factor below 1 would leave a grown buffer smaller than asked for; a
    // huge or infinite one would ask for memory no one has.
    g_draw.scratchGrowth = scratchGrowth;
    if (!(scratchGrowth >= 1.0f && scratchGrowth <= GR_MAX_SCRATCH_GROWTH)) {
        g_draw.scratchGrowth = scratchGrowth > GR_MAX_SCRATCH_GROWTH ? GR_MAX_SCRATCH_GROWTH : 1.0f;
        ++g_draw.diagnostics.rejectedArguments;
    }
    freeScratch();

    if (patternTableInUse())
        clearPatternTextures(g_draw.patternTextures, g_draw.tables.patternCount);
    g_draw.pattern = nullptr;
    g_draw.patternTexture = nullptr;
    g_imageTable = {};  // names of an earlier context mean nothing in this one
    if (imageTableInUse() && !loadImages(g_draw.tables.images, g_draw.tables.imageCount, g_imageTable))
        return GR_INIT_IMAGES_FAILED;
    if (fontTableInUse() && !loadFontTable())
        return GR_INIT_FONTS_FAILED;
    return GR_INIT_OK;
}

// Releases whatever is held, whichever tables are selected now: tables
// swapped since grInit must not leak the textures made for the old ones.
void grShutdown()
{
    backend().settle();
    releasePatternTextures(g_draw.patternTextures, GR_MAX_PATTERNS);
    releaseImages(g_imageTable);
    releaseFontTable();
    g_draw.pattern = nullptr;
    g_draw.patternTexture = nullptr;
    freeScratch();
    backend().stop();
}

// Between frames the host may have changed anything, so the state cache
// starts from the baseline set here.
void grBeginFrame()
{
    backend().beginFrame();
    g_draw.antialias = 0;
    g_draw.pattern = nullptr;
    GR_CHECK_GL("begin frame");
}

// Batched draws reach the GL here at the latest, and the GL is left as
// exact mode leaves it. In exact mode there is nothing to do.
void grEndFrame()
{
    backend().endFrame();
    if (batching())
        GR_CHECK_GL("end frame");
}
