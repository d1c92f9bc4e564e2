/* Asks an X window to close as a window manager does when its close button
   is pressed: a WM_DELETE_WINDOW client message (the test servers run no
   window manager, so there is no button to press).
   close_window_x11 WINDOW_ID */
#include <X11/Xlib.h>

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: close_window_x11 WINDOW_ID\n");
        return 2;
    }
    char* end = NULL;
    const Window window = (Window)strtoul(argv[1], &end, 0);
    if (*end != '\0' || window == 0) {
        fprintf(stderr, "close_window_x11: not a window id: %s\n", argv[1]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "close_window_x11: cannot open the X display\n");
        return 1;
    }
    XEvent event = {0};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    if (!sent) {
        fprintf(stderr, "close_window_x11: the message could not be sent to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
