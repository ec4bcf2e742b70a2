#pragma once

#include <sys/types.h>
#include <vector>

struct _XDisplay;

struct Rect
{
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
};

// The X display as a user meets it: what shows on the desktop, and a mouse and
// keyboard driven through XTest.
class Desktop
{
public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop &) = delete;
    Desktop &operator=(const Desktop &) = delete;
    bool ok() const { return m_display != nullptr; }

    // The largest viewable window of process pid that the window manager
    // manages, in root coordinates; empty while there is none.
    Rect windowOf(pid_t pid);
    // A pixel of the desktop as 0xRRGGBB.
    unsigned pixel(int x, int y);
    // The largest all-white rectangle within r: where a program's canvas is.
    Rect largestWhite(const Rect &r);
    // How many pixels within r are not white: the ink on a white canvas.
    long inked(const Rect &r);

    void moveTo(int x, int y);
    void button(bool down);
    void key(const char *name);
    // Returns once the server has handled every request sent so far.
    void sync();

private:
    // A window's property of 32-bit values, empty when it has none.
    std::vector<unsigned long> cardinals(unsigned long window, const char *property);
    // The screen's pixels within r, row by row, as 0xRRGGBB.
    std::vector<unsigned> grab(const Rect &r);
    _XDisplay *m_display = nullptr;
    unsigned long m_root = 0;
};

constexpr unsigned White = 0xFFFFFF;
