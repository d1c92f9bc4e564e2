#include <cmath>

#include "batch.h"
#include "gl_state.h"
#include "image/image_table.h"
#include "pattern.h"
#include "scratch.h"
#include "state.h"
#include "text/font_table.h"

int grInit(float scratchGrowth)
{
    // A new context: nothing the library knew of the GL holds.
    releaseBatch();
    gls::forgetAll();
    batchForgetGlState();
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
    flushBatch();
    batchRestoreArrays();
    releasePatternTextures(g_draw.patternTextures, GR_MAX_PATTERNS);
    releaseImages(g_imageTable);
    releaseFontTable();
    g_draw.pattern = nullptr;
    g_draw.patternTexture = nullptr;
    freeScratch();
    releaseBatch();
    gls::forgetAll();  // names of this context mean nothing in the next
}

// Between frames the host may have changed anything, so the state cache
// starts from the baseline set here.
void grBeginFrame()
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
    g_draw.antialias = 0;
    glDisable(GL_MULTISAMPLE);
    g_draw.pattern = nullptr;
    gls::noteFrameBaseline();
    GR_CHECK_GL("begin frame");
}

// Batched draws reach the GL here at the latest, and the GL is left as
// exact mode leaves it. In exact mode there is nothing to do.
void grEndFrame()
{
    if (!batching())
        return;
    flushBatch();
    batchRestoreArrays();
    gls::applyRecorded();
    GR_CHECK_GL("end frame");
}
