#include "null_gl.h"

#include <GL/gl.h>

#include <cstring>

namespace {

NullGlCount g_count = {};
GLuint g_nextTexture = 1;

void identity(GLfloat* m)
{
    std::memset(m, 0, 16 * sizeof(GLfloat));
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

}  // namespace

NullGlCount nullGlCount() { return g_count; }

#define COUNT ++g_count.calls

extern "C" {

void glBindTexture(GLenum, GLuint) { COUNT; }
void glBlendFunc(GLenum, GLenum) { COUNT; }
void glClear(GLbitfield) { COUNT; }
void glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) { COUNT; }
void glClearStencil(GLint) { COUNT; }
void glClipPlane(GLenum, const GLdouble*) { COUNT; }
void glColor3ub(GLubyte, GLubyte, GLubyte) { COUNT; }
void glColor4f(GLfloat, GLfloat, GLfloat, GLfloat) { COUNT; }
void glColorPointer(GLint, GLenum, GLsizei, const void*) { COUNT; }
void glDeleteTextures(GLsizei, const GLuint*) { COUNT; }
void glDisable(GLenum) { COUNT; }
void glDisableClientState(GLenum) { COUNT; }
void glEnable(GLenum) { COUNT; }
void glEnableClientState(GLenum) { COUNT; }
void glPixelStorei(GLenum, GLint) { COUNT; }
void glReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) { COUNT; }
void glPopMatrix() { COUNT; }
void glPushMatrix() { COUNT; }
void glLoadIdentity() { COUNT; }
void glLoadMatrixf(const GLfloat*) { COUNT; }
void glMatrixMode(GLenum) { COUNT; }
void glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) { COUNT; }
void glRotatef(GLfloat, GLfloat, GLfloat, GLfloat) { COUNT; }
void glScalef(GLfloat, GLfloat, GLfloat) { COUNT; }
void glShadeModel(GLenum) { COUNT; }
void glStencilFunc(GLenum, GLint, GLuint) { COUNT; }
void glStencilOp(GLenum, GLenum, GLenum) { COUNT; }
void glTexCoordPointer(GLint, GLenum, GLsizei, const void*) { COUNT; }
void glTexEnvi(GLenum, GLenum, GLint) { COUNT; }
void glTexImage1D(GLenum, GLint, GLint, GLsizei, GLint, GLenum, GLenum, const void*) { COUNT; }
void glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) { COUNT; }
void glTexParameteri(GLenum, GLenum, GLint) { COUNT; }
void glTexSubImage2D(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*) { COUNT; }
void glTranslatef(GLfloat, GLfloat, GLfloat) { COUNT; }
void glVertexPointer(GLint, GLenum, GLsizei, const void*) { COUNT; }
void glViewport(GLint, GLint, GLsizei, GLsizei) { COUNT; }
void glFinish() { COUNT; }

void glDrawArrays(GLenum, GLint, GLsizei count)
{
    COUNT;
    ++g_count.draws;
    g_count.vertices += count;
}

void glGenTextures(GLsizei n, GLuint* names)
{
    COUNT;
    for (GLsizei i = 0; i < n; ++i)
        names[i] = g_nextTexture++;
}

GLboolean glIsTexture(GLuint name)
{
    COUNT;
    return name != 0 && name < g_nextTexture;
}

GLboolean glIsEnabled(GLenum)
{
    COUNT;
    return GL_FALSE;
}

GLenum glGetError()
{
    COUNT;
    return GL_NO_ERROR;
}

void glGetFloatv(GLenum, GLfloat* params)
{
    COUNT;
    identity(params);
}

void glGetIntegerv(GLenum pname, GLint* params)
{
    COUNT;
    *params = pname == GL_MAX_TEXTURE_SIZE ? 2048 : 0;
}

}  // extern "C"
