// What the renderer draws into: a window or an off-screen buffer with its
// own GL context, created with one exact pixel format.
#pragma once

class RenderSurface {
public:
    virtual ~RenderSurface() = default;
    // Binds the drawable; false when it has none (no device context).
    virtual bool Bind() = 0;
    // Sets the pixel format (a configuration id of the probed table) and
    // creates a GL context for it.
    virtual bool CreateContext(int format) = 0;
    virtual bool MakeCurrent() = 0;
    // Makes no context current and deletes the context, if any.
    virtual void DeleteContext() = 0;
    // Whether the underlying window still exists.
    virtual bool Exists() const = 0;
    // Gives the drawable back; called only while it exists.
    virtual void Release() = 0;
    virtual void SwapBuffers() = 0;
    // Shows the user a failure the renderer has already written to stderr:
    // a message box of text with detail (the file and the cause, possibly
    // empty) as its detail; nothing more headless.
    virtual void ReportError(const char* text, const char* detail, const char* caption) = 0;
};
