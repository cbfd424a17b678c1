// A small X client for the real-window tests: waits for a window with a given title, asks
// it to close the way a window manager's close box does (WM_DELETE_WINDOW; under Xvfb there
// is no window manager to do it), types keys and clicks into it as a user would (XTest),
// and saves what it shows as a PNG.
//   xwindow_tool wait TITLE SECONDS   exit 0 once a mapped window has that title
//   xwindow_tool close TITLE          send WM_DELETE_WINDOW; exit 1 when there is none
//   xwindow_tool key TITLE KEY...     give it the keyboard focus and press each key (X key
//                                     names: 5, Return, Tab, Down, F1...)
//   xwindow_tool click TITLE X Y      left click at X, Y inside the window
//   xwindow_tool shot TITLE FILE      the window, with its frame when a window manager
//                                     drew one, as a PNG
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
} // windows come and go while we look

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void Focus(Display* dpy, Window w) {
    XRaiseWindow(dpy, w);
    XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
    XSync(dpy, False);
    Pause(200);
}

bool PressKeys(Display* dpy, char** names, int count) {
    for (int i = 0; i < count; ++i) {
        const KeySym sym = XStringToKeysym(names[i]);
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(dpy, sym);
        if (!code) {
            std::fprintf(stderr, "unknown key %s\n", names[i]);
            return false;
        }
        XTestFakeKeyEvent(dpy, code, True, CurrentTime);
        XTestFakeKeyEvent(dpy, code, False, CurrentTime);
        XSync(dpy, False);
        Pause(100);
    }
    return true;
}

void Click(Display* dpy, Window w, int x, int y) {
    Window child;
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(dpy, -1, rootX, rootY, CurrentTime);
    XSync(dpy, False);
    Pause(100);
    XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
    XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    XSync(dpy, False);
    Pause(100);
}

// The window's top-level ancestor below the root: the frame a window manager put around
// it, or the window itself.
Window TopLevel(Display* dpy, Window w) {
    for (;;) {
        Window root, parent, *children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(dpy, w, &root, &parent, &children, &n)) return w;
        if (children) XFree(children);
        if (parent == root || parent == 0) return w;
        w = parent;
    }
}

void PutBigEndian(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
    PutBigEndian(png, static_cast<uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    png += body;
    PutBigEndian(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                  static_cast<uInt>(body.size()))));
}

// The screen area of the window (and its frame) as an 8-bit RGB PNG.
bool Shot(Display* dpy, Window w, const char* file) {
    const Window top = TopLevel(dpy, w);
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(dpy, top, &attrs)) return false;
    XImage* image =
        XGetImage(dpy, DefaultRootWindow(dpy), attrs.x, attrs.y, static_cast<unsigned>(attrs.width),
                  static_cast<unsigned>(attrs.height), AllPlanes, ZPixmap);
    if (!image) return false;
    std::string raw;
    raw.reserve(static_cast<size_t>(attrs.height) * (1 + 3 * static_cast<size_t>(attrs.width)));
    for (int y = 0; y < attrs.height; ++y) {
        raw += '\0'; // no filter
        for (int x = 0; x < attrs.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            raw += static_cast<char>((pixel & image->red_mask) >> __builtin_ctzl(image->red_mask));
            raw +=
                static_cast<char>((pixel & image->green_mask) >> __builtin_ctzl(image->green_mask));
            raw +=
                static_cast<char>((pixel & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
        }
    }
    XDestroyImage(image);
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  9) != Z_OK)
        return false;
    packed.resize(size);
    std::string header;
    PutBigEndian(header, static_cast<uint32_t>(attrs.width));
    PutBigEndian(header, static_cast<uint32_t>(attrs.height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB
    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", "");
    std::ofstream out(file, std::ios::binary);
    out << png;
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s wait|close|key|click|shot TITLE [ARGS]\n", argv[0]);
        return 2;
    }
    const std::string command = argv[1], title = argv[2];
    // Closed on every return: the sanitizer build of the tool checks for leaks at exit.
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    Display* dpy = display.get();
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
    if (command == "key") {
        Focus(dpy, w);
        return PressKeys(dpy, argv + 3, argc - 3) ? 0 : 2;
    }
    if (command == "click" && argc > 4) {
        Click(dpy, w, std::atoi(argv[3]), std::atoi(argv[4]));
        return 0;
    }
    if (command == "shot" && argc > 3) return Shot(dpy, w, argv[3]) ? 0 : 1;
    return 2;
}
