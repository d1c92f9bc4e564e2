// What the library last told the GL: the texture bindings, the texture
// parameters of its own textures and the capabilities its draws depend on.
// Calls that would change nothing are skipped; what the library cannot know
// (the GL may have been changed behind its back) is forgotten, and the next
// call is made whatever it sets.
//
// In batched mode the capabilities a draw depends on (texturing, blending,
// the texture-coordinate array, multisampling) and the texture bindings are
// only recorded here; the batch applies them when it draws.
#pragma once

#include "gl.h"
#include "gr.h"

namespace gls {

// Forgets everything known: a new context, or a new frame whose baseline
// grBeginFrame sets up afresh.
void forgetAll();

// The GL now has these capabilities as grBeginFrame leaves them.
void noteFrameBaseline();

// Binds name to target (GL_TEXTURE_1D or GL_TEXTURE_2D) unless it is known
// to be bound; batched mode records it for the next draw.
void bindTexture(GLenum target, GLuint name);
// Binds now, known or not, and draws what a batch has collected first.
void bindTextureNow(GLenum target, GLuint name);
// The GL was seen (queried) or made (by an upload) to hold this binding.
void noteBound(GLenum target, GLuint name);
// The binding of target is no longer known.
void forgetBinding(GLenum target);

// glTexParameteri for the texture bound to target, unless that texture is
// known to hold value already.
void texParameter(GLenum target, GLenum pname, GLint value);

// Deletes a texture of the library's and forgets what was known of it (its
// name may come back for a new texture).
void deleteTexture(GLuint name);

// The capabilities a draw depends on: GL_BLEND, GL_TEXTURE_1D,
// GL_TEXTURE_2D, GL_MULTISAMPLE. Exact mode issues the call every time;
// batched mode records it.
void enable(GLenum cap);
void disable(GLenum cap);
void enableTexCoordArray();
void disableTexCoordArray();

// The state a draw needs, as recorded now.
struct DrawKey {
    unsigned caps;     // kCap* bits
    GLuint texture1D;  // 0 while 1-D texturing is off
    GLuint texture2D;  // 0 while 2-D texturing is off
    bool operator==(const DrawKey& o) const
    {
        return caps == o.caps && texture1D == o.texture1D && texture2D == o.texture2D;
    }
};

enum : unsigned {
    kCapBlend = 1,
    kCapTexture1D = 2,
    kCapTexture2D = 4,
    kCapMultisample = 8,
    kCapTexCoordArray = 16,
};

DrawKey currentKey();
// Makes the GL hold key's capabilities and bindings, issuing only what
// differs from what it holds.
void apply(const DrawKey& key);
// Makes the GL hold everything recorded (end of frame, leaving batched mode).
void applyRecorded();

}  // namespace gls
