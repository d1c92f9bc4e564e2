// A test-only OpenGL: records every call the drawing library makes, with
// the state that matters at each glDrawArrays, so tests can assert exact
// geometry. Linked in place of the system GL.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gr.h"

namespace rec {

struct Vec2 {
    float x, y;
};

struct Call {
    std::string name;
    std::vector<double> args;
};

struct Draw {
    GLenum mode;
    GrColor color;
    std::vector<Vec2> vertices;
    std::vector<Vec2> texCoords;  // empty unless the texture-coordinate array is on
    std::vector<GrColor> colors;  // one a vertex while the colour array is on, else empty
    std::vector<float> zw;        // z, w of each vertex given with 4 components
    std::set<GLenum> enabled;     // capabilities enabled at the draw
    bool vertexArray;
    bool texCoordArray;
    GLuint texture1D;
    GLuint texture2D;
    float modelview[16];
    float projection[16];

    bool isEnabled(GLenum cap) const { return enabled.count(cap) != 0; }
};

struct Texture {
    GLenum target = 0;
    GLint internalFormat = 0;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> texels;
    std::map<GLenum, GLint> parameters;
};

// Forgets all calls and draws and puts the fake GL back to its initial state.
void reset();
// Forgets the calls and draws made so far, keeping the GL state.
void clearCalls();

const std::vector<Call>& calls();
// Names of the calls, without glGetError, in order.
std::vector<std::string> callNames();
// The calls named name, in order.
std::vector<Call> callsNamed(const std::string& name);
const std::vector<Draw>& draws();

bool isEnabled(GLenum cap);
bool clientStateEnabled(GLenum array);
const float* modelview();
const Texture* texture(GLuint name);
int liveTextureCount();

// While off, GL calls change the fake GL's state but are not recorded, so
// the recorder itself allocates nothing (for counting the library's own
// allocations).
void setRecording(bool on);

// Makes the next glTexImage1D/2D fail with error (as a GL that refuses it).
void failNextTexImage(GLenum error = GL_INVALID_VALUE);
// The side glGetIntegerv reports for GL_MAX_TEXTURE_SIZE (2048 after reset).
void setMaxTextureSize(int side);
// Queues an error for glGetError to report, as an earlier failing call would.
void raiseError(GLenum error);

// Compares a draw with an expected mode, colour and vertex list (tolerance
// tol per coordinate), for one-line assertions:
//   EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, {255, 0, 0}, {{0, 0}, ...}));
::testing::AssertionResult isDraw(const Draw& draw, GLenum mode, GrColor color,
                                  std::initializer_list<Vec2> vertices, float tol = 1e-4f);
::testing::AssertionResult isDraw(const Draw& draw, GLenum mode, GrColor color,
                                  const std::vector<Vec2>& vertices, float tol = 1e-4f);
::testing::AssertionResult hasTexCoords(const Draw& draw, std::initializer_list<Vec2> texCoords,
                                        float tol = 1e-4f);
// The baseline every primitive must leave: vertex array on, texture
// coordinates, blending and texturing off.
::testing::AssertionResult atFrameBaseline();

std::ostream& operator<<(std::ostream& out, const Vec2& v);

}  // namespace rec
