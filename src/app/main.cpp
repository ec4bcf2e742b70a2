#include "Application.h"
#include "Form1.h"
#include "platform/FontWarmUp.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const char *platformName = std::getenv("QT_QPA_PLATFORM");
    const bool needsDisplay = !platformName || QByteArray(platformName).startsWith("xcb");
    if (needsDisplay && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "pittorello: nessun display grafico (DISPLAY non impostato); "
                             "per provarlo senza schermo: xvfb-run -a pittorello\n");
        return 1;
    }
    FontWarmUp fonts;
    QApplication app(argc, argv);
    Application::setUp(app);
    QtPlatform services;
    fonts.wait();
    Form1 window(services.platform());
    window.show();
    return app.exec();
}
