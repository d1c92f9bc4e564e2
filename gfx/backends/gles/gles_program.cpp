#include "gles_program.h"

#include <string>

namespace {

// Texture units: the pattern on 0, images and glyph pages on 1.
constexpr GLint kPatternUnit = 0;
constexpr GLint kSurfaceUnit = 1;

const char* const kVertexPreludes[] = {
    "#version 100\n#define IN attribute\n#define OUT varying\n",
    "#version 300 es\n#define IN in\n#define OUT out\n",
    "#version 330 core\n#define IN in\n#define OUT out\n",
};

// Coverage textures are GL_ALPHA on ES 2 and R8 elsewhere.
const char* const kFragmentPreludes[] = {
    "#version 100\n"
    "#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\nprecision mediump float;\n#endif\n"
    "#define IN varying\n#define TEXTURE texture2D\n#define COVERAGE a\n#define FRAG_COLOR gl_FragColor\n",
    "#version 300 es\nprecision highp float;\n"
    "#define IN in\n#define TEXTURE texture\n#define COVERAGE r\nout vec4 fragColor;\n#define FRAG_COLOR fragColor\n",
    "#version 330 core\n"
    "#define IN in\n#define TEXTURE texture\n#define COVERAGE r\nout vec4 fragColor;\n#define FRAG_COLOR fragColor\n",
};

// Positions arrive in clip coordinates, computed on the processor.
const char* const kVertexSource = R"(
IN vec2 position;
IN vec2 texCoord;
IN vec4 color;
OUT vec2 v_texCoord;
OUT vec4 v_color;
void main()
{
    v_texCoord = texCoord;
    v_color = color;
    gl_Position = vec4(position, 0.0, 1.0);
}
)";

// The dash pattern is a texture of height 1. Where patternWidth is set the
// shader repeats it itself (non-power-of-two textures cannot repeat on ES 2),
// sampling texel centres and filtering as GL_REPEAT would.
const char* const kFragmentSource = R"(
IN vec2 v_texCoord;
IN vec4 v_color;
uniform int mode;
uniform float patternWidth;
uniform int patternLinear;
uniform sampler2D patternTexture;
uniform sampler2D surfaceTexture;

float patternTexel(float index)
{
    float wrapped = index - patternWidth * floor(index / patternWidth);
    return TEXTURE(patternTexture, vec2((wrapped + 0.5) / patternWidth, 0.5)).COVERAGE;
}

float patternCoverage(float s)
{
    if (patternWidth <= 0.0)
        return TEXTURE(patternTexture, vec2(s, 0.5)).COVERAGE;
    if (patternLinear == 0)
        return patternTexel(floor(s * patternWidth));
    float u = s * patternWidth - 0.5;
    float first = floor(u);
    return mix(patternTexel(first), patternTexel(first + 1.0), u - first);
}

void main()
{
    vec4 color = v_color;
    if (mode == 1)
        color.a *= patternCoverage(v_texCoord.x);
    else if (mode == 2)
        color *= TEXTURE(surfaceTexture, v_texCoord);
    else if (mode == 3)
        color.a *= TEXTURE(surfaceTexture, v_texCoord).COVERAGE;
    FRAG_COLOR = color;
}
)";

std::string g_log;

GLuint compile(const GlesApi& gl, GLenum stage, const char* prelude, const char* body)
{
    const GLuint shader = gl.CreateShader(stage);
    const char* parts[] = {prelude, body};
    gl.ShaderSource(shader, 2, parts, nullptr);
    gl.CompileShader(shader);
    GLint ok = 0;
    gl.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok)
        return shader;
    char log[1024] = {};
    gl.GetShaderInfoLog(shader, sizeof log, nullptr, log);
    g_log = std::string(stage == GL_VERTEX_SHADER ? "vertex shader: " : "fragment shader: ") + log;
    gl.DeleteShader(shader);
    return 0;
}

}  // namespace

const char* buildGlesProgram(const GlesApi& gl, GlslDialect dialect, GlesProgram* program)
{
    const int d = static_cast<int>(dialect);
    const GLuint vertex = compile(gl, GL_VERTEX_SHADER, kVertexPreludes[d], kVertexSource);
    if (!vertex)
        return g_log.c_str();
    const GLuint fragment = compile(gl, GL_FRAGMENT_SHADER, kFragmentPreludes[d], kFragmentSource);
    if (!fragment) {
        gl.DeleteShader(vertex);
        return g_log.c_str();
    }
    const GLuint name = gl.CreateProgram();
    gl.AttachShader(name, vertex);
    gl.AttachShader(name, fragment);
    gl.BindAttribLocation(name, kPositionAttribute, "position");
    gl.BindAttribLocation(name, kTexCoordAttribute, "texCoord");
    gl.BindAttribLocation(name, kColorAttribute, "color");
    gl.LinkProgram(name);
    gl.DeleteShader(vertex);
    gl.DeleteShader(fragment);
    GLint ok = 0;
    gl.GetProgramiv(name, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        gl.GetProgramInfoLog(name, sizeof log, nullptr, log);
        g_log = std::string("linking: ") + log;
        gl.DeleteProgram(name);
        return g_log.c_str();
    }
    program->name = name;
    program->mode = gl.GetUniformLocation(name, "mode");
    program->patternWidth = gl.GetUniformLocation(name, "patternWidth");
    program->patternLinear = gl.GetUniformLocation(name, "patternLinear");
    program->patternSampler = gl.GetUniformLocation(name, "patternTexture");
    program->surfaceSampler = gl.GetUniformLocation(name, "surfaceTexture");
    gl.UseProgram(name);
    gl.Uniform1i(program->patternSampler, kPatternUnit);
    gl.Uniform1i(program->surfaceSampler, kSurfaceUnit);
    return nullptr;
}
