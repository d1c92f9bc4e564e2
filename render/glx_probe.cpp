#include "glx_probe.h"

#include <GL/glx.h>
#include <X11/Xlib.h>


#ifndef GLX_SWAP_METHOD_OML
#define GLX_SWAP_METHOD_OML 0x8060
#define GLX_SWAP_EXCHANGE_OML 0x8061
#define GLX_SWAP_COPY_OML 0x8062
#endif

namespace {

std::vector<int> baseAttributes(int sampleBuffers)
{
    return {GLX_X_RENDERABLE, True, GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
            GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, GLX_ALPHA_SIZE, 8,
            GLX_ACCUM_RED_SIZE, 0, GLX_ACCUM_GREEN_SIZE, 0, GLX_ACCUM_BLUE_SIZE, 0,
            GLX_ACCUM_ALPHA_SIZE, 0, GLX_DEPTH_SIZE, 0, GLX_STENCIL_SIZE, 1,
            GLX_DOUBLEBUFFER, True, GLX_SAMPLE_BUFFERS, sampleBuffers};
}

int configAttribute(Display* display, GLXFBConfig config, int name)
{
    int value = -1;
    glXGetFBConfigAttrib(display, config, name, &value);
    return value;
}

// Drivers may list deeper colour first; the display wants exactly 8 bits.
bool hasEightBitChannels(Display* display, GLXFBConfig config)
{
    return configAttribute(display, config, GLX_RED_SIZE) == 8 &&
           configAttribute(display, config, GLX_GREEN_SIZE) == 8 &&
           configAttribute(display, config, GLX_BLUE_SIZE) == 8 &&
           configAttribute(display, config, GLX_ALPHA_SIZE) == 8;
}

std::vector<GLXFBConfig> chooseConfigs(Display* display, std::vector<int> attributes)
{
    attributes.push_back(None);
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes.data(), &count);
    std::vector<GLXFBConfig> kept;
    for (int i = 0; configs && i < count; ++i)
        if (hasEightBitChannels(display, configs[i]))
            kept.push_back(configs[i]);
    if (configs)
        XFree(configs);
    return kept;
}

bool configById(Display* display, int id, GLXFBConfig* config)
{
    const int attributes[] = {GLX_FBCONFIG_ID, id, None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    const bool found = configs && count > 0;
    if (found)
        *config = configs[0];
    if (configs)
        XFree(configs);
    return found;
}

// A hidden window with a throw-away context proves the format usable.
bool canMakeCurrent(Display* display, GLXFBConfig config)
{
    XVisualInfo* visual = glXGetVisualFromFBConfig(display, config);
    if (!visual)
        return false;
    const Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    const Window window = XCreateWindow(display, root, 0, 0, 1, 1, 0, visual->depth, InputOutput,
                                        visual->visual, CWColormap, &attributes);
    GLXContext context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    const bool current = context && glXMakeCurrent(display, window, context);
    glXMakeCurrent(display, None, nullptr);
    if (context)
        glXDestroyContext(display, context);
    XDestroyWindow(display, window);
    XFreeColormap(display, attributes.colormap);
    XFree(visual);
    return current;
}

}  // namespace

GlxProbe::GlxProbe(Display* display) : display_(display), ownsDisplay_(display == nullptr)
{
    if (!display_)
        display_ = XOpenDisplay(nullptr);
}

GlxProbe::~GlxProbe()
{
    if (ownsDisplay_ && display_)
        XCloseDisplay(display_);
}

bool GlxProbe::HasGlxExtension(const char* name) const
{
    return extensionListed(glXQueryExtensionsString(display_, DefaultScreen(display_)), name);
}

bool GlxProbe::ChoosePlainFormat(int* format)
{
    if (!display_) {
        error_ = "cannot open the X display";
        return false;
    }
    int major = 0, minor = 0;
    if (!glXQueryVersion(display_, &major, &minor) || (major == 1 && minor < 3)) {
        error_ = "the X display offers no GLX 1.3";
        return false;
    }
    std::vector<GLXFBConfig> configs = chooseConfigs(display_, baseAttributes(0));
    if (configs.empty()) {
        error_ = "GLX: no double-buffered RGBA8 configuration with a stencil buffer";
        return false;
    }
    if (!canMakeCurrent(display_, configs[0])) {
        error_ = "GLX: cannot make a context current on the plain configuration";
        return false;
    }
    *format = configAttribute(display_, configs[0], GLX_FBCONFIG_ID);
    return true;
}

bool GlxProbe::HasMultisampleExtension()
{
    return display_ && HasGlxExtension("GLX_ARB_multisample");
}

bool GlxProbe::ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats)
{
    if (!display_)
        return false;
    std::vector<int> attributes = baseAttributes(1);
    if (HasGlxExtension("GLX_OML_swap_method")) {
        attributes.push_back(GLX_SWAP_METHOD_OML);
        attributes.push_back(swapExchange ? GLX_SWAP_EXCHANGE_OML : GLX_SWAP_COPY_OML);
    }
    for (GLXFBConfig config : chooseConfigs(display_, attributes))
        formats->push_back(configAttribute(display_, config, GLX_FBCONFIG_ID));
    return true;
}

bool GlxProbe::QuerySamples(int format, int* samples)
{
    GLXFBConfig config;
    if (!display_ || !configById(display_, format, &config))
        return false;
    return glXGetFBConfigAttrib(display_, config, GLX_SAMPLES, samples) == Success;
}
