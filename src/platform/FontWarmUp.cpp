#include "FontWarmUp.h"

#include <fontconfig/fontconfig.h>

FontWarmUp::FontWarmUp() : m_thread([] { FcInit(); })
{
}

void FontWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
