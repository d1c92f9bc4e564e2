// The programmable GL's entry points, loaded by name at start so that one
// library serves OpenGL ES 2, ES 3 and desktop core contexts without linking
// any of their libraries.
#pragma once

#define GL_GLES_PROTOTYPES 0
#include <GLES3/gl3.h>

#include "backends/backend.h"

// Desktop-only names the backend uses on core contexts.
constexpr GLenum kGlMultisample = 0x809D;

#define GLES_REQUIRED_FUNCTIONS(X)                                                                               \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                                                     \
    X(PFNGLATTACHSHADERPROC, AttachShader)                                                                       \
    X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                                                           \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                                                                           \
    X(PFNGLBINDTEXTUREPROC, BindTexture)                                                                         \
    X(PFNGLBLENDFUNCPROC, BlendFunc)                                                                             \
    X(PFNGLBUFFERDATAPROC, BufferData)                                                                           \
    X(PFNGLCLEARPROC, Clear)                                                                                     \
    X(PFNGLCLEARCOLORPROC, ClearColor)                                                                           \
    X(PFNGLCLEARSTENCILPROC, ClearStencil)                                                                       \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                                                                     \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                                                     \
    X(PFNGLCREATESHADERPROC, CreateShader)                                                                       \
    X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                                                                     \
    X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                                                                     \
    X(PFNGLDELETESHADERPROC, DeleteShader)                                                                       \
    X(PFNGLDELETETEXTURESPROC, DeleteTextures)                                                                   \
    X(PFNGLDISABLEPROC, Disable)                                                                                 \
    X(PFNGLDRAWARRAYSPROC, DrawArrays)                                                                           \
    X(PFNGLENABLEPROC, Enable)                                                                                   \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)                                                 \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                                                                           \
    X(PFNGLGENTEXTURESPROC, GenTextures)                                                                         \
    X(PFNGLGETERRORPROC, GetError)                                                                               \
    X(PFNGLGETINTEGERVPROC, GetIntegerv)                                                                         \
    X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                                                       \
    X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                                                             \
    X(PFNGLGETSHADERIVPROC, GetShaderiv)                                                                         \
    X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                                                               \
    X(PFNGLGETSTRINGPROC, GetString)                                                                             \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                                                           \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                                                                         \
    X(PFNGLPIXELSTOREIPROC, PixelStorei)                                                                         \
    X(PFNGLREADPIXELSPROC, ReadPixels)                                                                           \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                                                                       \
    X(PFNGLSTENCILFUNCPROC, StencilFunc)                                                                         \
    X(PFNGLSTENCILOPPROC, StencilOp)                                                                             \
    X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                                                           \
    X(PFNGLTEXPARAMETERIPROC, TexParameteri)                                                                     \
    X(PFNGLTEXSUBIMAGE2DPROC, TexSubImage2D)                                                                     \
    X(PFNGLUNIFORM1FPROC, Uniform1f)                                                                             \
    X(PFNGLUNIFORM1IPROC, Uniform1i)                                                                             \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                                                                           \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                                                         \
    X(PFNGLVIEWPORTPROC, Viewport)

// Present on ES 3 and core contexts only.
#define GLES_VERTEX_ARRAY_FUNCTIONS(X)                                                                           \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                                                                 \
    X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                                                           \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)

struct GlesApi {
#define GLES_MEMBER(type, name) type name = nullptr;
    GLES_REQUIRED_FUNCTIONS(GLES_MEMBER)
    GLES_VERTEX_ARRAY_FUNCTIONS(GLES_MEMBER)
#undef GLES_MEMBER
};

// Loads every entry point through loader; null, or the name of the first
// required one it does not find.
const char* loadGlesApi(ProcLoader loader, GlesApi* api);

// The backend name that serves the context current now ("es2", "es3",
// "core" or "gl1"), read through loader; "gl1" without a loader.
const char* backendForContext(ProcLoader loader);
