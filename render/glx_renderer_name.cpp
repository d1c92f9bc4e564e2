#include "glx_renderer_name.h"

#include <GL/gl.h>
#include <GL/glx.h>

namespace {

// Everything made for the question, released in reverse order.
struct ThrowawayContext {
    Display* display = nullptr;
    GLXPbuffer pbuffer = 0;
    GLXContext context = nullptr;
    ~ThrowawayContext()
    {
        if (context) {
            glXMakeContextCurrent(display, None, None, nullptr);
            glXDestroyContext(display, context);
        }
        if (pbuffer)
            glXDestroyPbuffer(display, pbuffer);
    }
};

}  // namespace

bool glxRendererName(Display* display, std::string* name, std::string* error)
{
    int major = 0, minor = 0;
    if (!display || !glXQueryVersion(display, &major, &minor)) {
        *error = "the X display has no GLX";
        return false;
    }
    if (major < 1 || (major == 1 && minor < 3)) {
        *error = "GLX " + std::to_string(major) + "." + std::to_string(minor) + " is older than 1.3";
        return false;
    }
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT, None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    if (!configs || count < 1) {
        if (configs)
            XFree(configs);
        *error = "GLX offers no configuration for an off-screen buffer";
        return false;
    }
    const GLXFBConfig config = configs[0];
    XFree(configs);
    ThrowawayContext made;
    made.display = display;
    const int size[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    made.pbuffer = glXCreatePbuffer(display, config, size);
    made.context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    if (!made.pbuffer || !made.context || !glXMakeContextCurrent(display, made.pbuffer, made.pbuffer, made.context)) {
        *error = "GLX cannot make a context current";
        return false;
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer) {
        *error = "the GL names no renderer";
        return false;
    }
    *name = renderer;
    return true;
}
