#include "gl_state.h"

#include <initializer_list>

#include "batch.h"

namespace gls {

namespace {

// Textures whose parameters are tracked at once: the dash patterns, the
// atlas pages and the images in use; beyond that, calls are simply made.
constexpr int kTrackedTextures = 32;

struct TextureParameters {
    GLuint name;  // 0: slot free
    GLint minFilter, magFilter, wrapS, wrapT;  // 0: not known
};

struct Binding {
    GLuint name;
    bool known;
};

struct Cache {
    Binding actual1D, actual2D;  // what the GL holds
    GLuint wanted1D, wanted2D;   // what the library asked for: the GL's, except
                                 // in batched mode until the next draw
    unsigned actualCaps, wantedCaps;
    TextureParameters textures[kTrackedTextures];
    int nextSlot;
};

Cache g_cache = {};

Binding& actualBinding(GLenum target) { return target == GL_TEXTURE_1D ? g_cache.actual1D : g_cache.actual2D; }
GLuint& wantedBinding(GLenum target) { return target == GL_TEXTURE_1D ? g_cache.wanted1D : g_cache.wanted2D; }

unsigned capBit(GLenum cap)
{
    switch (cap) {
    case GL_BLEND: return kCapBlend;
    case GL_TEXTURE_1D: return kCapTexture1D;
    case GL_TEXTURE_2D: return kCapTexture2D;
    case GL_MULTISAMPLE: return kCapMultisample;
    default: return 0;
    }
}

TextureParameters* tracked(GLuint name, bool add)
{
    if (name == 0)
        return nullptr;
    for (TextureParameters& t : g_cache.textures)
        if (t.name == name)
            return &t;
    if (!add)
        return nullptr;
    TextureParameters& slot = g_cache.textures[g_cache.nextSlot];
    g_cache.nextSlot = (g_cache.nextSlot + 1) % kTrackedTextures;
    slot = {name, 0, 0, 0, 0};
    return &slot;
}

GLint* parameterSlot(TextureParameters& t, GLenum pname)
{
    switch (pname) {
    case GL_TEXTURE_MIN_FILTER: return &t.minFilter;
    case GL_TEXTURE_MAG_FILTER: return &t.magFilter;
    case GL_TEXTURE_WRAP_S: return &t.wrapS;
    case GL_TEXTURE_WRAP_T: return &t.wrapT;
    default: return nullptr;
    }
}

void issueBind(GLenum target, GLuint name)
{
    glBindTexture(target, name);
    actualBinding(target) = {name, true};
}

void bindUnlessBound(GLenum target, GLuint name)
{
    const Binding& actual = actualBinding(target);
    if (!actual.known || actual.name != name)
        issueBind(target, name);
}

unsigned withBit(unsigned bits, unsigned bit, bool on) { return on ? bits | bit : bits & ~bit; }

void setCap(unsigned bit, GLenum cap, bool on)
{
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
    g_cache.actualCaps = withBit(g_cache.actualCaps, bit, on);
}

void setTexCoordArray(bool on)
{
    if (on)
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    else
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    g_cache.actualCaps = withBit(g_cache.actualCaps, kCapTexCoordArray, on);
}

void record(unsigned bit, GLenum cap, bool on)
{
    g_cache.wantedCaps = withBit(g_cache.wantedCaps, bit, on);
    if (batching())
        return;
    if (bit == kCapTexCoordArray)
        setTexCoordArray(on);
    else
        setCap(bit, cap, on);
}

}  // namespace

void forgetAll() { g_cache = {}; }

void noteFrameBaseline()
{
    g_cache.actualCaps = 0;
    g_cache.wantedCaps = 0;
}

void bindTexture(GLenum target, GLuint name)
{
    wantedBinding(target) = name;
    if (!batching())
        bindUnlessBound(target, name);
}

void bindTextureNow(GLenum target, GLuint name)
{
    flushBatch();
    wantedBinding(target) = name;
    issueBind(target, name);
}

void noteBound(GLenum target, GLuint name) { actualBinding(target) = {name, true}; }

void forgetBinding(GLenum target) { actualBinding(target).known = false; }

void texParameter(GLenum target, GLenum pname, GLint value)
{
    const GLuint name = wantedBinding(target);
    if (name == 0) {
        // Nothing bound by the library: the call reaches whatever is bound.
        flushBatch();
        glTexParameteri(target, pname, value);
        return;
    }
    // Without a known binding the texture the call reaches is not known.
    const bool bindingKnown = batching() || actualBinding(target).known;
    TextureParameters* t = bindingKnown ? tracked(name, true) : nullptr;
    GLint* slot = t ? parameterSlot(*t, pname) : nullptr;
    if (slot && *slot == value)
        return;
    // A batch may hold draws that sample this texture as it was.
    flushBatch();
    bindUnlessBound(target, name);
    glTexParameteri(target, pname, value);
    if (slot)
        *slot = value;
}

void deleteTexture(GLuint name)
{
    if (name == 0)
        return;
    flushBatch();
    glDeleteTextures(1, &name);
    if (TextureParameters* t = tracked(name, false))
        t->name = 0;
    for (GLenum target : {GL_TEXTURE_1D, GL_TEXTURE_2D}) {
        // Deleting a bound texture binds 0 in its place.
        Binding& actual = actualBinding(target);
        if (actual.known && actual.name == name)
            actual.name = 0;
        if (wantedBinding(target) == name)
            wantedBinding(target) = 0;
    }
}

void enable(GLenum cap) { record(capBit(cap), cap, true); }
void disable(GLenum cap) { record(capBit(cap), cap, false); }
void enableTexCoordArray() { record(kCapTexCoordArray, 0, true); }
void disableTexCoordArray() { record(kCapTexCoordArray, 0, false); }

DrawKey currentKey()
{
    const unsigned caps = g_cache.wantedCaps;
    return {caps, caps & kCapTexture1D ? g_cache.wanted1D : 0, caps & kCapTexture2D ? g_cache.wanted2D : 0};
}

void apply(const DrawKey& key)
{
    static const GLenum kCaps[] = {GL_BLEND, GL_TEXTURE_1D, GL_TEXTURE_2D, GL_MULTISAMPLE};
    for (GLenum cap : kCaps) {
        const unsigned bit = capBit(cap);
        if ((key.caps & bit) != (g_cache.actualCaps & bit))
            setCap(bit, cap, (key.caps & bit) != 0);
    }
    if ((key.caps & kCapTexCoordArray) != (g_cache.actualCaps & kCapTexCoordArray))
        setTexCoordArray((key.caps & kCapTexCoordArray) != 0);
    if (key.caps & kCapTexture1D)
        bindUnlessBound(GL_TEXTURE_1D, key.texture1D);
    if (key.caps & kCapTexture2D)
        bindUnlessBound(GL_TEXTURE_2D, key.texture2D);
}

void applyRecorded()
{
    apply({g_cache.wantedCaps, g_cache.wanted1D, g_cache.wanted2D});
    // Bindings of targets that are switched off are applied too, so that the
    // GL ends where exact mode leaves it.
    for (GLenum target : {GL_TEXTURE_1D, GL_TEXTURE_2D})
        if (wantedBinding(target) != 0)
            bindUnlessBound(target, wantedBinding(target));
}

}  // namespace gls
