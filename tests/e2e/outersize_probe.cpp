// Shows a window with a menu bar and sets its outer size at once, before the
// window manager has framed it; once the frame has come and the window has
// settled, prints the outer size in pixels and as it reads back in twips.
#include "platform/OuterSize.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.setCentralWidget(new QWidget);
    window.setGeometry(5, 61, 792, 528);
    window.show();
    OuterSize::setHeight(window, 8255);
    OuterSize::setWidth(window, 8600);

    QTimer poll;
    int settled = 0;
    QRect last;
    poll.callOnTimeout([&] {
        const QRect frame = window.frameGeometry();
        const bool framed = frame != window.geometry();
        settled = framed && frame == last ? settled + 1 : 0;
        last = frame;
        if (settled < 10)
            return;
        std::printf("%d %d %g %g\n", frame.width(), frame.height(), double(OuterSize::width(window)),
                    double(OuterSize::height(window)));
        app.quit();
    });
    poll.start(30);
    QTimer::singleShot(10000, &app, [&] { app.exit(1); });
    return app.exec();
}
