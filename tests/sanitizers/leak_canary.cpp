// Leaks one picture from inside Qt's event loop. The sanitizer run expects a
// leak report naming this file: proof that leak checking works here and that
// no suppression hides an allocation made under Qt's frames.
#include "capture/Picture.h"

#include <QCoreApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTimer::singleShot(0, &app, [] {
        new Picture(QImage(8, 8, QImage::Format_RGB32), {});
        QCoreApplication::quit();
    });
    return app.exec();
}
