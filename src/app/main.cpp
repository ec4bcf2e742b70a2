#include "Application.h"
#include "Form1.h"
#include "platform/FontWarmUp.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The platform asked for, with -platform or QT_QPA_PLATFORM, as Qt reads them.
static QByteArray requestedPlatform(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i)
        if (!std::strcmp(argv[i], "-platform") || !std::strcmp(argv[i], "--platform"))
            return argv[i + 1];
    return qgetenv("QT_QPA_PLATFORM");
}

int main(int argc, char *argv[])
{
    const QByteArray platform = requestedPlatform(argc, argv);
    const bool needsDisplay = platform.isEmpty() || platform.startsWith("xcb");
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
