#include "Desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <vector>

namespace {

// Windows come and go while the benchmark looks at them: a request about one
// already gone fails, and the reply's emptiness says so.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

Desktop::Desktop()
{
    XSetErrorHandler(ignoreError);
    m_display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (m_display && !XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
    if (!m_display)
        return;
    m_root = DefaultRootWindow(m_display);
}

Desktop::~Desktop()
{
    if (m_display)
        XCloseDisplay(m_display);
}

std::vector<unsigned long> Desktop::cardinals(unsigned long window, const char *property)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char *data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(m_display, window, XInternAtom(m_display, property, False), 0, 1024, False,
                           AnyPropertyType, &type, &format, &items, &left, &data) == Success
        && data && format == 32) {
        const auto *longs = reinterpret_cast<const unsigned long *>(data);
        values.assign(longs, longs + items);
    }
    if (data)
        XFree(data);
    return values;
}

// The window manager lists the windows it manages: one request, where walking
// the window tree takes dozens, each slowing the start being timed.
Rect Desktop::windowOf(pid_t pid)
{
    Rect best;
    for (const unsigned long window : cardinals(m_root, "_NET_CLIENT_LIST")) {
        XWindowAttributes attributes;
        if (cardinals(window, "_NET_WM_PID") != std::vector<unsigned long>{static_cast<unsigned long>(pid)}
            || !XGetWindowAttributes(m_display, window, &attributes) || attributes.map_state != IsViewable
            || attributes.width * attributes.height <= best.w * best.h)
            continue;
        Window child = 0;
        int x = 0, y = 0;
        XTranslateCoordinates(m_display, window, m_root, 0, 0, &x, &y, &child);
        best = {x, y, attributes.width, attributes.height};
    }
    return best;
}

std::vector<unsigned> Desktop::grab(const Rect &r)
{
    std::vector<unsigned> pixels;
    XImage *image = XGetImage(m_display, m_root, r.x, r.y, unsigned(r.w), unsigned(r.h), AllPlanes, ZPixmap);
    if (!image)
        return pixels;
    pixels.reserve(size_t(r.w) * size_t(r.h));
    for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x)
            pixels.push_back(unsigned(XGetPixel(image, x, y)) & White);
    XDestroyImage(image);
    return pixels;
}

unsigned Desktop::pixel(int x, int y)
{
    const std::vector<unsigned> pixels = grab({x, y, 1, 1});
    return pixels.empty() ? 0 : pixels.front();
}

Rect Desktop::largestWhite(const Rect &r)
{
    const std::vector<unsigned> pixels = grab(r);
    if (pixels.empty())
        return {};
    // Row by row, the white run above each column; the largest rectangle under
    // that skyline, by the stack of rising heights.
    std::vector<int> height(size_t(r.w) + 1, 0);
    Rect best;
    for (int y = 0; y < r.h; ++y) {
        for (int x = 0; x < r.w; ++x)
            height[size_t(x)] = pixels[size_t(y) * size_t(r.w) + size_t(x)] == White ? height[size_t(x)] + 1 : 0;
        std::vector<int> rising;
        for (int x = 0; x <= r.w; ++x) {
            while (!rising.empty() && height[size_t(rising.back())] >= height[size_t(x)]) {
                const int h = height[size_t(rising.back())];
                rising.pop_back();
                const int left = rising.empty() ? 0 : rising.back() + 1;
                if (h * (x - left) > best.w * best.h)
                    best = {r.x + left, r.y + y - h + 1, x - left, h};
            }
            rising.push_back(x);
        }
    }
    return best;
}

long Desktop::inked(const Rect &r)
{
    const std::vector<unsigned> pixels = grab(r);
    return long(pixels.size()) - std::count(pixels.begin(), pixels.end(), White);
}

void Desktop::moveTo(int x, int y)
{
    XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
    XFlush(m_display);
}

void Desktop::button(bool down)
{
    XTestFakeButtonEvent(m_display, 1, down, CurrentTime);
    XFlush(m_display);
}

void Desktop::key(const char *name)
{
    const KeyCode code = XKeysymToKeycode(m_display, XStringToKeysym(name));
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    XFlush(m_display);
}

void Desktop::sync()
{
    XSync(m_display, False);
}
