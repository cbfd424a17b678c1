// A small X client for the real-window test: waits for a window with a given title and
// asks it to close the way a window manager's close box does (WM_DELETE_WINDOW); under
// Xvfb there is no window manager to do it.
//   xwindow_tool wait TITLE SECONDS   exit 0 once a mapped window has that title
//   xwindow_tool close TITLE          send WM_DELETE_WINDOW; exit 1 when there is none
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

bool HasTitle(Display* dpy, Window w, const std::string& title) {
    bool match = false;
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        match = title == reinterpret_cast<char*>(data);
        XFree(data);
        if (match) return true;
    }
    char* name = nullptr;
    if (XFetchName(dpy, w, &name) && name) {
        match = title == name;
        XFree(name);
    }
    return match;
}

// Depth-first over the tree; the first viewable window with the title.
Window Find(Display* dpy, Window root, const std::string& title) {
    Window rootRet, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dpy, root, &rootRet, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < n && !found; ++i) {
        XWindowAttributes attrs;
        if (XGetWindowAttributes(dpy, children[i], &attrs) && attrs.map_state == IsViewable &&
            HasTitle(dpy, children[i], title))
            found = children[i];
        else
            found = Find(dpy, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; } // windows come and go while we look

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s wait|close TITLE [SECONDS]\n", argv[0]);
        return 2;
    }
    const std::string command = argv[1], title = argv[2];
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "cannot open display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(dpy);

    if (command == "wait") {
        const double seconds = argc > 3 ? std::atof(argv[3]) : 10;
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (Find(dpy, root, title)) return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return 1;
    }
    const Window w = Find(dpy, root, title);
    if (!w) return 1;
    if (command == "close") {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, w, False, NoEventMask, &ev);
        XSync(dpy, False);
        return 0;
    }
    return 2;
}
