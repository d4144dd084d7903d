// Sends an X window the events a desktop would, which the end-to-end tests
// cannot make with xdotool:
//
//   kivo_x_event close WINDOW_ID
//       asks the window to close the way a window manager's close button
//       does: a WM_DELETE_WINDOW client message (the tests run without one).
//   kivo_x_event enter WINDOW_ID X Y
//       tells the window the pointer crossed into it at X, Y (window
//       pixels): the crossing a busy server may deliver late, after the
//       pointer was held in the window and put in its centre.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s close WINDOW_ID | enter WINDOW_ID X Y\n", program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
    const bool enter = argc == 5 && std::strcmp(argv[1], "enter") == 0;
    if (!close && !enter) return usage(argv[0]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open display\n");
        return 1;
    }
    const Window target = static_cast<Window>(std::strtoul(argv[2], nullptr, 0));
    XEvent event{};
    if (close) {
        event.xclient.type = ClientMessage;
        event.xclient.window = target;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
    } else {
        event.xcrossing.type = EnterNotify;
        event.xcrossing.window = target;
        event.xcrossing.root = DefaultRootWindow(display);
        event.xcrossing.x = std::atoi(argv[3]);
        event.xcrossing.y = std::atoi(argv[4]);
        event.xcrossing.mode = NotifyNormal;
        event.xcrossing.detail = NotifyAncestor;
        event.xcrossing.same_screen = True;
        event.xcrossing.focus = True;
        event.xcrossing.time = CurrentTime;
    }
    // No event mask: the event goes to the client that made the window.
    XSendEvent(display, target, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}
