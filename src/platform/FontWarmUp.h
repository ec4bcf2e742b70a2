#pragma once

#include <thread>

// Fontconfig reads its configuration and font cache on first use, which the
// window's first text would wait for. Begun on a thread of its own before
// the toolkit starts, that reading overlaps the connection to the display.
class FontWarmUp
{
public:
    FontWarmUp();
    ~FontWarmUp() { wait(); }
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Before the first text is laid out.
    void wait();

private:
    std::thread m_thread;
};
